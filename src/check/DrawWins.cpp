#include "check/DrawWins.h"

#include <algorithm>

namespace check {

PrizeSum PrizesOf(const PrizeTable& prizes, const TierCounts& counts) {
  PrizeSum sum;
  for (const Tier tier : kWinningTiers) {
    sum.Add(prizes, tier, counts[static_cast<std::size_t>(tier)]);
  }
  return sum;
}

TicketBallSets::TicketBallSets(const store::TicketTexts& tickets)
    : tickets_(tickets.size()), words_((tickets.size() + 63) / 64) {
  sets_.assign((store::kHighestNumber + 1) * words_, 0);
  for (std::size_t t = 0; t < tickets_; ++t) {
    BallMask mask = TicketMask(tickets[t]);
    while (mask != 0) {
      const int ball = std::countr_zero(mask);
      mask &= mask - 1;
      sets_[static_cast<std::size_t>(ball) * words_ + t / 64] |= std::uint64_t{1} << (t % 64);
    }
  }
}

TierCounts TicketBallSets::Count(const store::Draw& draw) const {
  // Tickets counted 64 at a time by how many balls they hold and whether they hold the bonus,
  // then each such class given its tier by the rule.
  std::array<std::uint64_t, kTiers.size()> byKey{};
  const Rows rows = RowsOf(draw);
  for (std::size_t w = 0; w < words_; ++w) {
    const Sum sum = Add(rows, w);
    if ((sum.b2 | sum.b1) == 0) {
      continue;  // no ticket here holds two balls
    }
    const std::uint64_t bonus = rows.bonus[w];
    const std::array<std::uint64_t, 5> held = {
        sum.b1 & ~sum.b2 & ~sum.b0, sum.b1 & ~sum.b2 & sum.b0, sum.b2 & ~sum.b1 & ~sum.b0,
        sum.b2 & ~sum.b1 & sum.b0, sum.b2 & sum.b1 & ~sum.b0};  // two to six balls
    for (std::size_t i = 0; i < held.size(); ++i) {
      if (held[i] == 0) {
        continue;
      }
      const std::size_t key = (i + 2) * 2;
      const std::uint64_t withBonus = held[i] & bonus;
      byKey[key] += static_cast<std::uint64_t>(std::popcount(held[i]));
      if (withBonus != 0) {
        const auto count = static_cast<std::uint64_t>(std::popcount(withBonus));
        byKey[key] -= count;
        byKey[key + 1] += count;
      }
    }
  }
  TierCounts counts{};
  for (std::size_t key = 0; key < byKey.size(); ++key) {
    counts[static_cast<std::size_t>(kTiers[key])] += byKey[key];
  }
  counts[static_cast<std::size_t>(Tier::None)] = 0;
  return counts;
}

RangeWins CountWins(const TicketBallSets& tickets, const std::vector<store::Draw>& draws,
                    std::size_t first, std::size_t last) {
  RangeWins wins;
  last = std::min(last, draws.size());
  first = std::min(first, last);
  wins.perDraw.reserve(last - first);
  for (std::size_t d = first; d < last; ++d) {
    wins.perDraw.push_back(tickets.Count(draws[d]));
    AddCounts(wins.total, wins.perDraw.back());
  }
  return wins;
}

DrawSpan DrawsBetween(const std::vector<store::Draw>& newestFirst, store::DrawDay from,
                      store::DrawDay to) {
  DrawSpan span{0, newestFirst.size()};
  if (to != 0) {
    span.first = static_cast<std::size_t>(
        std::find_if(newestFirst.begin(), newestFirst.end(),
                     [to](const store::Draw& draw) { return draw.date <= to; }) -
        newestFirst.begin());
  }
  if (from != 0) {
    span.last = static_cast<std::size_t>(
        std::find_if(newestFirst.begin() + static_cast<std::ptrdiff_t>(span.first),
                     newestFirst.end(),
                     [from](const store::Draw& draw) { return draw.date < from; }) -
        newestFirst.begin());
  }
  return span;
}

}  // namespace check
