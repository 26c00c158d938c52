#include "cli/DrawsReport.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>

#include "store/PlayNumber.h"

namespace cli {

namespace {

// A ticket's fields reduced to the number a draw box can equal. A draw box holds the two-digit
// text of a number from 1 to 59, so a field matches it exactly when the field is that text; any
// other field ("00", one character, letters) becomes 0, which no draw holds.
using FieldNumbers = std::array<std::uint8_t, kSixNumbers>;

// Bit n set for each number n a ticket's fields can match. Counting then takes one AND per
// ticket and draw instead of 36 text comparisons, which is what lets a thousand draws over a
// full file finish in well under a second. Bit 0, which no draw sets, marks a ticket with a
// number in two fields: each field counts, so it is counted field by field.
constexpr std::uint64_t kCountByFields = 1;

struct TicketNumbers {
  std::vector<std::uint64_t> masks;
  std::vector<FieldNumbers> fields;
};

std::uint8_t DrawableNumberOf(std::string_view field) {
  if (field.size() != 2 || field[0] < '0' || field[0] > '9' || field[1] < '0' || field[1] > '9') {
    return 0;
  }
  const int value = (field[0] - '0') * 10 + (field[1] - '0');
  return value >= kLowestNumber && value <= kHighestNumber ? static_cast<std::uint8_t>(value) : 0;
}

TicketNumbers NumbersOf(const std::vector<std::string>& tickets) {
  TicketNumbers numbers;
  numbers.masks.reserve(tickets.size());
  numbers.fields.reserve(tickets.size());
  for (const std::string& ticket : tickets) {
    FieldNumbers fields{};
    std::uint64_t mask = 0;
    for (int k = 1; k <= kSixNumbers; ++k) {
      const std::uint8_t n = DrawableNumberOf(store::PlayNumberField(ticket, k));
      fields[static_cast<std::size_t>(k - 1)] = n;
      if (n != 0) {
        const std::uint64_t bit = std::uint64_t{1} << n;
        mask |= (mask & bit) != 0 ? kCountByFields : bit;
      }
    }
    numbers.masks.push_back(mask);
    numbers.fields.push_back(fields);
  }
  return numbers;
}

std::uint64_t MaskOf(const SixNumbers& numbers) {
  std::uint64_t mask = 0;
  for (const int n : numbers) {
    mask |= std::uint64_t{1} << n;
  }
  return mask;
}

// Every field equal to a drawn number counts once, as every equal pair does in the check; a
// draw's numbers are all different, so no field can pair with two of them.
int CountByFields(std::uint64_t drawMask, const FieldNumbers& fields) {
  int count = 0;
  for (const std::uint8_t n : fields) {
    count += static_cast<int>((drawMask >> n) & 1u);
  }
  return count;
}

// Whether three or more bits are set: almost every ticket fails this, and the test is cheaper
// than a full count.
bool HasThreeBits(std::uint64_t bits) {
  bits &= bits - 1;
  bits &= bits - 1;
  return bits != 0;
}

int CountMatches(std::uint64_t drawMask, const TicketNumbers& numbers, std::size_t t) {
  const std::uint64_t ticketMask = numbers.masks[t];
  if ((ticketMask & kCountByFields) != 0) {
    return CountByFields(drawMask, numbers.fields[t]);
  }
  const std::uint64_t common = ticketMask & drawMask;
  return HasThreeBits(common) ? std::popcount(common) : 0;
}

class ReportText {
 public:
  ReportText& operator<<(std::string_view text) {
    text_.append(text);
    return *this;
  }
  ReportText& operator<<(std::size_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text_.append(digits, end);
    return *this;
  }
  ReportText& operator<<(int number) { return *this << static_cast<std::size_t>(number); }
  void Counts(const MatchCounts& counts) {
    for (std::size_t i = 0; i < counts.size(); ++i) {
      *this << (i == 0 ? "matched " : ", matched ") << static_cast<int>(i) + kLowestReported << ": "
            << counts[i];
    }
  }
  void Ticket(const std::vector<std::string>& tickets, std::size_t index) {
    *this << "  ticket " << index + 1 << ", " << tickets[index] << ": ";
  }
  void Reserve(std::size_t size) { text_.reserve(size); }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

}  // namespace

DrawsCheck CheckDraws(const std::vector<Draw>& draws, const std::vector<std::string>& tickets) {
  const TicketNumbers numbers = NumbersOf(tickets);

  DrawsCheck check;
  check.draws.reserve(draws.size());
  for (const Draw& draw : draws) {
    const std::uint64_t mask = MaskOf(draw.numbers);
    DrawResult result;
    for (std::size_t t = 0; t < tickets.size(); ++t) {
      const int matches = CountMatches(mask, numbers, t);
      if (matches >= kLowestReported) {
        result.matched.push_back({t, matches});
        ++result.counts[static_cast<std::size_t>(matches - kLowestReported)];
      }
    }
    for (std::size_t i = 0; i < check.total.size(); ++i) {
      check.total[i] += result.counts[i];
    }
    check.anyMatched = check.anyMatched || !result.matched.empty();
    check.draws.push_back(std::move(result));
  }
  return check;
}

std::string FormatDrawsReport(const std::vector<Draw>& draws,
                              const std::vector<std::string>& tickets, const DrawsCheck& check) {
  // Sized up front: a thousand draws over a full file make a report of some 20 MB, and growing
  // it step by step would copy it over and over.
  constexpr std::size_t kLineSize = 80;
  std::size_t lines = 2 * draws.size() + 1;
  for (const DrawResult& result : check.draws) {
    lines += result.matched.size();
  }
  ReportText text;
  text.Reserve(lines * kLineSize + tickets.size() * kLineSize);
  std::vector<MatchCounts> perTicket(tickets.size());
  std::vector<std::size_t> ticketsInOrder;
  for (std::size_t d = 0; d < draws.size(); ++d) {
    text << "Draw " << draws[d].date << ", " << TicketText(draws[d].numbers) << ": ";
    text.Counts(check.draws[d].counts);
    text << "\n";
    for (const DrawMatch& match : check.draws[d].matched) {
      text.Ticket(tickets, match.ticket);
      text << "matched " << match.matches << "\n";
      MatchCounts& counts = perTicket[match.ticket];
      if (counts == MatchCounts{}) {
        ticketsInOrder.push_back(match.ticket);
      }
      ++counts[static_cast<std::size_t>(match.matches - kLowestReported)];
    }
  }

  text << "Total of " << draws.size() << (draws.size() == 1 ? " draw: " : " draws: ");
  text.Counts(check.total);
  text << "\n";
  std::sort(ticketsInOrder.begin(), ticketsInOrder.end());
  for (const std::size_t t : ticketsInOrder) {
    text.Ticket(tickets, t);
    bool first = true;
    for (std::size_t i = 0; i < perTicket[t].size(); ++i) {
      if (perTicket[t][i] == 0) {
        continue;
      }
      text << (first ? "matched " : ", matched ") << static_cast<int>(i) + kLowestReported << " in "
           << perTicket[t][i] << (perTicket[t][i] == 1 ? " draw" : " draws");
      first = false;
    }
    text << "\n";
  }
  return text.Take();
}

}  // namespace cli
