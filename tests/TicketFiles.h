#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/PlayNumber.h"
#include "store/TicketRules.h"

namespace test_support {

// The i-th of a list of tickets that is the same in every run; its first two fields vary with
// `i` and `seed`, so neighbouring tickets differ.
inline std::string GeneratedTicket(int i, int seed = 0) {
  store::PlayFields fields;
  for (int k = 0; k < store::kNumbersPerTicket; ++k) {
    const int spread = k == 0 ? i + seed : k == 1 ? i / store::kHighestNumber + seed : 20 + k * 6;
    fields[static_cast<std::size_t>(k)] = store::TwoDigitField(spread % store::kHighestNumber + 1);
  }
  return store::JoinPlayNumber(fields);
}

// Tickets 1..count of that list.
inline std::vector<std::string> GeneratedTickets(int count, int seed = 0) {
  std::vector<std::string> tickets;
  tickets.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i)
    tickets.push_back(GeneratedTicket(i, seed));
  return tickets;
}

// A data file as the program writes it: section, count, winning number, then keys 1..n.
inline std::string DataFileBytes(const std::vector<std::string>& tickets,
                                 std::string_view winning = "05-12-23-34-45-56") {
  std::string bytes = "[" + std::string(store::kSection) + "]\r\n";
  bytes.append(store::kTotalKey).append("=").append(std::to_string(tickets.size())).append("\r\n");
  bytes.append(store::kWinningKey).append("=").append(winning).append("\r\n");
  for (std::size_t i = 0; i < tickets.size(); ++i)
    bytes += std::to_string(i + 1) + "=" + tickets[i] + "\r\n";
  return bytes;
}

}  // namespace test_support
