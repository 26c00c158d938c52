#pragma once

#include <string>
#include <vector>

#include "store/ProfileDocument.h"

namespace cli {

// A data file looked at before the tickets to add are read, so that a mistake (a missing file, a
// count that cannot be read) is reported at once. Nothing written relies on this look: adding
// reads the file again under its lock.
struct DataFileForAdding {
  bool ok = false;
  std::string problem;  // why tickets cannot be added, when not ok
  int count = 0;        // the ticket count (TOTAL): as first read, then as raised by AddTickets
};

// Refuses a missing or unreadable file and one whose ticket count cannot be read or is below 0:
// adding to a file whose count is unknown would write keys that no reader lists.
DataFileForAdding OpenForAdding(const std::string& path);

// Under the data file's lock, reads it, judges it as OpenForAdding does, and appends the tickets
// under keys count+1 .. count+n of the count found there, raising the count, with one atomic
// replacement of the file. The bytes are those that adding the
// tickets one at a time (store::AddTicket) would leave. Returns the empty text, or why nothing
// was written (too many tickets, a failed write).
std::string AddTickets(DataFileForAdding& file, const std::string& path,
                       const std::vector<std::string>& tickets);

}  // namespace cli
