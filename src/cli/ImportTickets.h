#pragma once

#include <string>
#include <vector>

#include "store/ProfileDocument.h"

namespace cli {

// A data file read and parsed for adding tickets, so that its problems are known before anything
// is decided, and the file is read once and written once.
struct DataFileForAdding {
  bool ok = false;
  std::string problem;  // why tickets cannot be added, when not ok
  store::ProfileDocument document;
  int count = 0;  // the ticket count (TOTAL) as read
};

// Refuses a missing or unreadable file and one whose ticket count cannot be read or is below 0:
// adding to a file whose count is unknown would write keys that no reader lists.
DataFileForAdding OpenForAdding(const std::string& path);

// Appends the tickets under keys count+1 .. count+n and raises the count, as one change of the
// document written with one atomic replacement of the file. The bytes are those that adding the
// tickets one at a time (store::AddTicket) would leave. Returns the empty text, or why nothing
// was written (too many tickets, a failed write).
std::string AddTickets(DataFileForAdding& file, const std::string& path,
                       const std::vector<std::string>& tickets);

}  // namespace cli
