// The deadline rule and the wins of a ticket list: which draws count, the order, the states, the
// totals, and claimed marks finding their win or being kept as loose marks.
#include <gtest/gtest.h>

#include "check/Wins.h"

namespace {

using check::WinState;

struct DeadlineCase {
  const char* name;
  store::Day draw;
  int days;
  store::Day today;
  bool claimed;
  store::Day deadline;
  WinState state;
  bool dueSoon;
};

class DeadlineRule : public ::testing::TestWithParam<DeadlineCase> {};

TEST_P(DeadlineRule, GivesDeadlineStateAndReminder) {
  const DeadlineCase& c = GetParam();
  const store::Day deadline = check::ClaimDeadline(c.draw, c.days);
  EXPECT_EQ(deadline, c.deadline);
  EXPECT_EQ(check::StateOn(deadline, c.today, c.claimed), c.state);
  EXPECT_EQ(check::DueSoon(deadline, c.today, c.claimed), c.dueSoon);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DeadlineRule,
    ::testing::Values(
        DeadlineCase{"DrawDayPlus180", 20260218, 180, 20260301, false, 20260817, WinState::ToClaim,
                     false},
        DeadlineCase{"AcrossYearEnd", 20251120, 180, 20260101, false, 20260519, WinState::ToClaim,
                     false},
        DeadlineCase{"LeapDay", 20240101, 59, 20240101, false, 20240229, WinState::ToClaim, false},
        DeadlineCase{"OwnDays", 20260218, 30, 20260301, false, 20260320, WinState::ToClaim, true},
        DeadlineCase{"OnDeadlineDayStillToClaim", 20260218, 180, 20260817, false, 20260817,
                     WinState::ToClaim, true},
        DeadlineCase{"DayAfterExpired", 20260218, 180, 20260818, false, 20260817, WinState::Expired,
                     false},
        DeadlineCase{"ThirtyDaysAheadIsDue", 20260218, 180, 20260718, false, 20260817,
                     WinState::ToClaim, true},
        DeadlineCase{"ThirtyOneDaysAheadIsNot", 20260218, 180, 20260717, false, 20260817,
                     WinState::ToClaim, false},
        DeadlineCase{"ClaimedIsNeverDue", 20260218, 180, 20260810, true, 20260817,
                     WinState::Claimed, false},
        DeadlineCase{"ClaimedAfterDeadline", 20250101, 180, 20260810, true, 20250630,
                     WinState::Claimed, false}),
    [](const auto& info) { return std::string(info.param.name); });

store::Draw MakeDraw(store::Day day, int number, std::array<int, 6> balls, int bonus) {
  store::Draw draw;
  draw.date = day;
  draw.number = number;
  draw.balls = balls;
  draw.bonus = bonus;
  return draw;
}

// Three draws, newest first as the history keeps them; the file's tickets win in all of them.
class WinsListTest : public ::testing::Test {
 protected:
  std::vector<store::Draw> draws = {
      MakeDraw(20260218, 3147, {1, 11, 12, 13, 18, 49}, 33),  // deadline 2026-08-17
      MakeDraw(20260103, 3134, {2, 3, 4, 5, 6, 7}, 8),        // deadline 2026-07-02
      MakeDraw(20250104, 3030, {1, 11, 40, 41, 42, 43}, 9),   // deadline 2025-07-03
  };
  store::TicketTexts tickets{"01-11-12-13-18-49", "02-03-04-05-06-59", "01-11-20-21-22-23",
                             "50-51-52-53-54-55"};
  check::PrizeTable prizes = check::DefaultPrizeTable();
  store::Day today = 20260610;

