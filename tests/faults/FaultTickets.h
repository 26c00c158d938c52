#pragma once

#include <string>
#include <vector>

#include "store/PlayNumber.h"
#include "store/TicketFile.h"

namespace faults {

// One of two different lists of the largest size a data file holds, the same in every process
// that asks for it.
inline std::vector<std::string> FullTicketList(int which, bool half = false) {
  std::vector<std::string> tickets;
  const int count = half ? store::kMaxTickets / 2 : store::kMaxTickets;
  tickets.reserve(count);
  for (int i = 0; i < count; ++i) {
    store::PlayFields fields;
    for (int k = 0; k < store::kNumbersPerTicket; ++k)
      fields[k] = store::TwoDigitField((i * 7 + k * 11 + which * 29) % store::kHighestNumber + 1);
    tickets.push_back(store::JoinPlayNumber(fields));
  }
  return tickets;
}

}  // namespace faults
