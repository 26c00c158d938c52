#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "check/MatchCheck.h"
#include "cli/DrawsFile.h"
#include "cli/DrawsReport.h"
#include "store/PlayNumber.h"

namespace cli {
namespace {

TEST(DrawsFileTest, TakesTheDateFromTheFirstField) {
  const DrawLines lines = ParseDrawLines(
      "Date,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6\r\n"
      "2024-01-06,5,12,23,34,45,56\r\n"
      "06.01.2024 5 12 23 34 45 56\r\n"
      "\"6 Jan, 2024\";5;12;23;34;45;56\r\n"
      "Sat 6 Jan\t5\t12\t23\t34\t45\t56\r\n");
  ASSERT_TRUE(lines.refused.empty());
  ASSERT_EQ(lines.draws.size(), 4u);
  EXPECT_EQ(lines.draws[0].date, "2024-01-06");
  EXPECT_EQ(lines.draws[1].date, "06.01.2024");
  EXPECT_EQ(lines.draws[2].date, "6 Jan, 2024");
  EXPECT_EQ(lines.draws[3].date, "Sat 6 Jan");
  EXPECT_EQ(lines.draws[3].line, 5u);
  for (const Draw& draw : lines.draws) {
    EXPECT_EQ(TicketText(draw.numbers), "05-12-23-34-45-56");
  }
}

TEST(DrawsFileTest, RefusesLinesWithoutADateOrSixNumbers) {
  const DrawLines lines = ParseDrawLines(
      "5 12 23 34 45 56\n"
      ",5,12,23,34,45,56\n"
      "2024-01-06,5,12,23,34,45,45\n");
  EXPECT_TRUE(lines.draws.empty());
  ASSERT_EQ(lines.refused.size(), 3u);
  EXPECT_EQ(lines.refused[0].problem, "after the date \"5\": holds 5 numbers, not 6");
  EXPECT_EQ(lines.refused[1].problem, "has no date before the six numbers");
  EXPECT_EQ(lines.refused[2].problem, "after the date \"2024-01-06\": 45 appears twice");
}

// The draws check reduces tickets to numbers for speed; it must count exactly as the window's
// check does with the draw entered as the winning number, odd tickets included.
TEST(DrawsCheckTest, CountsAsTheCheckLibraryDoes) {
  std::mt19937 random(7);
  const std::vector<std::string> oddFields = {"00", "5", "", "5a", "60", " 7", "07"};
  std::vector<std::string> tickets;
  for (int t = 0; t < 3000; ++t) {
    store::PlayFields fields;
    for (std::string& field : fields) {
      // Mostly numbers from a small range, so that many tickets match three or more.
      field = random() % 5 == 0 ? oddFields[random() % oddFields.size()]
                                : store::TwoDigitField(1 + static_cast<int>(random() % 12));
    }
    std::string ticket = store::JoinPlayNumber(fields);
    if (random() % 20 == 0) {
      ticket.resize(random() % ticket.size());
    }
    tickets.push_back(std::move(ticket));
  }
  std::vector<Draw> draws;
  for (int d = 0; d < 40; ++d) {
    std::vector<int> pool = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    std::shuffle(pool.begin(), pool.end(), random);
    Draw draw;
    std::copy_n(pool.begin(), kNumbersPerTicket, draw.numbers.begin());
    draws.push_back(draw);
  }

  const DrawsCheck check = CheckDraws(draws, tickets);
  ASSERT_EQ(check.draws.size(), draws.size());
  std::size_t reported = 0;
  for (std::size_t d = 0; d < draws.size(); ++d) {
    check::WinningTexts winning;
    for (std::size_t k = 0; k < winning.size(); ++k) {
      winning[k] = store::TwoDigitField(draws[d].numbers[k]);
    }
    std::vector<std::pair<std::size_t, int>> expected;
    for (const check::ReportedTicket& r : check::RunCheck(winning, tickets).reported) {
      expected.emplace_back(r.index, r.matches);
    }
    std::vector<std::pair<std::size_t, int>> actual;
    for (const DrawMatch& m : check.draws[d].matched) {
      actual.emplace_back(m.ticket, m.matches);
    }
    ASSERT_EQ(actual, expected) << "draw " << d;
    reported += actual.size();
  }
  EXPECT_GT(reported, 1000u);  // the comparison covered many reported tickets
}

TEST(DrawsReportTest, ListsCountsAndTicketsPerDrawAndInTotal) {
  const std::vector<std::string> tickets = {"05-12-23-01-02-03", "40-41-42-43-44-46",
                                            "56-45-34-23-12-05"};
  const DrawLines lines = ParseDrawLines(
      "2024-01-06,5,12,23,34,45,56\n"
      "2024-01-13,1,2,3,5,12,56\n"
      "2024-01-20,7,8,9,10,11,13\n");
  const DrawsCheck check = CheckDraws(lines.draws, tickets);
  EXPECT_TRUE(check.anyMatched);
  EXPECT_EQ(check.total, (MatchCounts{2, 0, 1, 1}));
  EXPECT_EQ(FormatDrawsReport(lines.draws, tickets, check),
            "Draw 2024-01-06, 05-12-23-34-45-56: matched 3: 1, matched 4: 0, matched 5: 0, "
            "matched 6: 1\n"
            "  ticket 1, 05-12-23-01-02-03: matched 3\n"
            "  ticket 3, 56-45-34-23-12-05: matched 6\n"
            "Draw 2024-01-13, 01-02-03-05-12-56: matched 3: 1, matched 4: 0, matched 5: 1, "
            "matched 6: 0\n"
            "  ticket 1, 05-12-23-01-02-03: matched 5\n"
            "  ticket 3, 56-45-34-23-12-05: matched 3\n"
            "Draw 2024-01-20, 07-08-09-10-11-13: matched 3: 0, matched 4: 0, matched 5: 0, "
            "matched 6: 0\n"
            "Total of 3 draws: matched 3: 2, matched 4: 0, matched 5: 1, matched 6: 1\n"
            "  ticket 1, 05-12-23-01-02-03: matched 3 in 1 draw, matched 5 in 1 draw\n"
            "  ticket 3, 56-45-34-23-12-05: matched 3 in 1 draw, matched 6 in 1 draw\n");
}

// The report written piece by piece is the report made whole, and a sink that refuses a piece
// ends it there.
TEST(DrawsReportTest, WrittenInPiecesAsWhole) {
  std::mt19937 random(3);
  const auto sixOf59 = [&random] {
    std::vector<int> pool(59);
    std::iota(pool.begin(), pool.end(), 1);
    std::shuffle(pool.begin(), pool.end(), random);
    return std::vector<int>(pool.begin(), pool.begin() + 6);
  };
  std::vector<std::string> tickets;
  for (int i = 0; i < 500; ++i) {
    store::PlayFields fields;
    const std::vector<int> numbers = sixOf59();
    for (std::size_t k = 0; k < fields.size(); ++k)
      fields[k] = store::TwoDigitField(numbers[k]);
    tickets.push_back(store::JoinPlayNumber(fields));
  }
  std::string drawsText;
  for (int d = 0; d < 2000; ++d) {
    drawsText += "2024-" + std::to_string(d);
    for (const int n : sixOf59())
      drawsText += "," + std::to_string(n);
    drawsText += "\n";
  }
  const DrawLines lines = ParseDrawLines(drawsText);
  const DrawsCheck check = CheckDraws(lines.draws, tickets);
  const std::string whole = FormatDrawsReport(lines.draws, tickets, check);

  std::string written;
  int pieces = 0;
  const DrawsSummary summary = WriteDrawsReport(lines.draws, tickets, [&](std::string_view piece) {
    written.append(piece);
    ++pieces;
    return true;
  });
  EXPECT_EQ(written, whole);
  EXPECT_GT(pieces, 2);
  EXPECT_TRUE(summary.written);
  EXPECT_EQ(summary.total, check.total);
  EXPECT_EQ(summary.anyMatched, check.anyMatched);

  int offered = 0;
  const DrawsSummary refused = WriteDrawsReport(lines.draws, tickets, [&](std::string_view) {
    ++offered;
    return false;
  });
  EXPECT_FALSE(refused.written);
  EXPECT_EQ(offered, 1);
}

}  // namespace
}  // namespace cli
