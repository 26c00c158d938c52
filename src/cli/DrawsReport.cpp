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
using FieldNumbers = std::array<std::uint8_t, kNumbersPerTicket>;

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

TicketNumbers NumbersOf(const store::TicketTexts& tickets) {
  TicketNumbers numbers;
  numbers.masks.reserve(tickets.size());
  numbers.fields.reserve(tickets.size());
  for (const std::string_view ticket : tickets) {
    FieldNumbers fields{};
    std::uint64_t mask = 0;
    for (int k = 1; k <= kNumbersPerTicket; ++k) {
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

// The report text, handed to a sink in pieces of about kPieceSize bytes when there is one, so
// that its memory stays flat however many draws there are.
class ReportText {
 public:
  explicit ReportText(const ReportSink* sink) : sink_(sink) {
    if (sink_ != nullptr) {
      text_.reserve(kPieceSize + kPieceSize / 4);
    }
  }
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
  void Ticket(const store::TicketTexts& tickets, std::size_t index) {
    *this << "  ticket " << index + 1 << ", " << tickets[index] << ": ";
  }
  // Hands a full piece to the sink; false once the sink has refused one.
  bool Pass() { return text_.size() < kPieceSize || Flush(); }
  bool Flush() {
    if (sink_ == nullptr || text_.empty()) {
      return true;
    }
    const bool taken = (*sink_)(text_);
    text_.clear();
    return taken;
  }
  std::size_t Size() const { return text_.size(); }
  std::string Take() { return std::move(text_); }

 private:
  static constexpr std::size_t kPieceSize = 1 << 16;
  const ReportSink* sink_;
  std::string text_;
};

constexpr std::string_view kMatchedLines[] = {"matched 3\n", "matched 4\n", "matched 5\n",
                                              "matched 6\n"};

// The report as it is built draw by draw: each draw's lines as soon as the draw is checked,
// and what the totals need kept per ticket.
class DrawsReport {
 public:
  DrawsReport(const store::TicketTexts& tickets, const ReportSink* sink)
      : tickets_(tickets), text_(sink), perTicket_(tickets.size()), matched_(tickets.size()) {
    // Each ticket's line starts the same way in every draw: made once, copied in one piece.
    ReportText starts(nullptr);
    starts_.reserve(tickets.size() + 1);
    for (std::size_t t = 0; t < tickets.size(); ++t) {
      starts_.push_back(starts.Size());
      starts.Ticket(tickets, t);
    }
    starts_.push_back(starts.Size());
    lineStarts_ = starts.Take();
  }

  bool Add(const Draw& draw, const DrawResult& result) {
    text_ << "Draw " << draw.date << ", " << TicketText(draw.numbers) << ": ";
    text_.Counts(result.counts);
    text_ << "\n";
    for (const DrawMatch& match : result.matched) {
      text_ << std::string_view(lineStarts_)
                   .substr(starts_[match.ticket], starts_[match.ticket + 1] - starts_[match.ticket])
            << kMatchedLines[static_cast<std::size_t>(match.matches - kLowestReported)];
      if (matched_[match.ticket] == 0) {
        matched_[match.ticket] = 1;
        ticketsInOrder_.push_back(match.ticket);
      }
      ++perTicket_[match.ticket][static_cast<std::size_t>(match.matches - kLowestReported)];
    }
    return text_.Pass();
  }

  bool Finish(std::size_t drawCount, const MatchCounts& total) {
    text_ << "Total of " << drawCount << (drawCount == 1 ? " draw: " : " draws: ");
    text_.Counts(total);
    text_ << "\n";
    std::sort(ticketsInOrder_.begin(), ticketsInOrder_.end());
    for (const std::size_t t : ticketsInOrder_) {
      text_.Ticket(tickets_, t);
      bool first = true;
      for (std::size_t i = 0; i < perTicket_[t].size(); ++i) {
        if (perTicket_[t][i] == 0) {
          continue;
        }
        text_ << (first ? "matched " : ", matched ") << static_cast<int>(i) + kLowestReported
              << " in " << perTicket_[t][i] << (perTicket_[t][i] == 1 ? " draw" : " draws");
        first = false;
      }
      text_ << "\n";
      if (!text_.Pass()) {
        return false;
      }
    }
    return text_.Flush();
  }

  std::string Take() { return text_.Take(); }

 private:
  const store::TicketTexts& tickets_;
  ReportText text_;
  std::string lineStarts_;           // "  ticket N, TICKET: " for every ticket, one after another
  std::vector<std::size_t> starts_;  // where each ticket's starts in lineStarts_, and the end
  std::vector<MatchCounts> perTicket_;
  std::vector<char> matched_;  // 1 for a ticket in ticketsInOrder_
  std::vector<std::size_t> ticketsInOrder_;
};

// One draw against every ticket; `result` is reused from draw to draw.
void CheckDraw(const Draw& draw, const TicketNumbers& numbers, DrawResult& result) {
  const std::uint64_t mask = MaskOf(draw.numbers);
  result.counts = {};
  result.matched.clear();
  for (std::size_t t = 0; t < numbers.masks.size(); ++t) {
    const int matches = CountMatches(mask, numbers, t);
    if (matches >= kLowestReported) {
      result.matched.push_back({t, matches});
      ++result.counts[static_cast<std::size_t>(matches - kLowestReported)];
    }
  }
}

void AddCounts(MatchCounts& to, const MatchCounts& counts) {
  for (std::size_t i = 0; i < to.size(); ++i) {
    to[i] += counts[i];
  }
}

}  // namespace

DrawsCheck CheckDraws(const std::vector<Draw>& draws, const store::TicketTexts& tickets) {
  const TicketNumbers numbers = NumbersOf(tickets);
  DrawsCheck check;
  check.draws.reserve(draws.size());
  for (const Draw& draw : draws) {
    DrawResult result;
    CheckDraw(draw, numbers, result);
    AddCounts(check.total, result.counts);
    check.anyMatched = check.anyMatched || !result.matched.empty();
    check.draws.push_back(std::move(result));
  }
  return check;
}

std::string FormatDrawsReport(const std::vector<Draw>& draws, const store::TicketTexts& tickets,
                              const DrawsCheck& check) {
  DrawsReport report(tickets, nullptr);
  for (std::size_t d = 0; d < draws.size(); ++d) {
    report.Add(draws[d], check.draws[d]);
  }
  report.Finish(draws.size(), check.total);
  return report.Take();
}

DrawsSummary WriteDrawsReport(const std::vector<Draw>& draws, const store::TicketTexts& tickets,
                              const ReportSink& sink) {
  const TicketNumbers numbers = NumbersOf(tickets);
  DrawsReport report(tickets, &sink);
  DrawsSummary summary;
  DrawResult result;
  for (const Draw& draw : draws) {
    CheckDraw(draw, numbers, result);
    AddCounts(summary.total, result.counts);
    summary.anyMatched = summary.anyMatched || !result.matched.empty();
    if (!report.Add(draw, result)) {
      summary.written = false;
      return summary;
    }
  }
  summary.written = report.Finish(draws.size(), summary.total);
  return summary;
}

}  // namespace cli
