#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "check/WinningNumber.h"
#include "store/TicketTexts.h"

namespace check {

enum class CheckOutcome { InvalidWinningNumber, NoTickets, Results };

struct CheckSummary {
  CheckOutcome outcome = CheckOutcome::Results;
  int invalidPosition = 0;   // 1..6 when outcome is InvalidWinningNumber
  std::size_t reported = 0;  // tickets with three or more matches
};

// Number of equal (winning box, ticket field) pairs over all 36 pairs; texts compare exactly.
int CountMatches(const WinningTexts& winning, std::string_view ticket);

// The whole check: validation first, then the empty list, then the results text handed to
// `write` in pieces as it is made: one line "Matched: (<count>) in:<ticket>" CR LF per ticket
// with three or more matches, in list order, or the sorry text
// "Sorry, no tickets matched the winning number: " CR LF "<w1>-<w2>-...-<w6>" without a line end.
CheckSummary WriteCheck(const WinningTexts& winning, const store::TicketTexts& tickets,
                        const std::function<void(std::string_view)>& write);

}  // namespace check
