// The pick rules of the number grid: a table of starting fields, picks (+n) and unpicks (-n), and
// what the grid shows afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/TicketPicks.h"

namespace {

struct PicksCase {
  const char* name;
  const char* start;  // fields as the winning number holds them; empty: a fresh ticket
  std::vector<int> moves;
  const char* ticket;
  int count;
  int enabledBoxes;
};

void PrintTo(const PicksCase& c, std::ostream* out) {
  *out << c.name;
}

class TicketPicksTable : public ::testing::TestWithParam<PicksCase> {};

TEST_P(TicketPicksTable, ShowsTheTicketTheCountAndTheBoxesThatTakeAClick) {
  const PicksCase& c = GetParam();
  check::TicketPicks picks;
  if (*c.start)
    picks.StartFrom(store::SplitPlayNumber(c.start));
  for (int move : c.moves) {
    if (move > 0)
      picks.Pick(move);
    else
      picks.Unpick(-move);
  }
  EXPECT_EQ(picks.TicketText(), c.ticket);
  EXPECT_EQ(picks.Count(), c.count);
  int enabled = 0;
  for (int n = 1; n <= 59; ++n)
    enabled += picks.BoxEnabled(n) ? 1 : 0;
  EXPECT_EQ(enabled, c.enabledBoxes);
  EXPECT_EQ(picks.Complete(), c.count == 6);
}

const PicksCase kCases[] = {
    {"Nothing", "", {}, "00-00-00-00-00-00", 0, 59},
    {"KeepsPickOrder", "", {40, 3, 22, 9, 17}, "40-03-22-09-17-00", 5, 59},
    {"SixthPickLocksTheOthers", "", {40, 3, 22, 9, 17, 58}, "40-03-22-09-17-58", 6, 6},
    {"UnpickLeavesAGap", "", {5, 12, 30, -12}, "05-00-30-00-00-00", 2, 59},
    {"NextPickFillsTheGap", "", {5, 12, 30, -12, 7}, "05-07-30-00-00-00", 3, 59},
    {"UnpickAtTheLimitFreesEveryBox", "", {1, 2, 3, 4, 5, 6, -3}, "01-02-00-04-05-06", 5, 59},
    {"RepeatedPickCountsOnce", "", {9, 9}, "09-00-00-00-00-00", 1, 59},
    {"UnpickOfANumberNotPicked", "", {9, -10}, "09-00-00-00-00-00", 1, 59},
    {"NumbersOffTheGridAreRefused", "", {0, 60, -60}, "00-00-00-00-00-00", 0, 59},
    {"TwoDigitsStayTwoDigits", "", {12, 59}, "12-59-00-00-00-00", 2, 59},
    {"WinningNumberKeepsItsFields",
     "07-14-21-28-35-42",
     {7, 14, 21, 28, 35, 42},
     "07-14-21-28-35-42",
     6,
     6},
    {"PartWinningNumberPicksOnInField3",
     "05-12-00-00-00-00",
     {5, 12, 33},
     "05-12-33-00-00-00",
     3,
     59},
    {"ShortStoredNumberReadsAsEmptyFields", "05", {5}, "05-00-00-00-00-00", 1, 59},
    {"ShortFieldGainsItsZero", "05-1", {}, "05-01-00-00-00-00", 0, 59},
    {"TextFieldsStayUntilAPickReplacesThem",
     "ab-05-12-05-60-00",
     {5, 12},
     "ab-05-12-05-60-00",
     2,
     59},
    {"UnpickEmptiesEveryFieldHoldingIt",
     "ab-05-12-05-60-00",
     {5, 12, -5},
     "ab-00-12-00-60-00",
     1,
     59},
    {"PicksReplaceTextThatNamesNoBox",
     "ab-05-12-05-60-00",
     {5, 12, -5, 7, 8},
     "07-08-12-00-60-00",
     3,
     59},
};

INSTANTIATE_TEST_SUITE_P(Grid, TicketPicksTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TicketPicks, ClearForgetsPicksAndFields) {
  check::TicketPicks picks;
  picks.StartFrom(store::SplitPlayNumber("07-14-21-28-35-42"));
  picks.Pick(7);
  picks.Clear();
  EXPECT_EQ(picks.TicketText(), "00-00-00-00-00-00");
  EXPECT_EQ(picks.Count(), 0);
  EXPECT_FALSE(picks.IsPicked(7));
  EXPECT_EQ(picks.Limit(), 6);
}

}  // namespace
