#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/MatchCheck.h"
#include "check/WinningNumber.h"

namespace check {
namespace {

const WinningTexts kWinning = {"05", "12", "23", "34", "45", "56"};

struct ValidationCase {
  const char* name;
  WinningTexts winning;
  std::optional<int> position;
};

class ValidationTest : public testing::TestWithParam<ValidationCase> {};

TEST_P(ValidationTest, ReportsLowestEmptyPosition) {
  EXPECT_EQ(FindEmptyWinningPosition(GetParam().winning), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Check, ValidationTest,
    testing::Values(ValidationCase{"complete", kWinning, std::nullopt},
                    ValidationCase{"allEmpty", {"00", "00", "00", "00", "00", "00"}, 1},
                    ValidationCase{"thirdAndFourth", {"05", "12", "00", "00", "33", "41"}, 3},
                    ValidationCase{"lastOnly", {"05", "12", "23", "34", "45", "00"}, 6},
                    // Digits pass, however many and whatever their value; an empty box or one with
                    // anything else is no pick, as "00" is.
                    ValidationCase{"digitsPass", {"0", "7", "99", "99", "123", "01"}, std::nullopt},
                    ValidationCase{"emptyBox", {"05", "", "23", "34", "45", "56"}, 2},
                    ValidationCase{"dashInBox", {"05", "12", "7-", "34", "45", "56"}, 3},
                    ValidationCase{"blankInBox", {"05", "12", "23", "0 ", "45", "56"}, 4},
                    ValidationCase{"letters", {"05", "12", "23", "34", "ab", "56"}, 5}),
    [](const testing::TestParamInfo<ValidationCase>& info) { return info.param.name; });

struct CountCase {
  const char* name;
  WinningTexts winning;
  std::string ticket;
  int matches;
};

class CountTest : public testing::TestWithParam<CountCase> {};

TEST_P(CountTest, CountsEqualPairs) {
  EXPECT_EQ(CountMatches(GetParam().winning, GetParam().ticket), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Check, CountTest,
    testing::Values(
        CountCase{"threeInPlace", kWinning, "05-12-23-01-02-03", 3},
        CountCase{"two", kWinning, "05-12-40-41-42-43", 2},
        CountCase{"allSixReversed", kWinning, "56-45-34-23-12-05", 6},
        CountCase{"allSixShuffled", kWinning, "34-05-56-12-45-23", 6},
        CountCase{"none", kWinning, "01-02-03-04-06-07", 0},
        CountCase{
            "repeatedWinningValue", {"07", "07", "21", "30", "41", "52"}, "07-21-30-01-02-03", 4},
        CountCase{"repeatedTicketValue", kWinning, "05-05-05-01-02-03", 3},
        CountCase{
            "singleCharacterBox", {"7", "12", "23", "34", "45", "56"}, "07-01-02-03-04-06", 0},
        CountCase{"separatorsIgnored", kWinning, "05x12y23z01-02-03", 3},
        // A field that is not two digits matches no two-digit box, whatever number it reads as.
        CountCase{"fieldsNotDigits", kWinning, "05-12-23--5-/5-56", 4},
        CountCase{"shortTicket", kWinning, "05-12", 2}, CountCase{"emptyTicket", kWinning, "", 0},
        CountCase{"clippedField", kWinning, "05-1", 1},
        // An empty box (a stored winning number shorter than 17 characters) matches each empty
        // field of a short ticket.
        CountCase{"emptyBoxShortTicket", {"05", "12", "", "34", "45", "56"}, "05-12", 6},
        CountCase{"emptyBoxFullTicket", {"05", "12", "", "34", "45", "56"}, "05-12-23-34-45-56", 5},
        CountCase{"longerTicket", kWinning, "05-12-23-34-45-56-99", 6}),
    [](const testing::TestParamInfo<CountCase>& info) { return info.param.name; });

// The check with the text it writes.
struct Checked {
  CheckSummary summary;
  std::string text;
};

Checked Check(const WinningTexts& winning, const store::TicketTexts& tickets) {
  Checked checked;
  checked.summary =
      WriteCheck(winning, tickets, [&checked](std::string_view piece) { checked.text += piece; });
  return checked;
}

TEST(CheckTest, ReportsTicketsWithThreeOrMoreInListOrder) {
  const Checked result =
      Check(kWinning, {"05-12-23-01-02-03", "05-12-40-41-42-43", "56-45-34-23-12-05"});
  EXPECT_EQ(result.summary.outcome, CheckOutcome::Results);
  EXPECT_EQ(result.text,
            "Matched: (3) in:05-12-23-01-02-03\r\n"
            "Matched: (6) in:56-45-34-23-12-05\r\n");
  EXPECT_EQ(result.summary.reported, 2u);
}

// The text goes out in pieces; a text of many pieces arrives whole and in order.
TEST(CheckTest, LongResultsArriveWholeInListOrder) {
  std::vector<std::string> tickets;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    tickets.push_back("05-12-23-01-02-03-" + std::to_string(i));
    expected += "Matched: (3) in:" + tickets.back() + "\r\n";
  }
  EXPECT_EQ(Check(kWinning, tickets).text, expected);
}

TEST(CheckTest, EmptyTicketFieldsNeverCount) {
  const Checked result =
      Check(kWinning, {"05-12-00-00-00-00", "00-00-00-00-00-00", "05-12-23-00-00-00"});
  EXPECT_EQ(result.text, "Matched: (3) in:05-12-23-00-00-00\r\n");
}

TEST(CheckTest, CountAboveSixIsReported) {
  const Checked result =
      Check({"07", "07", "21", "30", "41", "52"}, {"07-21-30-01-02-03", "07-07-07-01-02-03"});
  EXPECT_EQ(result.text,
            "Matched: (4) in:07-21-30-01-02-03\r\n"
            "Matched: (6) in:07-07-07-01-02-03\r\n");
}

TEST(CheckTest, NoReportedTicketGivesSorryText) {
  const Checked result = Check(kWinning, {"05-12-40-41-42-43", "23-34-01-02-03-04"});
  EXPECT_EQ(result.summary.outcome, CheckOutcome::Results);
  EXPECT_EQ(result.text,
            "Sorry, no tickets matched the winning number: \r\n"
            "05-12-23-34-45-56");
  EXPECT_EQ(result.summary.reported, 0u);
}

TEST(CheckTest, SorryTextShowsBoxesAsTheyStand) {
  const Checked result = Check({"7", "123", "23", "34", "45", "56"}, {"01-02-03-04-06-07"});
  EXPECT_EQ(result.text, "Sorry, no tickets matched the winning number: \r\n7-123-23-34-45-56");
}

// An empty box would match every empty ticket field and report more than six matches.
TEST(CheckTest, EmptyOrNonNumericBoxIsRefusedBeforeAnyCount) {
  const Checked result = Check({"05", "", "", "", "", ""}, {"05-", "05"});
  EXPECT_EQ(result.summary.outcome, CheckOutcome::InvalidWinningNumber);
  EXPECT_EQ(result.summary.invalidPosition, 2);
  EXPECT_EQ(result.summary.reported, 0u);
}

TEST(CheckTest, EmptyListGivesNoTickets) {
  const Checked result = Check(kWinning, {});
  EXPECT_EQ(result.summary.outcome, CheckOutcome::NoTickets);
  EXPECT_TRUE(result.text.empty());
}

TEST(CheckTest, ValidationComesBeforeEmptyList) {
  const Checked result = Check({"05", "12", "00", "00", "33", "41"}, {});
  EXPECT_EQ(result.summary.outcome, CheckOutcome::InvalidWinningNumber);
  EXPECT_EQ(result.summary.invalidPosition, 3);
}

TEST(CheckTest, AllEmptyWinningNumberNamesPositionOne) {
  const Checked result = Check({"00", "00", "00", "00", "00", "00"}, {"00-00-00-00-00-00"});
  EXPECT_EQ(result.summary.outcome, CheckOutcome::InvalidWinningNumber);
  EXPECT_EQ(result.summary.invalidPosition, 1);
  EXPECT_TRUE(result.text.empty());
  EXPECT_EQ(result.summary.reported, 0u);
}

}  // namespace
}  // namespace check
