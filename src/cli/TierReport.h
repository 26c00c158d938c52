#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "check/DrawWins.h"
#include "check/PrizeTable.h"
#include "store/DrawHistory.h"
#include "store/TicketTexts.h"

namespace cli {

// Takes the next piece of a report; false when it cannot (standard output closed or full).
using ReportSink = std::function<bool(std::string_view)>;

struct TierReportSummary {
  check::TierCounts total{};
  bool anyWon = false;
  bool written = true;  // false when the sink refused a piece: the report stops there
};

// What every ticket won in each of `draws`, handed to `sink` piece by piece as it is made:
//   Draw 18-Feb-2026 (3147), 01-11-12-13-18-49 bonus 33: 6: 0, 5 + bonus: 1, ...; prizes ...
//     ticket 9, 01-11-12-13-18-33: 5 + bonus, £1,000,000
// then the totals, and for every ticket that won, how often in each tier. Lines end with LF.
// Memory does not grow with the number of draws.
TierReportSummary WriteTierReport(const std::vector<store::Draw>& draws,
                                  const store::TicketTexts& tickets,
                                  const check::PrizeTable& prizes, const ReportSink& sink);

// "01-11-12-13-18-49 bonus 33": a draw's balls as a ticket is written, and its bonus.
std::string DrawBallsText(const store::Draw& draw);
// "18-Feb-2026 (3147)", or the day alone for a draw without a number.
std::string DrawNameText(const store::Draw& draw);

}  // namespace cli
