#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "check/DrawWins.h"
#include "check/PrizeTable.h"
#include "check/Tiers.h"
#include "store/PlayNumber.h"

namespace check {
namespace {

// One ticket against a draw's balls and bonus ball (0: none), by the rule the sets of a whole
// list follow: the numbers TicketMask finds, the tier TierForMatches gives.
Tier TierOf(std::string_view ticket, const std::array<int, 6>& balls, int bonus) {
  const BallMask held = TicketMask(ticket);
  BallMask drawn = 0;
  for (const int n : balls) {
    drawn |= n >= 1 && n <= 59 ? BallMask{1} << n : 0;
  }
  return TierForMatches(std::popcount(held & drawn),
                        bonus > 0 && bonus < 64 && ((held >> bonus) & 1u) != 0);
}

constexpr std::array<int, 6> kBalls = {1, 11, 12, 13, 18, 49};
constexpr int kBonus = 33;

struct TierCase {
  const char* name;
  const char* ticket;
  Tier tier;
};

class TierTest : public testing::TestWithParam<TierCase> {};

TEST_P(TierTest, LineWinsItsHighestTierOnly) {
  EXPECT_EQ(TierOf(GetParam().ticket, kBalls, kBonus), GetParam().tier);
}

INSTANTIATE_TEST_SUITE_P(
    Tiers, TierTest,
    testing::Values(TierCase{"six", "49-18-13-12-11-01", Tier::Six},
                    TierCase{"fiveAndBonus", "01-11-12-13-18-33", Tier::FiveAndBonus},
                    TierCase{"five", "01-11-12-13-18-34", Tier::Five},
                    TierCase{"four", "01-11-12-13-20-21", Tier::Four},
                    TierCase{"fourWithBonusIgnored", "01-11-12-13-33-21", Tier::Four},
                    TierCase{"three", "01-11-12-02-03-04", Tier::Three},
                    TierCase{"threeWithBonusIgnored", "01-11-12-33-03-04", Tier::Three},
                    TierCase{"two", "01-11-02-03-04-05", Tier::Two},
                    TierCase{"twoWithBonusIgnored", "01-11-33-03-04-05", Tier::Two},
                    TierCase{"one", "01-02-03-04-05-06", Tier::None},
                    TierCase{"bonusAlone", "33-02-03-04-05-06", Tier::None},
                    // A field is compared as the check compares it: "1" is not ball 1.
                    TierCase{"singleDigitField", "1-11-12-13-18-49", Tier::None},
                    TierCase{"emptyFields", "01-11-00-00-00-00", Tier::Two},
                    // A ball written twice is held once.
                    TierCase{"repeatedField", "01-01-11-02-03-04", Tier::Two}),
    [](const testing::TestParamInfo<TierCase>& info) { return info.param.name; });

TEST(Tiers, WithoutBonusFiveStaysFive) {
  EXPECT_EQ(TierOf("01-11-12-13-18-33", kBalls, 0), Tier::Five);
}

struct MoneyCase {
  const char* name;
  const char* typed;
  std::optional<Money> amount;
  const char* shown;
};

class MoneyTest : public testing::TestWithParam<MoneyCase> {};

TEST_P(MoneyTest, ReadsAndShowsAmounts) {
  EXPECT_EQ(ParseMoney(GetParam().typed), GetParam().amount);
  if (GetParam().amount) {
    EXPECT_EQ(MoneyText(*GetParam().amount), GetParam().shown);
  }
}

INSTANTIATE_TEST_SUITE_P(Prizes, MoneyTest,
                         testing::Values(MoneyCase{"plain", "1750", 175000,
                                                   "\xC2\xA3"
                                                   "1,750"},
                                         MoneyCase{"grouped",
                                                   " \xC2\xA3"
                                                   "1,000,000 ",
                                                   100000000,
                                                   "\xC2\xA3"
                                                   "1,000,000"},
                                         MoneyCase{"pence", "2.5", 250,
                                                   "\xC2\xA3"
                                                   "2.50"},
                                         MoneyCase{"smallPence", "0.05", 5,
                                                   "\xC2\xA3"
                                                   "0.05"},
                                         MoneyCase{"negative", "-5", std::nullopt, ""},
                                         MoneyCase{"letters", "ten", std::nullopt, ""},
                                         MoneyCase{"threeDecimals", "1.234", std::nullopt, ""},
                                         MoneyCase{"empty", "", std::nullopt, ""},
                                         MoneyCase{"tooLarge", "99999999999", std::nullopt, ""}),
                         [](const testing::TestParamInfo<MoneyCase>& info) {
                           return info.param.name;
                         });

TEST(Prizes, DefaultsShowJackpotAndFreeTicket) {
  const PrizeTable prizes = DefaultPrizeTable();
  EXPECT_EQ(PrizeText(prizes, Tier::Six), "Jackpot");
  EXPECT_EQ(PrizeText(prizes, Tier::FiveAndBonus),
            "\xC2\xA3"
            "1,000,000");
  EXPECT_EQ(PrizeText(prizes, Tier::Two), "Free ticket");
  EXPECT_EQ(prizes.daysToClaim, 180);
  PrizeSum sum;
  sum.Add(prizes, Tier::Three, 2);
  sum.Add(prizes, Tier::Two, 1);
  sum.Add(prizes, Tier::Six, 1);
  EXPECT_EQ(sum.Text(),
            "\xC2\xA3"
            "60 + 1 jackpot + 1 free ticket");
}

TEST(Prizes, KeptTableReadsBackAndMissingFileReadsDefaults) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("pelmora-prizes-" + std::to_string(::getpid()));
  const std::string path = (folder / "pelmora" / "prizes.ini").string();
  EXPECT_EQ(LoadPrizeTable(path)->Amount(Tier::Four), DefaultPrizeTable().Amount(Tier::Four));
  PrizeTable prizes = DefaultPrizeTable();
  prizes.Amount(Tier::Six) = 123456789;
  prizes.Amount(Tier::Three).reset();
  prizes.daysToClaim = 90;
  ASSERT_TRUE(SavePrizeTable(path, prizes));
  const store::Result<PrizeTable> read = LoadPrizeTable(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->amounts, prizes.amounts);
  EXPECT_EQ(read->daysToClaim, 90);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace check

namespace check {
namespace {

// The sets of a whole list decide every ticket's tier as the one-ticket routine does, through
// every word boundary and with odd tickets among them.
TEST(DrawWins, SetsAgreeWithTheTierOfEachTicket) {
  std::minstd_rand random(7);
  store::TicketTexts tickets;
  for (int t = 0; t < 200; ++t) {
    std::string ticket;
    for (int k = 0; k < 6; ++k) {
      ticket += (k > 0 ? "-" : "") + store::TwoDigitField(1 + static_cast<int>(random() % 12));
    }
    tickets.push_back(t % 50 == 0 ? "1-02-00-x4-05-06" : ticket);
  }
  const TicketBallSets sets(tickets);
  for (int d = 0; d < 40; ++d) {
    store::Draw draw;
    draw.balls = {1, 2, 3, 4, 5, 6};
    std::shuffle(draw.balls.begin(), draw.balls.end(), random);
    draw.balls[0] = 7 + d % 6;
    draw.bonus = d % 3 == 0 ? 0 : 13 + d % 2;
    if (d % 2 == 0) {
      draw.bonus = 12;
      draw.balls = {1, 2, 3, 4, 5, 7};
    }
    std::vector<Tier> expected(tickets.size(), Tier::None);
    for (std::size_t t = 0; t < tickets.size(); ++t) {
      expected[t] = TierOf(tickets[t], draw.balls, draw.bonus);
    }
    std::vector<Tier> got(tickets.size(), Tier::None);
    sets.ForEachWin(draw, [&](std::size_t t, Tier tier) { got[t] = tier; });
    EXPECT_EQ(got, expected) << "draw " << d;
    TierCounts counts{};
    for (const Tier tier : expected) {
      counts[static_cast<std::size_t>(tier)] += tier == Tier::None ? 0 : 1;
    }
    EXPECT_EQ(CountWins(sets, {draw}).total, counts) << "draw " << d;
  }
}

TEST(DrawWins, DaysSelectARunOfNewestFirstDraws) {
  std::vector<store::Draw> draws(4);
  draws[0].date = 20260218;
  draws[1].date = 20260214;
  draws[2].date = 20251011;
  draws[3].date = 20251008;
  const DrawSpan span = DrawsBetween(draws, 20251010, 20260215);
  EXPECT_EQ(span.first, 1u);
  EXPECT_EQ(span.last, 3u);
  EXPECT_EQ(DrawsBetween(draws, 0, 0).last, 4u);
}

}  // namespace
}  // namespace check
