// pelmora-check --wins: the wins as text and CSV, the exit status a timer can act on, and the
// draws a file plays set from the command line.
#include <gtest/gtest.h>

#include "CliTestSupport.h"
#include "VersionsHome.h"
#include "cli/Commands.h"
#include "store/DrawHistory.h"

namespace cli {
namespace {

using cli_test::CrLf;

class WinsCommandTest : public cli_test::FolderTest {
 protected:
  void SetUp() override {
    FolderTest::SetUp();
    home_.emplace(PathOf("data"));
    data_ = Write("t.pmd", CrLf({"[Numbers]", "TOTAL=2", "W=00-00-00-00-00-00",
                                 "1=01-11-12-13-18-49", "2=02-03-04-05-06-59", "[Wins]",
                                 "Claim.3000.1=2025-01-01,2024-12-28,01-11-12-13-18-49"}));
    ASSERT_EQ(Run({"--add-draws", Write("d.csv",
                                        "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,"
                                        "Bonus Ball,DrawNumber\n"
                                        "18-Feb-2026,1,11,12,13,18,49,33,3147\n"
                                        "03-Jan-2026,2,3,4,5,6,7,59,3134\n")})
                  .status,
              kExitFound);
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

TEST_F(WinsCommandTest, CsvSoonestDeadlineFirstAndStatusForTheReminderWindow) {
  const CommandOutput due = Run({"--wins", "--csv", "--today", "2026-06-10", data_});
  EXPECT_EQ(due.status, kExitNotFound) << due.err;  // 2026-07-02 is 22 days away
  EXPECT_EQ(due.out,
            "Deadline,State,Claimed,DrawNumber,DrawDate,Ticket,Numbers,Tier,Prize\n"
            "2026-07-02,to claim,,3134,2026-01-03,2,02-03-04-05-06-59,5 + bonus,"
            "\"\xC2\xA3"
            "1,000,000\"\n"
            "2026-08-17,to claim,,3147,2026-02-18,1,01-11-12-13-18-49,6,Jackpot\n");
  EXPECT_NE(due.err.find("Claim.3000.1: claimed 2025-01-01, no longer a win: draw 3000 is not in "
                         "the draw history (the mark is kept)"),
            std::string::npos);
  EXPECT_EQ(Run({"--wins", "--today", "2026-05-01", data_}).status, kExitFound);
  EXPECT_EQ(Run({"--wins", "--today", "2026-12-01", data_}).status, kExitFound);  // expired
}

TEST_F(WinsCommandTest, SinceAndUntilAreKeptAndBadDatesNamed) {
  const CommandOutput since =
      Run({"--wins", "--since", "2026-02-01", "--today", "2026-06-10", data_});
  EXPECT_EQ(since.status, kExitFound);
  EXPECT_NE(Read(data_).find("[Wins]\r\nClaim.3000.1=2025-01-01,2024-12-28,01-11-12-13-18-49\r\n"
                             "Since=2026-02-01\r\n"),
            std::string::npos);
  EXPECT_NE(since.out.find("Playing since 2026-02-01, until the latest draw; 2 draws"),
            std::string::npos);
  EXPECT_NE(since.out.find("To claim: 1 win, 1 jackpot. Claimed: 0 wins, \xC2\xA3"
                           "0. Expired: 0 wins, \xC2\xA3"
                           "0.\nWon in all: 1 win, 1 jackpot.\n"),
            std::string::npos)
      << since.out;

  const std::string before = Read(data_);
  const CommandOutput bad = Run({"--wins", "--until", "18/02/2026", data_});
  EXPECT_EQ(bad.status, kExitError);
  EXPECT_EQ(bad.err,
            "pelmora-check: --until: \"18/02/2026\" is not a date: write it as YYYY-MM-DD.\n");
  EXPECT_EQ(Run({"--wins", "--until", "2026-01-01", data_}).status, kExitError);
  EXPECT_EQ(Read(data_), before);
  EXPECT_EQ(Run({"--csv", data_}).status, kExitError);
}

}  // namespace
}  // namespace cli
