#pragma once

#include <string>

#include "check/WinningNumber.h"
#include "store/AtomicFile.h"
#include "store/TicketTexts.h"

namespace cli {

// What the window works with after opening a data file: the tickets as the play list holds them
// and the six winning texts as the winning-number boxes hold them.
struct LoadedDataFile {
  store::TicketTexts tickets;
  check::WinningTexts winning;
};

// Reads the tickets with store::ReadAllTickets and the winning number "Numbers"/"W" cut into its
// six fields, as the window does on opening the file. A missing or unreadable file and a count
// that cannot be read or is below 0 are problems; a count of 0 is not.
store::Result<LoadedDataFile> LoadDataFile(const std::string& path);

// Reads the whole of an existing data file. The store reads a missing file as an empty one; here
// it is the user's mistake to report, as is a file that cannot be read.
store::Result<store::FileContents> ReadExistingFile(const std::string& path);

// The count read as `text` when it is usable, else the problem with `path` and the reason.
store::Result<int> UsableCount(const std::string& path, const std::string& text);

}  // namespace cli
