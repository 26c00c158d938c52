#include "check/MatchCheck.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The winning number as the check compares it: each box's key, and how many boxes hold each
// two-digit text "00".."99", so that a ticket whose six fields are all two digits is counted by
// six look-ups instead of 36 compares.
struct WinningKeys {
  FieldKeys boxes;
  std::array<std::uint8_t, 100> twoDigits{};
};

WinningKeys KeysOf(const WinningTexts& winning) {
  WinningKeys keys;
  for (int k = 0; k < store::kNumbersPerTicket; ++k) {
    const std::string& box = winning[k];
    keys.boxes[k] = KeyOf(box);
    if (box.size() == 2 && box[0] >= '0' && box[0] <= '9' && box[1] >= '0' && box[1] <= '9') {
      const int number = (box[0] - '0') * 10 + (box[1] - '0');
      ++keys.twoDigits[static_cast<std::size_t>(number)];
    }
  }
  return keys;
}

// Field k of a ticket (from 0) as store::PlayNumberField cuts it, here where the compiler can
// see it: the check does this six times for each of tens of thousands of tickets.
std::string_view FieldAt(std::string_view ticket, std::size_t k) {
  const std::size_t start = 3 * k;
  return start < ticket.size() ? ticket.substr(start, 2) : std::string_view();
}

// The length of the shortest ticket whose six fields are all two characters long.
constexpr std::size_t kFullTicketSize = 3 * store::kNumbersPerTicket - 1;

// Whether the twelve field characters of a ticket at least kFullTicketSize long are all digits.
bool FieldsAreDigits(const unsigned char* text) {
#if defined(__SSE2__)
  // Sixteen characters at once, and the last one on its own.
  constexpr unsigned kFieldCharacters = [] {
    unsigned mask = 0;
    for (unsigned k = 0; 3 * k < 16; ++k) {
      mask |= (3 * k + 1 < 16 ? 3u : 1u) << (3 * k);
    }
    return mask;
  }();
  const __m128i values =
      _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text)), _mm_set1_epi8('0'));
  // A digit's value, read unsigned, is at most 9, so the minimum with 9 leaves it as it is.
  const auto digits = static_cast<unsigned>(
      _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(values, _mm_set1_epi8(9)), values)));
  return (digits & kFieldCharacters) == kFieldCharacters && text[16] - unsigned{'0'} <= 9;
#else
  bool digits = true;
  for (std::size_t k = 0; k < store::kNumbersPerTicket; ++k) {
    digits = digits & (text[3 * k] - unsigned{'0'} <= 9) & (text[3 * k + 1] - unsigned{'0'} <= 9);
  }
  return digits;
#endif
}

// Every equal pair of box and field, each field's text as FieldAt cuts it.
int CountFieldByField(const WinningKeys& winning, std::string_view ticket) {
  FieldKeys fields;
  for (int j = 0; j < store::kNumbersPerTicket; ++j) {
    fields[j] = KeyOf(FieldAt(ticket, static_cast<std::size_t>(j)));
  }
  // Every equal pair counts, so a value repeated in the winning number or the ticket counts once
  // per pair rather than once per value.
  int count = 0;
  for (const FieldKey box : winning.boxes) {
    for (const FieldKey field : fields) {
      count += box == field ? 1 : 0;
    }
  }
  return count;
}

int CountMatchesIn(const WinningKeys& winning, std::string_view ticket) {
  const auto* const text = reinterpret_cast<const unsigned char*>(ticket.data());
  // Whatever stands between the fields: a field is cut by its position alone.
  if (ticket.size() < kFullTicketSize || !FieldsAreDigits(text)) {
    return CountFieldByField(winning, ticket);
  }
  int count = 0;
  for (std::size_t k = 0; k < store::kNumbersPerTicket; ++k) {
    count += winning.twoDigits[text[3 * k] * 10u + text[3 * k + 1] - unsigned{'0'} * 11];
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

std::size_t DigitsOf(int matches) {
  if (matches >= 0 && matches < 100) {
    return matches < 10 ? 1 : 2;
  }
  return ToDecimal(matches).size;
}

std::size_t LineSize(int matches, std::string_view ticket) {
  return kLineStart.size() + DigitsOf(matches) + kLineMiddle.size() + ticket.size() +
         kLineEnd.size();
}

// A reported ticket's line written at `out`, which has room for LineSize of them; gives the end.
char* PutLine(char* out, int matches, std::string_view ticket) {
  const auto put = [&out](std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    out += text.size();
  };
  put(kLineStart);
  // A count is at most 36, one pair per box and field: two digits at most.
  if (matches >= 0 && matches < 10) {
    *out++ = static_cast<char>('0' + matches);
  } else if (matches >= 10 && matches < 100) {
    *out++ = static_cast<char>('0' + matches / 10);
    *out++ = static_cast<char>('0' + matches % 10);
  } else {
    put(ToDecimal(matches).View());
  }
  put(kLineMiddle);
  if (ticket.size() >= 16 && ticket.size() <= 32) {
    // Two fixed moves that overlap, both inside the ticket, instead of a call.
    std::memcpy(out, ticket.data(), 16);
    std::memcpy(out + ticket.size() - 16, ticket.data() + ticket.size() - 16, 16);
    out += ticket.size();
  } else {
    put(ticket);
  }
  put(kLineEnd);
  return out;
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
  return CountMatchesIn(KeysOf(winning), ticket);
}

CheckResult RunCheck(const WinningTexts& winning, const store::TicketTexts& tickets) {
  CheckResult result;
  if (const auto refused = Refusal(winning, tickets, result.invalidPosition)) {
    result.outcome = *refused;
    return result;
  }

  // Count first, then size the text exactly, so a list of 32,767 tickets costs one allocation
  // for the text however many of them are reported.
  const WinningKeys winningKeys = KeysOf(winning);
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
  result.text.resize(textSize);
  char* out = result.text.data();
  for (const ReportedTicket& ticket : result.reported) {
    out = PutLine(out, ticket.matches, tickets[ticket.index]);
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
  // text is never held whole. Each line is put together in place; the room past a full piece
  // takes any line of a ticket read from a file, and a longer line makes the piece larger.
  constexpr std::size_t kPieceSize = std::size_t{1} << 16;
  std::vector<char> piece;
  piece.reserve(kPieceSize + 256);
  piece.resize(piece.capacity());
  std::size_t used = 0;
  const WinningKeys winningKeys = KeysOf(winning);
  for (const std::string_view ticket : tickets) {
    const int matches = CountMatchesIn(winningKeys, ticket);
    if (matches < kReportThreshold) {
      continue;
    }
    ++summary.reported;
    if (const std::size_t lineSize = LineSize(matches, ticket); used + lineSize > piece.size()) {
      piece.resize(used + lineSize);
    }
    used = static_cast<std::size_t>(PutLine(piece.data() + used, matches, ticket) - piece.data());
    if (used >= kPieceSize) {
      if (!write(std::string_view(piece.data(), used))) {
        return summary;
      }
      used = 0;
    }
  }
  if (summary.reported == 0) {
    write(SorryText(winning));
  } else if (used > 0) {
    write(std::string_view(piece.data(), used));
  }
  return summary;
}

}  // namespace check
