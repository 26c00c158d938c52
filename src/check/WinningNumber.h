#pragma once

#include <optional>

#include "store/PlayNumber.h"

namespace check {

// The six texts of the winning-number boxes, position 1 first.
using WinningTexts = store::PlayFields;

// The lowest position (1..6) whose text is no pick: "00", empty, or anything but digits; nothing
// when every position holds one. Single digits and repeats pass.
std::optional<int> FindEmptyWinningPosition(const WinningTexts& winning);

}  // namespace check
