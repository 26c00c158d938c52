#pragma once

#include <array>
#include <optional>
#include <string>

namespace check {

// The six texts of the winning-number boxes, position 1 first.
using WinningTexts = std::array<std::string, 6>;

// The lowest position (1..6) whose text is exactly "00", or nothing when the winning number is
// complete. No other rule applies: empty texts, single characters and repeats all pass.
std::optional<int> FindEmptyWinningPosition(const WinningTexts& winning);

}  // namespace check
