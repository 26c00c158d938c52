#pragma once

#include <vector>

#include "store/Problem.h"

class QWidget;

// What a change of the data file did not stop on, told after the command that made it: posted,
// so it comes after everything the command itself shows. A rewrite cut short and mended is told
// each time; an earlier version that could not be kept only the first time in the run, since the
// same cause (a full disk, a read-only folder) would otherwise be told after every command. The
// main window keeps the one of the run in its Session.
class ChangeNotes {
 public:
  void TellAfterCommand(QWidget* parent, const std::vector<store::Problem>& notes);

 private:
  bool versionWarningTold_ = false;
};
