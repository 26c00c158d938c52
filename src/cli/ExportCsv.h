#pragma once

#include <string>
#include "store/TicketTexts.h"

namespace cli {

// The tickets as CSV: the heading "n1,n2,n3,n4,n5,n6", then one row per ticket with its six
// fields as stored ("05"), LF line ends. Tickets of six numbers from 1 to 59 read back unchanged
// through the import. A field that is not two digits (a ticket edited outside the program) is
// written in quotes; `odd` counts the tickets that are not six numbers of two digits.
std::string ExportCsv(const store::TicketTexts& tickets, std::size_t* odd = nullptr);

}  // namespace cli
