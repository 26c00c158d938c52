#pragma once

#include <string>
#include <vector>
#include "store/TicketTexts.h"

namespace cli {

// The tickets as CSV: the heading "n1,n2,n3,n4,n5,n6", then one row per ticket with its six
// fields as stored ("05"), LF line ends. Tickets of six numbers from 1 to 59 read back unchanged
// through the import.
std::string ExportCsv(const store::TicketTexts& tickets);

}  // namespace cli
