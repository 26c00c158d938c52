#pragma once

#include <string>

#include "app/ChangeNotes.h"
#include "store/PlayNumber.h"

// What the entry dialog is opened for.
enum class EntryMode {
  None,
  Winning,  // picking the winning number
  Plays,    // entering tickets, one after another
};

// What the windows share while the program runs: the current data file, the winning number as
// the main window shows it, what the entry dialog is open for, and what the changes of the run
// left to tell. The main window owns it and hands it to the dialogs it opens.
struct Session {
  std::string dataFile;  // full path of the current data file
  store::PlayFields winning;
  EntryMode entryMode = EntryMode::None;
  ChangeNotes notes;
};
