#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "check/WinningNumber.h"
#include "store/TicketTexts.h"

namespace check {

enum class CheckOutcome { InvalidWinningNumber, NoTickets, Results };

struct ReportedTicket {
  std::size_t index = 0;  // position in the play list, from 0
  int matches = 0;
};

struct CheckResult {
  CheckOutcome outcome = CheckOutcome::Results;
  int invalidPosition = 0;               // 1..6 when outcome is InvalidWinningNumber
  std::string text;                      // the results text when outcome is Results
  std::vector<ReportedTicket> reported;  // tickets with three or more matches, in list order
};

// Number of equal (winning box, ticket field) pairs over all 36 pairs; texts compare exactly.
int CountMatches(const WinningTexts& winning, const std::string& ticket);

// The whole check: validation first, then the empty list, then one line
// "Matched: (<count>) in:<ticket>" CR LF per ticket with three or more matches, or the sorry text
// "Sorry, no tickets matched the winning number: " CR LF "<w1>-<w2>-...-<w6>" without a line end.
CheckResult RunCheck(const WinningTexts& winning, const store::TicketTexts& tickets);

// The same check, handing the results text to `write` in pieces as it is made instead of keeping
// it: the bytes are those of RunCheck's text. A piece that `write` refuses ends the check.
struct CheckSummary {
  CheckOutcome outcome = CheckOutcome::Results;
  int invalidPosition = 0;   // 1..6 when outcome is InvalidWinningNumber
  std::size_t reported = 0;  // tickets with three or more matches
};
CheckSummary WriteCheck(const WinningTexts& winning, const store::TicketTexts& tickets,
                        const std::function<bool(std::string_view)>& write);

}  // namespace check
