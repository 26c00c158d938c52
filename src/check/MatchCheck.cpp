#include "check/MatchCheck.h"

#include <array>
#include <charconv>
#include <optional>

#include "store/PlayNumber.h"
#include "store/TicketRules.h"

namespace check {

namespace {

// How many of the six boxes hold each two-digit text "00".."99". Nearly every field of a ticket
// is two digits, and is then counted by one look-up instead of six text compares.
using TwoDigitBoxes = std::array<int, 100>;

// The value of a text of exactly two digits. Two such texts are equal exactly when their values
// are.
std::optional<unsigned> TwoDigitValue(std::string_view text) {
  unsigned value = 0;
  const char* end = text.data() + text.size();
  if (text.size() != 2 || std::from_chars(text.data(), end, value).ptr != end) {
    return std::nullopt;
  }
  return value;
}

TwoDigitBoxes TwoDigitBoxesOf(const WinningTexts& winning) {
  TwoDigitBoxes boxes{};
  for (const std::string& box : winning) {
    if (const auto value = TwoDigitValue(box)) {
      ++boxes[*value];
    }
  }
  return boxes;
}

// Every equal pair counts, so a value repeated in the winning number or the ticket counts once
// per pair rather than once per value.
int Count(const WinningTexts& winning, const TwoDigitBoxes& twoDigitBoxes,
          std::string_view ticket) {
  int count = 0;
  for (int k = 1; k <= store::kNumbersPerTicket; ++k) {
    const std::string_view field = store::PlayNumberField(ticket, k);
    if (const auto value = TwoDigitValue(field)) {
      count += twoDigitBoxes[*value];
      continue;
    }
    for (const std::string& box : winning) {
      count += box == field ? 1 : 0;
    }
  }
  return count;
}

}  // namespace

int CountMatches(const WinningTexts& winning, std::string_view ticket) {
  return Count(winning, TwoDigitBoxesOf(winning), ticket);
}

CheckResult RunCheck(const WinningTexts& winning, const store::TicketTexts& tickets) {
  CheckResult result;
  if (const auto position = FindEmptyWinningPosition(winning)) {
    result.outcome = CheckOutcome::InvalidWinningNumber;
    result.invalidPosition = *position;
    return result;
  }
  if (tickets.size() == 0) {
    result.outcome = CheckOutcome::NoTickets;
    return result;
  }
  const TwoDigitBoxes twoDigitBoxes = TwoDigitBoxesOf(winning);
  for (const std::string_view ticket : tickets) {
    const int matches = Count(winning, twoDigitBoxes, ticket);
    if (matches >= 3) {
      ++result.reported;
      result.text.append("Matched: (")
          .append(std::to_string(matches))
          .append(") in:")
          .append(ticket)
          .append("\r\n");
    }
  }
  if (result.reported == 0) {
    result.text =
        "Sorry, no tickets matched the winning number: \r\n" + store::JoinPlayNumber(winning);
  }
  return result;
}

}  // namespace check
