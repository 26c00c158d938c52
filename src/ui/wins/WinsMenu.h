#pragma once

#include <functional>
#include <string>

class QMainWindow;
class QMenu;

// The Wins command in a menu of its own after the main window's menus: Wins... (Ctrl+Shift+W)
// opens the Wins window on the data file `dataFile` names at that moment. Returns the menu.
QMenu* AddWinsMenu(QMainWindow* window, std::function<std::string()> dataFile);

// The reminder of wins soon to claim, a moment after the window has first shown itself, so that
// the start-up is not held up by reading the draw history.
void RemindOfWinsSoon(QMainWindow* window, std::function<std::string()> dataFile);
