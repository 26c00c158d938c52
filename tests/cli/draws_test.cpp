#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "VersionsHome.h"
#include "cli/Commands.h"
#include "cli/TierReport.h"
#include "store/DrawHistory.h"

namespace cli {
namespace {

using cli_test::CrLf;

std::string Report(const std::vector<store::Draw>& draws, const store::TicketTexts& tickets) {
  std::string text;
  WriteTierReport(draws, tickets, check::DefaultPrizeTable(), [&text](std::string_view piece) {
    text.append(piece);
    return true;
  });
  return text;
}

TEST(TierReportTest, ListsEveryWinWithItsTierAndPrizePerDrawAndInTotal) {
  const store::TicketTexts tickets = {"01-11-12-13-18-33", "01-11-40-41-42-43", "50-51-52-53-54-55",
                                      "49-18-13-12-11-01"};
  const store::DrawsRead read = store::ReadDraws(
      "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,Ball Set,Machine,DrawNumber\n"
      "18-Feb-2026,1,11,12,13,18,49,33,L10,Lotto4,3147\n"
      "14-Feb-2026,1,11,12,40,41,59,,,,\n");
  ASSERT_EQ(read.refusedCount, 0u);
  EXPECT_EQ(Report(read.draws, tickets),
            "Draw 18-Feb-2026 (3147), 01-11-12-13-18-49 bonus 33: 6: 1, 5 + bonus: 1, 5: 0, 4: 0, "
            "3: 0, 2: 1; prizes \xC2\xA3"
            "1,000,000 + 1 jackpot + 1 free ticket\n"
            "  ticket 1, 01-11-12-13-18-33: 5 + bonus, \xC2\xA3"
            "1,000,000\n"
            "  ticket 2, 01-11-40-41-42-43: 2, Free ticket\n"
            "  ticket 4, 49-18-13-12-11-01: 6, Jackpot\n"
            "Draw 14-Feb-2026, 01-11-12-40-41-59: 6: 0, 5 + bonus: 0, 5: 0, 4: 1, 3: 2, 2: 0; "
            "prizes \xC2\xA3"
            "200\n"
            "  ticket 1, 01-11-12-13-18-33: 3, \xC2\xA3"
            "30\n"
            "  ticket 2, 01-11-40-41-42-43: 4, \xC2\xA3"
            "140\n"
            "  ticket 4, 49-18-13-12-11-01: 3, \xC2\xA3"
            "30\n"
            "Total of 2 draws: 6: 1, 5 + bonus: 1, 5: 0, 4: 1, 3: 2, 2: 1; prizes \xC2\xA3"
            "1,000,200 + 1 jackpot + 1 free ticket\n"
            "  ticket 1, 01-11-12-13-18-33: 5 + bonus in 1 draw, 3 in 1 draw\n"
            "  ticket 2, 01-11-40-41-42-43: 4 in 1 draw, 2 in 1 draw\n"
            "  ticket 4, 49-18-13-12-11-01: 6 in 1 draw, 3 in 1 draw\n");
}

class DrawCommandsTest : public cli_test::FolderTest {
 protected:
  void SetUp() override {
    FolderTest::SetUp();
    home_.emplace(PathOf("data"));
    data_ = Write("t.pmd",
                  CrLf({"[Numbers]", "TOTAL=1", "W=00-00-00-00-00-00", "1=01-02-03-04-05-06"}));
  }
  void TearDown() override {
    home_.reset();
    FolderTest::TearDown();
  }
  static CommandOutput Run(const std::vector<std::string>& arguments) {
    return RunCommandLine(arguments, false);
  }
  std::optional<test_support::VersionsHome> home_;
  std::string data_;
};

TEST_F(DrawCommandsTest, DrawsExitStatusTellsWhetherAnythingWon) {
  EXPECT_EQ(Run({"--draws", Write("hit.csv", "2024-01-06,1,2,30,40,41,42\n"), data_}).status,
            kExitFound);
  EXPECT_EQ(Run({"--draws", Write("miss.csv", "2024-01-06,1,20,30,40,41,42\n"), data_}).status,
            kExitNotFound);
  const CommandOutput bad =
      Run({"--draws", Write("bad.csv", "d1,1,2,3,4,5,6\n2024-01-06,1,2,3,4,5,6\n"), data_});
  EXPECT_EQ(bad.status, kExitError);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(Run({"--draws", Write("empty.csv", "Date,Numbers\n"), data_}).status, kExitError);
}

TEST_F(DrawCommandsTest, AddDrawsMergesIntoTheHistoryAndHistoryChecksBetweenDays) {
  const std::string draws = Write("d.csv",
                                  "2026-02-18,1,11,12,13,18,49,33\n"
                                  "2026-02-14,1,2,3,40,41,42,7\n"
                                  "2026-02-11,1,2,3,4,40,41\n"
                                  "2026-02-07,1,2,3,4,5,66\n");
  const CommandOutput refused = Run({"--add-draws", draws});
  EXPECT_EQ(refused.status, kExitError);
  EXPECT_FALSE(std::filesystem::exists(store::DrawHistoryPath()));

  const CommandOutput added = Run({"--add-draws", draws, "--skip-bad"});
  EXPECT_EQ(added.status, kExitFound);
  EXPECT_EQ(added.out, "Draw history " + store::DrawHistoryPath() +
                           ": 3 added, 0 unchanged, 0 conflicting, 1 refused.\n");

  const std::string changed = Write("c.csv", "2026-02-14,1,2,3,40,41,43,7\n");
  const CommandOutput conflict = Run({"--add-draws", changed});
  EXPECT_EQ(conflict.status, kExitNotFound);
  EXPECT_NE(conflict.out.find("Conflict: draw 14-Feb-2026 is stored as "
                              "01-02-03-40-41-42 bonus 07, the file has 01-02-03-40-41-43 bonus "
                              "07; kept"),
            std::string::npos);
  EXPECT_EQ(Run({"--add-draws", changed, "--replace"}).status, kExitFound);

  const CommandOutput between =
      Run({"--history", "--from", "12-Feb-2026", "--to", "2026-02-17", data_});
  EXPECT_EQ(between.status, kExitFound);
  EXPECT_EQ(between.out.substr(0, between.out.find('\n')),
            "Draw 14-Feb-2026, 01-02-03-40-41-43 bonus 07: 6: 0, 5 + bonus: 0, 5: 0, 4: 0, 3: 1, "
            "2: 0; prizes \xC2\xA3"
            "30");
  EXPECT_NE(between.out.find("Total of 1 draw:"), std::string::npos);
  EXPECT_EQ(Run({"--history", "--from", "2027-01-01", data_}).status, kExitError);
}

}  // namespace
}  // namespace cli
