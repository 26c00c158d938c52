#include "platform/WindowFrame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <cstdint>

#ifdef PELMORA_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace platform {
namespace {

#ifdef PELMORA_HAVE_XCB
// The toolkit states only which window functions it allows and leaves the decorations to the
// window manager, and some managers then draw every button anyway. Naming the decorations as well
// is understood by all of them.
void AskForTitleOnly(QWidget* window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection())
    return;
  xcb_connection_t* connection = x11->connection();
  static constexpr char kName[] = "_MOTIF_WM_HINTS";
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
  if (!atom)
    return;
  enum : std::uint32_t { kFunctions = 1, kDecorations = 2, kMove = 4, kBorder = 2, kTitle = 8 };
  const std::uint32_t hints[5] = {kFunctions | kDecorations, kMove, kBorder | kTitle, 0, 0};
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                      atom->atom, atom->atom, 32, 5, hints);
  xcb_flush(connection);
  free(atom);
}
#else
void AskForTitleOnly(QWidget*) {}
#endif

class TitleBarOnly : public QObject {
 public:
  explicit TitleBarOnly(QWidget* window) : QObject(window), window_(window) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != window_)
      return false;
    if (event->type() == QEvent::Show) {
      // Before the window is mapped, so the manager decorates it right the first time.
      AskForTitleOnly(window_);
    } else if (event->type() == QEvent::WindowStateChange && window_->isMinimized()) {
      QTimer::singleShot(0, window_, [w = window_] {
        w->showNormal();
        w->raise();
        w->activateWindow();
      });
    }
    return false;
  }

 private:
  QWidget* window_;
};

}  // namespace

void UseTitleBarOnly(QWidget* window) {
  new TitleBarOnly(window);
}

}  // namespace platform
