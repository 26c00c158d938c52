#pragma once

class QWidget;

namespace platform {

// Asks the window manager to give `window` a title bar and nothing more: no close, minimise or
// maximise button and no resizing. Such a window is left only through its own buttons, so it must
// stay reachable: a minimise that comes anyway (from a key or a panel) is undone at once.
void UseTitleBarOnly(QWidget* window);

}  // namespace platform
