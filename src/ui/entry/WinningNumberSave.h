#pragma once

#include <string>

class ChangeNotes;
class QWidget;

// Stores a complete winning number ("05-12-23-34-45-56") as the data file's winning number: the
// one way Set Winning Number's Done and the Draw History window both take. A problem is told over
// `parent`, and what the change did not stop on over its main window after the command. False when
// the number did not reach the disk.
bool StoreWinningNumber(QWidget* parent, ChangeNotes& notes, const std::string& dataFile,
                        const std::string& ticket);
