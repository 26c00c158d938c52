#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "check/Tiers.h"
#include "store/Problem.h"

namespace check {

// Money in the smallest unit (pence).
using Money = std::int64_t;

// What each tier pays, and how long a win may be claimed. Amounts change (the jackpot with every
// draw, the lower tiers in special draws), so they are the user's data: a tier without an amount
// is shown by its name for the prize, "Jackpot" for six and "Free ticket" for two.
struct PrizeTable {
  std::array<std::optional<Money>, kTierCount> amounts{};  // indexed by Tier; None unused
  int daysToClaim = 180;

  const std::optional<Money>& Amount(Tier tier) const {
    return amounts[static_cast<std::size_t>(tier)];
  }
  std::optional<Money>& Amount(Tier tier) { return amounts[static_cast<std::size_t>(tier)]; }
};

// The game's fixed amounts: 3 pays £30, 4 £140, 5 £1,750, 5 + bonus £1,000,000; 2 a free ticket;
// the jackpot varies.
PrizeTable DefaultPrizeTable();

// "£1,750", "£2.50".
std::string MoneyText(Money amount);
// An amount as a person types it: "1750", "1,750", "£1,750.00", "2.5". Nothing for anything else,
// a negative amount, or more than a thousand million pounds.
std::optional<Money> ParseMoney(std::string_view text);

// The prize of a tier as shown: its amount, or "Jackpot" / "Free ticket" / "No amount" without
// one; empty for None.
std::string PrizeText(const PrizeTable& prizes, Tier tier);

// Wins added up: the money of the tiers with amounts, and how many wins had none.
struct PrizeSum {
  Money money = 0;
  std::array<std::uint64_t, kTierCount> withoutAmount{};  // per tier

  void Add(const PrizeTable& prizes, Tier tier, std::uint64_t wins);
  // "£1,780 + 1 free ticket", "£0", "£1,000 + 1 jackpot".
  std::string Text() const;
};

// Where the user's prize table is kept: $XDG_CONFIG_HOME/pelmora/prizes.ini, else
// ~/.config/pelmora/prizes.ini; empty when there is no home.
std::string PrizeTablePath();

// The table kept at `path`. A missing file, key or unreadable value reads as the default.
store::Result<PrizeTable> LoadPrizeTable(const std::string& path);
// Writes the whole table, making the folder when missing.
store::Result<void> SavePrizeTable(const std::string& path, const PrizeTable& prizes);

}  // namespace check
