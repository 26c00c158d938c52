#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/DrawsFile.h"
#include "store/TicketTexts.h"

namespace cli {

inline constexpr int kLowestReported = 3;  // as in the results text: three or more matches

// Numbers of tickets that matched exactly 3, 4, 5 and 6 numbers.
using MatchCounts = std::array<std::size_t, 4>;

struct DrawMatch {
  std::size_t ticket = 0;  // position in the ticket list, from 0
  int matches = 0;
};

struct DrawResult {
  MatchCounts counts{};
  std::vector<DrawMatch> matched;  // tickets with three or more matches, in list order
};

struct DrawsCheck {
  std::vector<DrawResult> draws;  // one per draw, in draw order
  MatchCounts total{};
  bool anyMatched = false;
};

// Checks every ticket against every draw. A ticket matches a draw exactly as it would match that
// draw entered as the winning number in the window (the match count of the check library), so a
// ticket field that is not a two-digit number never matches.
DrawsCheck CheckDraws(const std::vector<Draw>& draws, const store::TicketTexts& tickets);

// Per draw, its counts and the tickets that matched; then the totals and, for every ticket that
// matched in some draw, how often. Lines end with LF.
std::string FormatDrawsReport(const std::vector<Draw>& draws, const store::TicketTexts& tickets,
                              const DrawsCheck& check);

// Takes the next piece of a report; false when it cannot (standard output closed or full).
using ReportSink = std::function<bool(std::string_view)>;

struct DrawsSummary {
  MatchCounts total{};
  bool anyMatched = false;
  bool written = true;  // false when the sink refused a piece: the report stops there
};

// Checks the draws one at a time and hands the report, the same text FormatDrawsReport makes,
// to `sink` piece by piece as it goes: memory does not grow with the number of draws.
DrawsSummary WriteDrawsReport(const std::vector<Draw>& draws, const store::TicketTexts& tickets,
                              const ReportSink& sink);

}  // namespace cli
