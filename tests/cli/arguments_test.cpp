#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/Arguments.h"

namespace cli {
namespace {

TEST(ArgumentsTest, ReadsEachCommand) {
  store::Result<Options> parsed = ParseArguments({"--winning", "05-12-23-34-45-56", "a.pmd"});
  ASSERT_TRUE(parsed) << parsed.error().reason;
  EXPECT_EQ(parsed->mode, Mode::Check);
  EXPECT_EQ(parsed->winning, "05-12-23-34-45-56");
  EXPECT_EQ(parsed->dataFile, "a.pmd");

  parsed = ParseArguments({"a.pmd", "--import=-", "--skip-bad"});
  ASSERT_TRUE(parsed) << parsed.error().reason;
  EXPECT_EQ(parsed->mode, Mode::Import);
  EXPECT_EQ(parsed->importFile, "-");
  EXPECT_TRUE(parsed->skipBad);

  parsed = ParseArguments({"--draws", "d.csv", "--", "--odd-name.pmd"});
  ASSERT_TRUE(parsed) << parsed.error().reason;
  EXPECT_EQ(parsed->mode, Mode::Draws);
  EXPECT_EQ(parsed->dataFile, "--odd-name.pmd");

  parsed = ParseArguments({"--import", "t.csv", "--columns", "2, 4-6 ,Bonus,9", "--lf", "a.pmd"});
  ASSERT_TRUE(parsed) << parsed.error().reason;
  EXPECT_TRUE(parsed->lfLineEnds);
  std::vector<std::string> picks;
  for (const ColumnPick& pick : parsed->columns) {
    picks.push_back(pick.place != 0 ? std::to_string(pick.place) : pick.name);
  }
  EXPECT_EQ(picks, (std::vector<std::string>{"2", "4", "5", "6", "Bonus", "9"}));

  EXPECT_EQ(ParseArguments({"--export", "csv", "a.pmd"})->mode, Mode::Export);
  EXPECT_EQ(ParseArguments({"a.pmd", "--duplicates"})->mode, Mode::Duplicates);
  // Help works whatever else is wrong on the line.
  EXPECT_EQ(ParseArguments({"--bogus", "-h"})->mode, Mode::Help);
  EXPECT_EQ(ParseArguments({}).error().reason, "no data file given");
}

struct BadCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string problem;
};

// Test logs name the case rather than dumping its bytes.
void PrintTo(const BadCase& c, std::ostream* out) {
  *out << c.name;
}

class BadArgumentsTest : public testing::TestWithParam<BadCase> {};

TEST_P(BadArgumentsTest, NamesTheProblem) {
  const store::Result<Options> parsed = ParseArguments(GetParam().arguments);
  ASSERT_FALSE(parsed);
  EXPECT_EQ(parsed.error().reason, GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, BadArgumentsTest,
    testing::Values(
        BadCase{"unknown", {"--frobnicate", "a.pmd"}, "unknown option \"--frobnicate\""},
        BadCase{"missingValue",
                {"a.pmd", "--winning"},
                "--winning needs a winning number such as 05-12-23-34-45-56"},
        BadCase{"emptyFileName", {"--draws=", "a.pmd"}, "--draws needs a file name"},
        BadCase{"otherFormat",
                {"--export", "json", "a.pmd"},
                "--export knows only the format csv, not \"json\""},
        BadCase{"twoCommands",
                {"--duplicates", "--import", "t.txt", "a.pmd"},
                "--duplicates and --import cannot be used together"},
        BadCase{
            "sameTwice", {"--duplicates", "--duplicates", "a.pmd"}, "--duplicates is given twice"},
        BadCase{"winningWithDraws",
                {"--winning", "1-2-3-4-5-6", "--draws", "d.csv", "a.pmd"},
                "--winning cannot be used with --draws"},
        BadCase{"skipBadAlone",
                {"--skip-bad", "a.pmd"},
                "--skip-bad works only with --import, --draws or --add-draws"},
        BadCase{"flagWithValue", {"--duplicates=yes", "a.pmd"}, "--duplicates takes no value"},
        BadCase{"columnsWithoutImport",
                {"--columns=2-7", "a.pmd"},
                "--columns works only with --import"},
        BadCase{"fiveColumns",
                {"--import", "t.csv", "--columns", "2-6", "a.pmd"},
                "--columns needs six columns, such as 2-7 or 2,3,4,5,6,7; \"2-6\" names 5"},
        BadCase{"columnTwice",
                {"--import", "t.csv", "--columns", "1-5,3", "a.pmd"},
                "--columns names column 3 twice"},
        BadCase{"columnZero",
                {"--import", "t.csv", "--columns", "0,1,2,3,4,5", "a.pmd"},
                "--columns: 0 is not a column from 1 to 1000"},
        BadCase{"emptyColumn",
                {"--import", "t.csv", "--columns", "1,2,,3,4,5", "a.pmd"},
                "--columns has an empty item"},
        BadCase{"lfWithValue", {"--lf=yes", "a.pmd"}, "--lf takes no value"},
        BadCase{"twoFiles", {"a.pmd", "b.pmd"}, "one data file only, not \"a.pmd\" and \"b.pmd\""}),
    [](const testing::TestParamInfo<BadCase>& info) { return info.param.name; });

}  // namespace
}  // namespace cli
