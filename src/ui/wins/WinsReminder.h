#pragma once

#include <string>

#include "check/Wins.h"
#include "check/WinsOfFile.h"

// When a win of the data file must be claimed within the reminder window, the desktop is asked
// to show a notification that names how many and the first deadline; nothing else happens, no
// window opens and nothing waits. Looks only at the draws whose wins can still be claimed.
// Returns what was due.
check::WinsList::Due RemindOfWins(const std::string& dataFile, store::Day today = store::Today(),
                                  const check::WinsSources& sources = {});
