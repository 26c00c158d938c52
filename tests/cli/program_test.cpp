// Runs the built pelmora-check on the sample files and compares what it prints and its exit
// status with what the window's check gives for the same files.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "ProgramRunner.h"
#include "check/MatchCheck.h"
#include "store/PlayNumber.h"
#include "store/Profile.h"
#include "store/TicketFile.h"

namespace {

using cli_test::WindowCheck;

const std::string kSamples = CLI_SAMPLES_DIR;

std::string Sample(const std::string& name) {
  return kSamples + "/" + name;
}

using cli_test::ProgramRun;
using cli_test::Sink;

class ProgramTest : public cli_test::ProgramRunnerTest {
 protected:
  std::string Copy(const std::string& sample) { return Write(sample, Read(Sample(sample))); }
};

TEST_F(ProgramTest, PrintsWhatTheWindowsCheckShows) {
  for (const auto& [sample, status] :
       std::vector<std::pair<std::string, int>>{{"matches.pmd", 0}, {"no-match.pmd", 1}}) {
    const ProgramRun run = Run({Sample(sample)});
    EXPECT_EQ(run.out, WindowCheck(Sample(sample))) << sample;
    EXPECT_EQ(run.status, status) << sample;
    EXPECT_EQ(run.err, "") << sample;
  }
}

TEST_F(ProgramTest, EndsTheSorryTextWithALineEndOnATerminal) {
  const ProgramRun run = Run({Sample("no-match.pmd")}, {}, Sink::Terminal);
  EXPECT_EQ(run.out, WindowCheck(Sample("no-match.pmd")) + "\r\n");
  EXPECT_EQ(run.status, 1);
}

TEST_F(ProgramTest, ReportsErrorsOnOneLineWithStatusTwo) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {Sample("empty-winning.pmd"), "the winning number has no number in position 3"},
      {Sample("no-tickets.pmd"), "it holds no tickets"},
      {Sample("bad-count.pmd"), "the ticket count (TOTAL) \"abc\" is not a number"},
      {PathOf("missing.pmd"), "no such file"}};
  for (const auto& [path, problem] : cases) {
    const ProgramRun run = Run({path});
    EXPECT_EQ(run.err, "pelmora-check: " + path + ": " + problem + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.status, 2);
  }
  const ProgramRun bad = Run({"--export", "xml", Sample("matches.pmd")});
  EXPECT_EQ(bad.err,
            "pelmora-check: --export knows only the format csv, not \"xml\" (see pelmora-check "
            "--help)\n");
  EXPECT_EQ(bad.status, 2);
}

TEST_F(ProgramTest, ImportedTicketsAreWhatTheWindowWouldHaveSaved) {
  const std::string imported = Copy("no-match.pmd");
  const ProgramRun run = Run({"--import", Sample("import.txt"), imported});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Added 4 tickets to " + imported + "; it now holds 6.\n");

  const std::string single = Write("single.pmd", Read(Sample("no-match.pmd")));
  const std::vector<std::string> expected = {"05-12-30-41-08-55", "05-12-30-41-08-55",
                                             "05-12-30-41-08-55", "01-02-03-04-05-06"};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_TRUE(store::AppendTicket(single, expected[i]).has_value());
  }
  EXPECT_EQ(Read(imported), Read(single));

  // Both programs still agree on the grown file; tickets come from standard input too.
  EXPECT_EQ(Run({imported}).out, WindowCheck(imported));
  EXPECT_EQ(Run({"--import", "-", imported}, "1 2 3 4 5 7\n").status, 0);
  EXPECT_EQ(store::ReadAllTickets(imported).tickets.back(), "01-02-03-04-05-07");
}

TEST_F(ProgramTest, RefusedImportLinesAreListedAndNothingIsWritten) {
  const std::string path = Copy("no-match.pmd");
  const ProgramRun run = Run({"--import", Sample("import-bad.csv"), path});
  const std::string from = "pelmora-check: " + Sample("import-bad.csv");
  EXPECT_EQ(run.err, from + ":3: 60 is outside 1 to 59\n" + from + ":4: holds 5 numbers, not 6\n" +
                         from + ":5: 8 appears twice\n" + from +
                         ": 3 lines refused; nothing was added to " + path +
                         " (--skip-bad adds the other lines)\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(Read(path), Read(Sample("no-match.pmd")));
}

TEST_F(ProgramTest, DrawsExportAndDuplicatesMatchTheirSamples) {
  const ProgramRun draws = Run({"--draws", Sample("draws.csv"), Sample("matches.pmd")});
  EXPECT_EQ(draws.out, Read(Sample("matches-draws.expected")));
  EXPECT_EQ(draws.status, 0);

  const ProgramRun csv = Run({"--export=csv", Sample("matches.pmd")});
  EXPECT_EQ(csv.out, Read(Sample("matches-export.expected")));
  EXPECT_EQ(csv.status, 0);

  const ProgramRun duplicates = Run({"--duplicates", Sample("matches.pmd")});
  EXPECT_EQ(duplicates.out, Read(Sample("matches-duplicates.expected")));
  EXPECT_EQ(duplicates.status, 0);
}

TEST_F(ProgramTest, HelpAndManualPageDescribeEveryOption) {
  const ProgramRun run = Run({"--help"});
  EXPECT_EQ(run.status, 0);
  // The manual's option entries: the line after each ".TP".
  std::string entries;
  std::istringstream manual(Read(PELMORA_MAN_PAGE));
  for (std::string line, previous; std::getline(manual, line); previous = line) {
    if (previous == ".TP") {
      entries += line + "\n";
    }
  }
  for (const std::string option :
       {"--winning", "--draws", "--import", "--columns", "--skip-bad", "--export", "--duplicates",
        "--lf", "--help", "--version", "--add-draws", "--replace", "--history", "--from", "--to"}) {
    EXPECT_NE(run.out.find(option), std::string::npos) << option;
    std::string escaped;
    for (const char c : option) {
      escaped += c == '-' ? std::string("\\-") : std::string(1, c);
    }
    EXPECT_NE(entries.find(escaped), std::string::npos) << option;
  }
}

}  // namespace
