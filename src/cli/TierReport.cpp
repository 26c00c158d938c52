#include "cli/TierReport.h"

#include <algorithm>
#include <charconv>

#include "store/PlayNumber.h"

namespace cli {

namespace {

using check::Tier;
using check::TierCounts;

// Report text gathered into pieces of about kPieceSize bytes for the sink.
class Pieces {
 public:
  explicit Pieces(const ReportSink& sink) : sink_(sink) { text_.reserve(kPieceSize + 4096); }
  Pieces& operator<<(std::string_view text) {
    text_.append(text);
    return *this;
  }
  Pieces& operator<<(std::uint64_t number) {
    char digits[24];
    text_.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
    return *this;
  }
  bool Pass() { return text_.size() < kPieceSize || Flush(); }
  bool Flush() {
    if (text_.empty()) {
      return true;
    }
    const bool taken = sink_(text_);
    text_.clear();
    return taken;
  }

 private:
  static constexpr std::size_t kPieceSize = 1 << 16;
  const ReportSink& sink_;
  std::string text_;
};

void WriteCounts(Pieces& out, const TierCounts& counts, const check::PrizeTable& prizes) {
  bool first = true;
  for (const Tier tier : check::kWinningTiers) {
    out << (first ? "" : ", ") << check::TierName(tier) << ": "
        << counts[static_cast<std::size_t>(tier)];
    first = false;
  }
  out << "; prizes " << check::PrizesOf(prizes, counts).Text() << "\n";
}

}  // namespace

std::string DrawBallsText(const store::Draw& draw) {
  std::string text;
  for (const int ball : draw.balls) {
    text += (text.empty() ? "" : "-") + store::TwoDigitField(ball);
  }
  if (draw.bonus != 0) {
    text += " bonus " + store::TwoDigitField(draw.bonus);
  }
  return text;
}

std::string DrawNameText(const store::Draw& draw) {
  std::string text = store::DrawDayText(draw.date);
  if (draw.number != 0) {
    text += " (" + std::to_string(draw.number) + ")";
  }
  return text;
}

TierReportSummary WriteTierReport(const std::vector<store::Draw>& draws,
                                  const store::TicketTexts& tickets,
                                  const check::PrizeTable& prizes, const ReportSink& sink) {
  const check::TicketBallSets sets(tickets);
  // Each ticket's line starts the same way in every draw, and each tier's line ends the same
  // way: both made once and copied.
  std::string starts;
  std::vector<std::size_t> startAt;
  startAt.reserve(tickets.size() + 1);
  for (std::size_t t = 0; t < tickets.size(); ++t) {
    startAt.push_back(starts.size());
    starts += "  ticket " + std::to_string(t + 1) + ", " + std::string(tickets[t]) + ": ";
  }
  startAt.push_back(starts.size());
  std::array<std::string, check::kTierCount> ends;
  for (const Tier tier : check::kWinningTiers) {
    ends[static_cast<std::size_t>(tier)] =
        std::string(check::TierName(tier)) + ", " + check::PrizeText(prizes, tier) + "\n";
  }
  // Per ticket, its wins per tier over all draws.
  std::vector<std::array<std::uint32_t, check::kTierCount>> perTicket(tickets.size());

  Pieces out(sink);
  TierReportSummary summary;
  std::vector<std::pair<std::size_t, Tier>> wins;
  for (const store::Draw& draw : draws) {
    wins.clear();
    TierCounts counts{};
    sets.ForEachWin(draw, [&](std::size_t t, Tier tier) {
      wins.emplace_back(t, tier);
      ++counts[static_cast<std::size_t>(tier)];
    });
    out << "Draw " << DrawNameText(draw) << ", " << DrawBallsText(draw) << ": ";
    WriteCounts(out, counts, prizes);
    for (const auto& [t, tier] : wins) {
      out << std::string_view(starts).substr(startAt[t], startAt[t + 1] - startAt[t])
          << ends[static_cast<std::size_t>(tier)];
      ++perTicket[t][static_cast<std::size_t>(tier)];
      if (!out.Pass()) {
        summary.written = false;
        return summary;
      }
    }
    check::AddCounts(summary.total, counts);
    summary.anyWon = summary.anyWon || !wins.empty();
  }
  out << "Total of " << std::uint64_t{draws.size()} << (draws.size() == 1 ? " draw: " : " draws: ");
  WriteCounts(out, summary.total, prizes);
  for (std::size_t t = 0; t < tickets.size(); ++t) {
    bool first = true;
    for (const Tier tier : check::kWinningTiers) {
      const std::uint32_t count = perTicket[t][static_cast<std::size_t>(tier)];
      if (count == 0) {
        continue;
      }
      if (first) {
        out << std::string_view(starts).substr(startAt[t], startAt[t + 1] - startAt[t]);
      }
      out << (first ? "" : ", ") << check::TierName(tier) << " in " << std::uint64_t{count}
          << (count == 1 ? " draw" : " draws");
      first = false;
    }
    if (!first) {
      out << "\n";
      if (!out.Pass()) {
        summary.written = false;
        return summary;
      }
    }
  }
  summary.written = out.Flush();
  return summary;
}

}  // namespace cli
