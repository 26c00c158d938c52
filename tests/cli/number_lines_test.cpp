#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/NumberLines.h"

namespace cli {
namespace {

struct LineCase {
  const char* name;
  std::string text;
  std::string ticketOrProblem;  // the stored ticket, or the problem when refused
};

class SixNumbersTest : public testing::TestWithParam<LineCase> {};

TEST_P(SixNumbersTest, ReadsOrRefuses) {
  const store::Result<SixNumbers> parsed = SixNumbersOf(NumberWords(GetParam().text));
  EXPECT_EQ(parsed ? TicketText(*parsed) : parsed.error().reason, GetParam().ticketOrProblem);
}

INSTANTIATE_TEST_SUITE_P(
    Import, SixNumbersTest,
    testing::Values(LineCase{"blanks", "5 12 30 41 8 55", "05-12-30-41-08-55"},
                    LineCase{"storedForm", "05-12-30-41-08-55", "05-12-30-41-08-55"},
                    LineCase{"commas", "5,12,30,41,8,55", "05-12-30-41-08-55"},
                    LineCase{"quotedSemicolons", "\"5\";\"12\";\"30\";\"41\";\"8\";\"55\"",
                             "05-12-30-41-08-55"},
                    LineCase{"tabsAndRuns", "\t5\t\t12 ,30 | 41/8 .55  ", "05-12-30-41-08-55"},
                    LineCase{"orderKept", "55 8 41 30 12 5", "55-08-41-30-12-05"},
                    LineCase{"leadingZeros", "001 2 3 4 5 059", "01-02-03-04-05-59"},
                    LineCase{"five", "5 12 30 41 8", "holds 5 numbers, not 6"},
                    LineCase{"seven", "5 12 30 41 8 55 7", "holds 7 numbers, not 6"},
                    LineCase{"zero", "0 12 30 41 8 55", "0 is outside 1 to 59"},
                    LineCase{"sixty", "5 12 30 41 8 60", "60 is outside 1 to 59"},
                    LineCase{"hugeNumber", "5 12 30 41 8 99999999999999999999",
                             "999999999999... is outside 1 to 59"},
                    LineCase{"repeatedInAnotherForm", "5 12 30 41 8 05", "05 appears twice"},
                    LineCase{"letters", "5 12 x3 41 8 55", "\"x3\" is not a number"}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

TEST(TicketLinesTest, NumbersLinesAcrossEveryLineEndAndSkipsHeadingAndBlanks) {
  const store::Result<TicketLines> parsed = ParseTicketLines(
      "\xEF\xBB\xBF"
      "n1,n2,n3,n4,n5,n6\r\n"
      "1 2 3 4 5 6\r\n"
      ",,,,,\n"
      "1 2 3\r"
      "7 8 9 10 11 12\n"
      "\n"
      "a b c d e f\n"
      "13 14 15 16 17 18");
  ASSERT_TRUE(parsed);
  const TicketLines& lines = *parsed;
  EXPECT_EQ(lines.tickets, (std::vector<std::string>{"01-02-03-04-05-06", "07-08-09-10-11-12",
                                                     "13-14-15-16-17-18"}));
  ASSERT_EQ(lines.refused.size(), 2u);
  EXPECT_EQ(lines.refused[0].line, 4u);
  EXPECT_EQ(lines.refused[0].problem, "holds 3 numbers, not 6");
  // Only the first line can be a heading.
  EXPECT_EQ(lines.refused[1].line, 7u);
  EXPECT_EQ(lines.refused[1].problem, "\"a\" is not a number");
}

TEST(TicketLinesTest, FirstLineWithoutLettersIsATicket) {
  const store::Result<TicketLines> lines = ParseTicketLines("1 2 3 4 5 6\n");
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->tickets, std::vector<std::string>{"01-02-03-04-05-06"});
}

TEST(ExportTest, ReadsBackThroughImportUnchanged) {
  const std::vector<std::string> tickets = {"05-12-30-41-08-55", "59-01-02-03-04-58"};
  const std::string csv = ExportCsv(tickets);
  EXPECT_EQ(csv, "n1,n2,n3,n4,n5,n6\n05,12,30,41,08,55\n59,01,02,03,04,58\n");
  const store::Result<TicketLines> back = ParseTicketLines(csv);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->tickets, tickets);
  EXPECT_TRUE(back->refused.empty());
}

TEST(ExportTest, QuotesEveryFieldThatIsNotTwoDigits) {
  // Fields are cut at fixed positions, as the check reads them, whatever the text holds; what is
  // not two digits is quoted, so it reads back as text and never as another number.
  std::size_t odd = 0;
  EXPECT_EQ(
      ExportCsv({"0,-\"x-07", "05", std::string("01-02-03\0-04-05-06", 18), "01-02-03-04-05-06"},
                &odd),
      "n1,n2,n3,n4,n5,n6\n\"0,\",\"\"\"x\",07,\"\",\"\",\"\"\n05,\"\",\"\",\"\",\"\",\"\"\n"
      "01,02,03,\"-0\",\"-0\",\"-0\"\n01,02,03,04,05,06\n");
  EXPECT_EQ(odd, 3u);
}

}  // namespace
}  // namespace cli
