#pragma once

#include <string>

class QWidget;

// Stores a complete winning number ("05-12-23-34-45-56") as the data file's winning number: the
// one way Set Winning Number's Done and the Draw History window both take. A problem is told over
// `parent`, and a version that could not be kept over `mainWindow` after the command. False when
// the number did not reach the disk.
bool StoreWinningNumber(QWidget* parent, QWidget* mainWindow, const std::string& dataFile,
                        const std::string& ticket);
