#pragma once

#include <cstddef>
#include <string>
#include <vector>
#include "store/TicketTexts.h"

namespace cli {

// Tickets holding the same six fields in any order, by position in the list (from 0): groups of
// two or more, each in list order, the groups in the order of their first ticket. Fields compare
// as texts, as the check compares them.
std::vector<std::vector<std::size_t>> FindDuplicates(const store::TicketTexts& tickets);

// Per group a heading with the shared numbers in ascending order, then one line per ticket with
// its number in the list (from 1) and its text; groups are separated by a blank line.
std::string FormatDuplicates(const store::TicketTexts& tickets,
                             const std::vector<std::vector<std::size_t>>& groups);

}  // namespace cli