  check::WinsList Find(const store::WinsSection& section = {}) const {
    return check::WinsList::Find(tickets, draws, section, prizes, today);
  }
  static std::vector<std::string> Rows(const check::WinsList& list,
                                       std::optional<WinState> state = std::nullopt) {
    std::vector<std::string> rows;
    const check::WinRows view = list.Rows(state);
    for (std::size_t r = 0; r < view.size(); ++r) {
      const check::Win win = list.At(view.Position(r));
      rows.push_back(store::IsoDayText(win.deadline) + " " + std::to_string(win.ticket) + " " +
                     std::string(check::TierName(win.tier)) + " " + check::WinStateName(win.state));
    }
    return rows;
  }
  static store::ClaimMark Mark(int draw, int ticket, std::string text, store::Day drawDay) {
    return {store::ClaimMark::KeyFor(draw, drawDay, ticket), draw, drawDay, ticket, text, 20260601};
  }
};

TEST_F(WinsListTest, ToClaimSoonestFirstThenNewestFirst) {
  EXPECT_EQ(Rows(Find()), (std::vector<std::string>{
                              "2026-07-02 2 5 to claim",  // 2..6 of 2..7: five, bonus 8 missed
                              "2026-08-17 1 6 to claim",
                              "2026-08-17 3 2 to claim",
                              "2025-07-03 1 2 expired",
                              "2025-07-03 3 2 expired",
                          }));
}

TEST_F(WinsListTest, PlayingDatesLimitTheDraws) {
  store::WinsSection section;
  section.since = 20260101;
  section.until = 20260131;
  EXPECT_EQ(Rows(Find(section)), (std::vector<std::string>{"2026-07-02 2 5 to claim"}));
}

TEST_F(WinsListTest, TotalsAndReminderLeaveClaimedWinsOut) {
  store::WinsSection section;
  section.claims.push_back(Mark(3134, 2, "02-03-04-05-06-59", 20260103));
  const check::WinsList list = Find(section);
  EXPECT_EQ(list.Count(WinState::ToClaim), 2u);
  EXPECT_EQ(list.Count(WinState::Claimed), 1u);
  EXPECT_EQ(list.Count(WinState::Expired), 2u);
  EXPECT_EQ(list.Sum(WinState::Claimed).Text(), "£1,750");
  EXPECT_EQ(list.Sum(WinState::ToClaim).Text(), "1 jackpot + 1 free ticket");
  EXPECT_EQ(Rows(list, WinState::ToClaim),
            (std::vector<std::string>{"2026-08-17 1 6 to claim", "2026-08-17 3 2 to claim"}));
  EXPECT_EQ(Rows(list, WinState::Claimed), (std::vector<std::string>{"2026-07-02 2 5 claimed"}));
  // 2026-07-02 is claimed: the first open deadline is 2026-08-17, 68 days away.
  EXPECT_EQ(list.DueWithin().wins, 0u);
  EXPECT_EQ(list.DueWithin(70).wins, 2u);
  EXPECT_EQ(list.DueWithin(70).firstDeadline, 20260817);
}

TEST_F(WinsListTest, MarkFindsItsTicketAfterEarlierTicketsWereDeleted) {
  store::WinsSection section;
  section.claims.push_back(Mark(3147, 3, "01-11-20-21-22-23", 20260218));
  tickets = store::TicketTexts{"01-11-20-21-22-23", "50-51-52-53-54-55"};  // 1 and 2 deleted
  const check::WinsList list = Find(section);
  ASSERT_EQ(list.Count(WinState::Claimed), 1u);
  EXPECT_EQ(Rows(list, WinState::Claimed), (std::vector<std::string>{"2026-08-17 1 2 claimed"}));
  EXPECT_TRUE(list.LooseMarks().empty());
}

TEST_F(WinsListTest, MarksWithoutTheirWinAreKeptAsLooseMarks) {
  store::WinsSection section;
  section.since = 20250601;
  section.claims = {Mark(2999, 1, "01-11-12-13-18-49", 20240101),   // draw not in the history
                    Mark(3147, 4, "07-08-09-10-11-12", 20260218),   // ticket gone
                    Mark(3147, 4, "50-51-52-53-54-55", 20260218),   // ticket wins nothing there
                    Mark(3030, 1, "01-11-12-13-18-49", 20250104),   // draw before Since
                    Mark(0, 1, "01-11-12-13-18-49", 20260218),      // by day: finds its win
                    Mark(3147, 1, "01-11-12-13-18-49", 20260218)};  // the same win again
  const check::WinsList list = Find(section);
  ASSERT_EQ(list.LooseMarks().size(), 5u);
  EXPECT_EQ(list.LooseMarks()[0].reason, "draw 2999 is not in the draw history");
  EXPECT_EQ(list.LooseMarks()[1].reason, "ticket 4 (07-08-09-10-11-12) is no longer in the file");
  EXPECT_EQ(list.LooseMarks()[2].reason, "ticket 50-51-52-53-54-55 wins nothing in draw 3147");
  EXPECT_EQ(list.LooseMarks()[3].reason, "draw 3030 is outside the draws this file plays");
  EXPECT_EQ(list.LooseMarks()[4].reason, "another mark claims the same win");
  EXPECT_EQ(list.Count(WinState::Claimed), 1u);
}

}  // namespace
