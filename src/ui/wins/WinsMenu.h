#pragma once

#include <functional>
#include <string>

class QAction;
class QMainWindow;
class QMenu;

// The Wins command at the end of `menu`: Wins... (Ctrl+Shift+W) opens the Wins window over
// `window`, window-modal as the Draw History window is, on the data file `dataFile` names at that
// moment.
QAction* AddWinsCommand(QMenu* menu, QMainWindow* window, std::function<std::string()> dataFile);

// The reminder of wins soon to claim, a moment after the window has first shown itself, so that
// the start-up is not held up by reading the draw history.
void RemindOfWinsSoon(QMainWindow* window, std::function<std::string()> dataFile);
