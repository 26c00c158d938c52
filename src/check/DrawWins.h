#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "check/PrizeTable.h"
#include "check/Tiers.h"
#include "store/DrawHistory.h"
#include "store/TicketTexts.h"

namespace check {

// Wins per tier, indexed by Tier (None unused).
using TierCounts = std::array<std::uint64_t, kTierCount>;

inline void AddCounts(TierCounts& to, const TierCounts& counts) {
  for (std::size_t i = 0; i < to.size(); ++i) {
    to[i] += counts[i];
  }
}

// The money and the prizes without an amount that `counts` wins.
PrizeSum PrizesOf(const PrizeTable& prizes, const TierCounts& counts);

// A list of tickets made ready to be checked against many draws: for every ball, the set of
// tickets that hold it, 64 tickets to a word. A draw then adds up six sets for 64 tickets at a
// time. Which numbers a ticket holds is decided by TicketMask, and the tier by TierForMatches,
// exactly as for one ticket.
// Without the sets (each ticket's mask and std::popcount, a library call on baseline x86-64),
// at 32,767 tickets and 3,200 draws: the Draw History window 307.1 ms against the goal 150 ms
// (42.2 ms with them), pelmora-check --draws 428.3 ms against 300 ms (276.2 ms with them, in the
// same run, before the report made its line starts and ends once).
class TicketBallSets {
 public:
  explicit TicketBallSets(const store::TicketTexts& tickets);

  // Calls `visit(ticket, tier)` for every ticket that won in `draw`, in list order.
  template <typename Visit>
  void ForEachWin(const store::Draw& draw, Visit&& visit) const {
    for (std::size_t w = 0; w < words_; ++w) {
      // Per ticket, how many of the draw's six balls it holds, as three bit planes.
      std::uint64_t b0 = 0, b1 = 0, b2 = 0;
      for (const int ball : draw.balls) {
        const std::uint64_t held = Word(ball, w);
        const std::uint64_t carry = b0 & held;
        b0 ^= held;
        b2 |= b1 & carry;
        b1 ^= carry;
      }
      const std::uint64_t bonus = Word(draw.bonus, w);
      std::uint64_t won = b2 | b1;  // two or more balls
      while (won != 0) {
        const int bit = std::countr_zero(won);
        won &= won - 1;
        const int balls = static_cast<int>(((b0 >> bit) & 1u) | (((b1 >> bit) & 1u) << 1) |
                                           (((b2 >> bit) & 1u) << 2));
        visit(w * 64 + static_cast<std::size_t>(bit),
              TierForMatches(balls, ((bonus >> bit) & 1u) != 0));
      }
    }
  }

 private:
  // Word `w` of the set of `ball`; a ball outside 1..59 (a draw without a bonus) holds no ticket.
  std::uint64_t Word(int ball, std::size_t w) const {
    const bool valid = ball >= store::kLowestNumber && ball <= store::kHighestNumber;
    return valid ? sets_[static_cast<std::size_t>(ball) * words_ + w] : 0;
  }

  std::size_t words_ = 0;
  std::vector<std::uint64_t> sets_;  // (kHighestNumber + 1) sets of words_ words
};

// The wins of a list over a run of draws: per draw and in total.
struct RangeWins {
  std::vector<TierCounts> perDraw;  // in the order of the draws given
  TierCounts total{};
};
RangeWins CountWins(const TicketBallSets& tickets, const std::vector<store::Draw>& draws);

// The draws from `from` to `to` (days, inclusive; 0 leaves that end open) of draws sorted
// newest first: [first, last) positions.
struct DrawSpan {
  std::size_t first = 0;
  std::size_t last = 0;
};
DrawSpan DrawsBetween(const std::vector<store::Draw>& newestFirst, store::DrawDay from,
                      store::DrawDay to);

}  // namespace check
