#include "check/WinningNumber.h"

#include <string_view>

#include "store/TicketRules.h"

namespace check {

namespace {

// A box holds a pick when its text is all digits and not the "00" of an empty pick. An empty
// text, or one with anything but digits (left by a data file edited outside the program), would
// be compared with the tickets' fields as it stands and match what it should not.
bool HoldsPick(std::string_view text) {
  return !text.empty() && text != store::kEmptyField &&
         text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::optional<int> FindEmptyWinningPosition(const WinningTexts& winning) {
  for (int position = 1; position <= static_cast<int>(winning.size()); ++position) {
    if (!HoldsPick(winning[position - 1])) {
      return position;
    }
  }
  return std::nullopt;
}

}  // namespace check
