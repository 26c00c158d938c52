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
    : words_((tickets.size() + 63) / 64) {
  sets_.assign((store::kHighestNumber + 1) * words_, 0);
  for (std::size_t t = 0; t < tickets.size(); ++t) {
    BallMask mask = TicketMask(tickets[t]);
    while (mask != 0) {
      const int ball = std::countr_zero(mask);
      mask &= mask - 1;
      sets_[static_cast<std::size_t>(ball) * words_ + t / 64] |= std::uint64_t{1} << (t % 64);
    }
  }
}

RangeWins CountWins(const TicketBallSets& tickets, const std::vector<store::Draw>& draws) {
  RangeWins wins;
  wins.perDraw.reserve(draws.size());
  for (const store::Draw& draw : draws) {
    TierCounts& counts = wins.perDraw.emplace_back();
    tickets.ForEachWin(draw,
                       [&](std::size_t, Tier tier) { ++counts[static_cast<std::size_t>(tier)]; });
    AddCounts(wins.total, counts);
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
