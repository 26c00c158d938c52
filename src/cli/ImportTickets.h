#pragma once

#include <string>
#include <vector>

#include "store/Problem.h"

namespace cli {

// A data file looked at before the tickets to add are read, so that a mistake (a count that
// cannot be read) is reported at once. Nothing written relies on this look: adding
// reads the file again under its lock.
struct DataFileForAdding {
  int count = 0;  // the ticket count (TOTAL): as first read, then as raised by AddTickets
};

// Refuses an unreadable file and one whose ticket count cannot be read or is below 0: adding to
// a file whose count is unknown would write keys that no reader lists. A missing file is no
// problem: it is started when the tickets are added.
store::Result<DataFileForAdding> OpenForAdding(const std::string& path);

// Under the data file's lock, reads it, judges it as OpenForAdding does, and appends the tickets
// under keys count+1 .. count+n of the count found there, raising the count, with one atomic
// replacement of the file. The bytes are those that adding the tickets one at a time
// (store::AppendTicket) would leave. A file missing there is first started as File > New starts
// one, no tickets and an empty winning number, in the same change. A problem says why nothing was
// written (too many tickets, a failed write).
store::Result<void> AddTickets(DataFileForAdding& file, const std::string& path,
                               const std::vector<std::string>& tickets);

}  // namespace cli
