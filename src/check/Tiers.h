#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/TicketRules.h"

namespace check {

// What a ticket line won in one draw of the 6-of-59 game with a bonus ball, lowest first. A line
// wins its highest tier only: five numbers and the bonus is FiveAndBonus, never also Five.
enum class Tier : std::uint8_t { None, Two, Three, Four, Five, FiveAndBonus, Six };
inline constexpr std::size_t kTierCount = 7;  // None included

// The winning tiers, highest first, as reports and tables list them.
inline constexpr std::array<Tier, 6> kWinningTiers = {Tier::Six,  Tier::FiveAndBonus, Tier::Five,
                                                      Tier::Four, Tier::Three,        Tier::Two};

// How a tier is named to a person: "6", "5 + bonus", "5", "4", "3", "2"; "none" for None.
std::string_view TierName(Tier tier);

// The six balls of a draw as bits: bit n is set for ball n.
using BallMask = std::uint64_t;

// The numbers a ticket text can win with, as bits. A field counts when it is the two-digit text
// of a number from 1 to 59, exactly as the check compares a field with a winning box; any other
// field ("00", "7", letters) wins nothing. A number written in two fields counts once: a line
// holds each drawn ball or it does not.
BallMask TicketMask(std::string_view ticket);

// The rule of the game: the tier of a line that holds `matched` of the six balls, and the bonus
// ball or not. The bonus counts only for a line that matched exactly five; fewer than two wins
// nothing.
constexpr Tier TierForMatches(int matched, bool bonusMatched) {
  if (matched < 2) {
    return Tier::None;
  }
  if (matched == 5) {
    return bonusMatched ? Tier::FiveAndBonus : Tier::Five;
  }
  return matched >= 6 ? Tier::Six : static_cast<Tier>(matched - 1);
}

}  // namespace check
