#include "check/MatchCheck.h"

#include <array>
#include <cstdint>
#include <string>

#include "store/PlayNumber.h"
#include "store/TicketRules.h"

namespace check {

namespace {

constexpr int kReportThreshold = 3;
// The results are handed on in pieces of about this size.
constexpr std::size_t kPieceSize = std::size_t{1} << 16;

// A text of a box or a field as one number: its length, and its characters above that. A field is
// at most two characters, so texts of up to two characters are equal exactly when their numbers
// are, and a longer box gets a number no field has. Compared as texts, the check of 32,767 tickets
// took 4.0 ms of processor time against 0.72 ms (check_bench, every 32nd ticket reported), and
// `pelmora-check FILE` was more than 2 x its floor.
using TextNumber = std::uint32_t;
using BoxNumbers = std::array<TextNumber, store::kNumbersPerTicket>;

TextNumber NumberOf(std::string_view text) {
  if (text.size() > 2) {
    return ~TextNumber{0};
  }
  auto number = static_cast<TextNumber>(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    number |= TextNumber{static_cast<unsigned char>(text[i])} << (8 * (i + 1));
  }
  return number;
}

BoxNumbers NumbersOf(const WinningTexts& winning) {
  BoxNumbers boxes;
  for (std::size_t k = 0; k < boxes.size(); ++k) {
    boxes[k] = NumberOf(winning[k]);
  }
  return boxes;
}

// Every equal pair counts, so a value repeated in the winning number or the ticket counts once
// per pair rather than once per value.
int CountMatchesIn(const BoxNumbers& boxes, std::string_view ticket) {
  int count = 0;
  for (int k = 1; k <= store::kNumbersPerTicket; ++k) {
    const TextNumber field = NumberOf(store::PlayNumberField(ticket, k));
    for (const TextNumber box : boxes) {
      count += box == field ? 1 : 0;
    }
  }
  return count;
}

}  // namespace

int CountMatches(const WinningTexts& winning, std::string_view ticket) {
  return CountMatchesIn(NumbersOf(winning), ticket);
}

CheckSummary WriteCheck(const WinningTexts& winning, const store::TicketTexts& tickets,
                        const std::function<bool(std::string_view)>& write) {
  CheckSummary summary;
  if (const auto position = FindEmptyWinningPosition(winning)) {
    summary.outcome = CheckOutcome::InvalidWinningNumber;
    summary.invalidPosition = *position;
    return summary;
  }
  if (tickets.empty()) {
    summary.outcome = CheckOutcome::NoTickets;
    return summary;
  }
  const BoxNumbers boxes = NumbersOf(winning);
  std::string piece;
  for (const std::string_view ticket : tickets) {
    const int matches = CountMatchesIn(boxes, ticket);
    if (matches < kReportThreshold) {
      continue;
    }
    ++summary.reported;
    piece.append("Matched: (").append(std::to_string(matches)).append(") in:");
    piece.append(ticket).append("\r\n");
    if (piece.size() >= kPieceSize) {
      if (!write(piece)) {
        return summary;
      }
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
