#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "check/MatchCheck.h"
#include "cli/Commands.h"
#include "store/PlayNumber.h"
#include "store/Profile.h"
#include "store/TicketFile.h"

namespace cli {
namespace {

using cli_test::CrLf;
using cli_test::WindowCheck;

class CommandsTest : public cli_test::FolderTest {
 protected:
  CommandOutput Run(const std::vector<std::string>& arguments, bool terminal = false) {
    return RunCommandLine(arguments, terminal);
  }
};

TEST_F(CommandsTest, CheckPrintsTheWindowsResultsText) {
  const std::string matched =
      Write("m.pmd", CrLf({"[numbers]", "Total=4", "w=05-12-23-34-45-56", "1=05-12-23-01-02-03",
                           "2=05-12-40-41-42-43", "3=56-45-34-23-12-05", "4=05-12-23-34-45-5"}));
  const CommandOutput output = Run({matched});
  EXPECT_EQ(output.out, WindowCheck(matched));
  EXPECT_EQ(output.out,
            CrLf({"Matched: (3) in:05-12-23-01-02-03", "Matched: (6) in:56-45-34-23-12-05",
                  "Matched: (5) in:05-12-23-34-45-5"}));
  EXPECT_EQ(output.err, "");
  EXPECT_EQ(output.status, kExitFound);
}

TEST_F(CommandsTest, SorryTextGetsALineEndOnlyOnATerminal) {
  const std::string path =
      Write("s.pmd", CrLf({"[Numbers]", "TOTAL=1", "W=03-17-22-35-41-58", "1=05-12-19-33-40-52"}));
  const std::string sorry = "Sorry, no tickets matched the winning number: \r\n03-17-22-35-41-58";
  ASSERT_EQ(WindowCheck(path), sorry);
  EXPECT_EQ(Run({path}).out, sorry);
  EXPECT_EQ(Run({path}).status, kExitNotFound);
  EXPECT_EQ(Run({path}, true).out, sorry + "\r\n");
}

TEST_F(CommandsTest, GivenWinningNumberReplacesTheStoredOne) {
  const std::string path =
      Write("g.pmd", CrLf({"[Numbers]", "TOTAL=1", "W=00-00-00-00-00-00", "1=05-12-19-33-40-52"}));
  const CommandOutput output = Run({"--winning", "52 40 33 1 2 3", path});
  EXPECT_EQ(output.out, CrLf({"Matched: (3) in:05-12-19-33-40-52"}));
  EXPECT_EQ(output.status, kExitFound);

  const CommandOutput empty = Run({"--winning", "1-2-00-4-5-6", path});
  EXPECT_EQ(empty.err,
            "pelmora-check: --winning 1-2-00-4-5-6: the winning number has no number in "
            "position 3\n");
  EXPECT_EQ(empty.status, kExitError);
}

TEST_F(CommandsTest, ErrorsAreOneLineNamingTheFile) {
  const std::string missing = PathOf("missing.pmd");
  const std::string noTickets =
      Write("n.pmd", CrLf({"[Numbers]", "TOTAL=0", "W=05-12-23-34-45-56"}));
  const std::string emptyBox =
      Write("e.pmd", CrLf({"[Numbers]", "TOTAL=1", "W=05-12-23-00-45-00", "1=05-12-23-01-02-03"}));
  const std::vector<std::pair<std::string, std::string>> cases = {
      {missing, "no such file"},
      {noTickets, "it holds no tickets"},
      {emptyBox, "the winning number has no number in position 4"}};
  for (const auto& [path, problem] : cases) {
    const CommandOutput output = Run({path});
    EXPECT_EQ(output.err, "pelmora-check: " + path + ": " + problem + "\n");
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(output.status, kExitError);
  }
  EXPECT_EQ(Run({"--export", "csv", noTickets}).out, "n1,n2,n3,n4,n5,n6\n");
  EXPECT_EQ(Run({"--draws", PathOf("d.csv"), noTickets}).status, kExitError);
}

TEST_F(CommandsTest, ImportWritesNothingWhenALineIsRefused) {
  const std::string bytes = CrLf({"[Numbers]", "TOTAL=0", "W=00-00-00-00-00-00"});
  const std::string path = Write("i.pmd", bytes);
  const std::string tickets = Write("t.txt", "1 2 3 4 5 6\n1 2 3 4 5 66\n7,8,9,10,11,12\n");

  const CommandOutput refused = Run({"--import", tickets, path});
  EXPECT_EQ(refused.err, "pelmora-check: " + tickets + ":2: 66 is outside 1 to 59\n" +
                             "pelmora-check: " + tickets +
                             ": 1 line refused; nothing was added to " + path +
                             " (--skip-bad adds the other lines)\n");
  EXPECT_EQ(refused.status, kExitError);
  EXPECT_EQ(Read(path), bytes);

  const CommandOutput skipped = Run({"--import", tickets, "--skip-bad", path});
  EXPECT_EQ(skipped.status, kExitFound);
  EXPECT_EQ(skipped.out, "Added 2 tickets to " + path + "; it now holds 2.\n");
  EXPECT_EQ(store::ReadAllTickets(path).tickets,
            (std::vector<std::string>{"01-02-03-04-05-06", "07-08-09-10-11-12"}));
}

TEST_F(CommandsTest, DuplicatesListsTicketsWithTheSameNumbers) {
  const std::string path =
      Write("d.pmd", CrLf({"[Numbers]", "TOTAL=4", "1=01-02-03-04-05-06", "2=07-08-09-10-11-12",
                           "3=06-05-04-03-02-01", "4=01-02-03-04-05-07"}));
  const CommandOutput found = Run({"--duplicates", path});
  EXPECT_EQ(found.out,
            "2 tickets hold 01-02-03-04-05-06:\n"
            "  ticket 1, 01-02-03-04-05-06\n"
            "  ticket 3, 06-05-04-03-02-01\n");
  EXPECT_EQ(found.status, kExitFound);

  const std::string unique =
      Write("u.pmd", CrLf({"[Numbers]", "TOTAL=2", "1=01-02-03-04-05-06", "2=01-02-03-04-05-07"}));
  EXPECT_EQ(Run({"--duplicates", unique}).status, kExitNotFound);
}

struct NewFileCase {
  const char* name;
  std::string tickets;  // the import file
  bool skipBad;
  int status;
  std::vector<std::string> added;  // nothing when no file is to be created
};

void PrintTo(const NewFileCase& c, std::ostream* out) {
  *out << c.name;
}

class ImportIntoNewFileTest : public cli_test::FolderTest,
                              public testing::WithParamInterface<NewFileCase> {};

// A missing data file is started as File > New starts one and the tickets are added to it; when
// nothing is added, no file is left behind.
TEST_P(ImportIntoNewFileTest, StartsTheFileAsNewDoes) {
  const std::string path = PathOf("new.pmd");
  const std::string tickets = Write("t.txt", GetParam().tickets);
  std::vector<std::string> arguments = {"--import", tickets, path};
  if (GetParam().skipBad) {
    arguments.push_back("--skip-bad");
  }
  const CommandOutput output = RunCommandLine(arguments, false);
  EXPECT_EQ(output.status, GetParam().status) << output.err;
  if (GetParam().added.empty()) {
    EXPECT_FALSE(std::filesystem::exists(path));
    return;
  }
  const std::string expected = PathOf("expected.pmd");
  ASSERT_TRUE(store::StartDataFile(expected).has_value());
  for (const std::string& ticket : GetParam().added) {
    ASSERT_TRUE(store::AppendTicket(expected, ticket).has_value());
  }
  EXPECT_EQ(Read(path), Read(expected));
  EXPECT_EQ(output.changedFile, path);
}

INSTANTIATE_TEST_SUITE_P(
    Import, ImportIntoNewFileTest,
    testing::Values(
        NewFileCase{"created",
                    "1 2 3 4 5 6\n7 8 9 10 11 12\n",
                    false,
                    kExitFound,
                    {"01-02-03-04-05-06", "07-08-09-10-11-12"}},
        NewFileCase{"createdWithoutRefusedLines",
                    "1 2 3 4 5 66\n1 2 3 4 5 6\n",
                    true,
                    kExitFound,
                    {"01-02-03-04-05-06"}},
        NewFileCase{
            "refusedLineLeavesNoFile", "1 2 3 4 5 66\n1 2 3 4 5 6\n", false, kExitError, {}},
        NewFileCase{"noTicketsLeavesNoFile", "n1,n2,n3,n4,n5,n6\n", false, kExitError, {}}),
    [](const testing::TestParamInfo<NewFileCase>& info) { return info.param.name; });

TEST_F(CommandsTest, ImportIntoAMissingFolderCreatesNothing) {
  const std::string path = PathOf("no-folder/new.pmd");
  const CommandOutput output =
      RunCommandLine({"--import", Write("t.txt", "1 2 3 4 5 6\n"), path}, false);
  EXPECT_EQ(output.status, kExitError);
  EXPECT_EQ(output.err.rfind("pelmora-check: " + path + ": ", 0), 0u) << output.err;
  EXPECT_FALSE(std::filesystem::exists(PathOf("no-folder")));
}

}  // namespace
}  // namespace cli
