#include "check/MatchCheck.h"

#include <array>
#include <optional>
#include <string>

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
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (text.size() != 2 || !digit(text[0]) || !digit(text[1])) {
    return std::nullopt;
  }
  return static_cast<unsigned>((text[0] - '0') * 10 + (text[1] - '0'));
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

CheckSummary WriteCheck(const WinningTexts& winning, const store::TicketTexts& tickets,
                        const std::function<void(std::string_view)>& write) {
  CheckSummary summary;
  if (const auto position = FindEmptyWinningPosition(winning)) {
    summary.outcome = CheckOutcome::InvalidWinningNumber;
    summary.invalidPosition = *position;
    return summary;
  }
  if (tickets.size() == 0) {
    summary.outcome = CheckOutcome::NoTickets;
    return summary;
  }
  // The text goes out in pieces of one buffer used over and over, never held whole.
  constexpr std::size_t kPieceSize = std::size_t{1} << 16;
  std::string piece;
  const TwoDigitBoxes twoDigitBoxes = TwoDigitBoxesOf(winning);
  for (const std::string_view ticket : tickets) {
    const int matches = Count(winning, twoDigitBoxes, ticket);
    if (matches < 3) {
      continue;
    }
    ++summary.reported;
    piece.append("Matched: (")
        .append(std::to_string(matches))
        .append(") in:")
        .append(ticket)
        .append("\r\n");
    if (piece.size() >= kPieceSize) {
      write(piece);
      piece.clear();
    }
  }
  if (summary.reported == 0) {
    write("Sorry, no tickets matched the winning number: \r\n" + store::JoinPlayNumber(winning));
  } else if (!piece.empty()) {
    write(piece);
  }
  return summary;
}

}  // namespace check
