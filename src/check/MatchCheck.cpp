#include "check/MatchCheck.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "store/PlayNumber.h"
#include "store/TicketRules.h"

namespace check {

namespace {

constexpr std::string_view kLineStart = "Matched: (";
constexpr std::string_view kLineMiddle = ") in:";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSorryText = "Sorry, no tickets matched the winning number: ";
constexpr int kReportThreshold = 3;

// Ticket fields are at most two characters, so each text becomes one integer: its length in the
// low byte and its characters above. Two such texts are equal exactly when their keys are, and
// the 36 comparisons per ticket become integer compares instead of library calls.
using FieldKey = std::uint32_t;
using FieldKeys = std::array<FieldKey, store::kNumbersPerTicket>;

// A winning text longer than two characters can never equal a field; its key has a length byte
// (0xFF) that no field produces.
constexpr FieldKey kMatchesNoField = 0xFFFFFFFFu;

FieldKey KeyOf(std::string_view text) {
  if (text.size() > 2) {
    return kMatchesNoField;
  }
  FieldKey key = static_cast<FieldKey>(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    key |= static_cast<FieldKey>(static_cast<unsigned char>(text[i])) << (8 * (i + 1));
  }
  return key;
}

FieldKeys WinningKeys(const WinningTexts& winning) {
  FieldKeys keys;
  for (int k = 0; k < store::kNumbersPerTicket; ++k) {
    keys[k] = KeyOf(winning[k]);
  }
  return keys;
}

// Field k of a ticket (from 0) as store::PlayNumberField cuts it, here where the compiler can
// see it: the check does this six times for each of tens of thousands of tickets.
std::string_view FieldAt(std::string_view ticket, std::size_t k) {
  const std::size_t start = 3 * k;
  return start < ticket.size() ? ticket.substr(start, 2) : std::string_view();
}

int CountMatchesIn(const FieldKeys& winning, std::string_view ticket) {
  FieldKeys fields;
  for (int j = 0; j < store::kNumbersPerTicket; ++j) {
    fields[j] = KeyOf(FieldAt(ticket, static_cast<std::size_t>(j)));
  }
  // Every equal pair counts, so a value repeated in the winning number or the ticket counts once
  // per pair rather than once per value.
  int count = 0;
  for (const FieldKey box : winning) {
    for (const FieldKey field : fields) {
      count += box == field ? 1 : 0;
    }
  }
  return count;
}

struct DecimalText {
  std::array<char, 12> digits{};
  std::size_t size = 0;
  std::string_view View() const { return {digits.data(), size}; }
};

DecimalText ToDecimal(int value) {
  DecimalText text;
  const auto result =
      std::to_chars(text.digits.data(), text.digits.data() + text.digits.size(), value);
  text.size = static_cast<std::size_t>(result.ptr - text.digits.data());
  return text;
}

std::size_t LineSize(int matches, std::string_view ticket) {
  return kLineStart.size() + ToDecimal(matches).size + kLineMiddle.size() + ticket.size() +
         kLineEnd.size();
}

void AppendLine(std::string& text, int matches, std::string_view ticket) {
  text.append(kLineStart)
      .append(ToDecimal(matches).View())
      .append(kLineMiddle)
      .append(ticket)
      .append(kLineEnd);
}

// Whether the winning number can be checked, and against anything.
std::optional<CheckOutcome> Refusal(const WinningTexts& winning, const store::TicketTexts& tickets,
                                    int& invalidPosition) {
  if (const auto position = FindEmptyWinningPosition(winning)) {
    invalidPosition = *position;
    return CheckOutcome::InvalidWinningNumber;
  }
  if (tickets.empty()) {
    return CheckOutcome::NoTickets;
  }
  return std::nullopt;
}

std::string SorryText(const WinningTexts& winning) {
  std::string text;
  std::size_t size = kSorryText.size() + kLineEnd.size() + store::kNumbersPerTicket - 1;
  for (const std::string& box : winning) {
    size += box.size();
  }
  text.reserve(size);
  text.append(kSorryText).append(kLineEnd);
  for (int k = 0; k < store::kNumbersPerTicket; ++k) {
    if (k > 0) {
      text.push_back('-');
    }
    text.append(winning[k]);
  }
  return text;
}

}  // namespace

int CountMatches(const WinningTexts& winning, const std::string& ticket) {
  return CountMatchesIn(WinningKeys(winning), ticket);
}

CheckResult RunCheck(const WinningTexts& winning, const store::TicketTexts& tickets) {
  CheckResult result;
  if (const auto refused = Refusal(winning, tickets, result.invalidPosition)) {
    result.outcome = *refused;
    return result;
  }

  // Count first, then size the text exactly, so a list of 32,767 tickets costs one allocation
  // for the text however many of them are reported.
  const FieldKeys winningKeys = WinningKeys(winning);
  std::size_t textSize = 0;
  for (std::size_t index = 0; index < tickets.size(); ++index) {
    const int matches = CountMatchesIn(winningKeys, tickets[index]);
    if (matches >= kReportThreshold) {
      result.reported.push_back({index, matches});
      textSize += LineSize(matches, tickets[index]);
    }
  }

  result.outcome = CheckOutcome::Results;
  if (result.reported.empty()) {
    result.text = SorryText(winning);
    return result;
  }
  result.text.reserve(textSize);
  for (const ReportedTicket& ticket : result.reported) {
    AppendLine(result.text, ticket.matches, tickets[ticket.index]);
  }
  return result;
}

CheckSummary WriteCheck(const WinningTexts& winning, const store::TicketTexts& tickets,
                        const std::function<bool(std::string_view)>& write) {
  CheckSummary summary;
  if (const auto refused = Refusal(winning, tickets, summary.invalidPosition)) {
    summary.outcome = *refused;
    return summary;
  }
  // One piece at a time, in a buffer used over and over: however many tickets are reported, the
  // text is never held whole.
  constexpr std::size_t kPieceSize = std::size_t{1} << 16;
  std::string piece;
  piece.reserve(kPieceSize + 256);
  const FieldKeys winningKeys = WinningKeys(winning);
  for (const std::string_view ticket : tickets) {
    const int matches = CountMatchesIn(winningKeys, ticket);
    if (matches < kReportThreshold) {
      continue;
    }
    ++summary.reported;
    AppendLine(piece, matches, ticket);
    if (piece.size() >= kPieceSize) {
      if (!write(piece)) {
        return summary;
      }
      piece.clear();
    }
  }
  if (summary.reported == 0) {
    piece = SorryText(winning);
  }
  if (!piece.empty()) {
    write(piece);
  }
  return summary;
}

}  // namespace check
