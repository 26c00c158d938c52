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
// time: the Draw History window checks 32,767 tickets against 3,200 draws and paints its tables
// in 40.0 ms (BENCHMARKS.md, goal 150 ms).
// Which numbers a ticket holds is decided by TicketMask, and the tier by TierForMatches, exactly
// as for one ticket.
class TicketBallSets {
 public:
  explicit TicketBallSets(const store::TicketTexts& tickets);

  // Calls `visit(ticket, tier)` for every ticket that won in `draw`, in list order.
  template <typename Visit>
  void ForEachWin(const store::Draw& draw, Visit&& visit) const {
    const Rows rows = RowsOf(draw);
    for (std::size_t w = 0; w < words_; ++w) {
      const Sum sum = Add(rows, w);
      std::uint64_t won = sum.b2 | sum.b1;  // two or more balls
      const std::uint64_t bonus = rows.bonus[w];
      while (won != 0) {
        const int bit = std::countr_zero(won);
        won &= won - 1;
        const unsigned key =
            static_cast<unsigned>(((sum.b0 >> bit) & 1u) | (((sum.b1 >> bit) & 1u) << 1) |
                                  (((sum.b2 >> bit) & 1u) << 2))
                << 1 |
            static_cast<unsigned>((bonus >> bit) & 1u);
        visit(w * 64 + static_cast<std::size_t>(bit), kTiers[key]);
      }
    }
  }

 private:
  // The sets of a draw's six balls and of its bonus ball. A ball outside 1..59 (a draw without a
  // bonus) gets the set of 0, which holds no ticket.
  struct Rows {
    std::array<const std::uint64_t*, store::kNumbersPerTicket> balls{};
    const std::uint64_t* bonus = nullptr;
  };
  Rows RowsOf(const store::Draw& draw) const {
    Rows rows;
    for (std::size_t k = 0; k < rows.balls.size(); ++k) {
      rows.balls[k] = Set(draw.balls[k]);
    }
    rows.bonus = Set(draw.bonus);
    return rows;
  }
  const std::uint64_t* Set(int ball) const {
    const bool valid = ball >= store::kLowestNumber && ball <= store::kHighestNumber;
    return sets_.data() + static_cast<std::size_t>(valid ? ball : 0) * words_;
  }

  // Per ticket, how many of the draw's six balls it holds, as three bit planes.
  struct Sum {
    std::uint64_t b0 = 0, b1 = 0, b2 = 0;
  };
  static Sum Add(const Rows& rows, std::size_t word) {
    Sum sum;
    for (const std::uint64_t* set : rows.balls) {
      const std::uint64_t x = set[word];
      const std::uint64_t c0 = sum.b0 & x;
      sum.b0 ^= x;
      const std::uint64_t c1 = sum.b1 & c0;
      sum.b1 ^= c0;
      sum.b2 |= c1;
    }
    return sum;
  }

  // The game's rule for every (balls held, bonus held) pair, indexed by balls * 2 + bonus: a
  // look-up instead of branches that no processor could predict.
  static constexpr std::array<Tier, 16> kTiers = [] {
    std::array<Tier, 16> tiers{};
    for (int key = 0; key < 16; ++key) {
      tiers[static_cast<std::size_t>(key)] = TierForMatches(key >> 1, (key & 1) != 0);
    }
    return tiers;
  }();

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
