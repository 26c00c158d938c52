#include "check/WinningNumber.h"

#include <string_view>

namespace check {

std::optional<int> FindEmptyWinningPosition(const WinningTexts& winning) {
  // Only the exact two-zero text marks a missing pick; anything an edited data file may leave in
  // a box (an empty text, "7", "7-") is compared as it stands.
  constexpr std::string_view kEmptyPosition = "00";
  for (int position = 1; position <= static_cast<int>(winning.size()); ++position) {
    if (winning[position - 1] == kEmptyPosition) {
      return position;
    }
  }
  return std::nullopt;
}

}  // namespace check
