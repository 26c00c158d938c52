// Where the built pelmora-check's output goes: the exit status when it cannot be written, and
// what a terminal is shown of hostile ticket text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "ProgramRunner.h"
#include "store/TicketFile.h"

namespace {

using cli_test::ProgramRun;
using cli_test::Sink;

const std::string kTicketFile = cli_test::CrLf(
    {"[Numbers]", "TOTAL=2", "W=05-12-23-34-45-56", "1=05-12-23-01-02-03", "2=05-12-23-01-02-03"});

// Replaces "{data}" with the data file's path.
std::string WithPath(std::string text, const std::string& path) {
  for (std::size_t at; (at = text.find("{data}")) != std::string::npos;) {
    text.replace(at, 6, path);
  }
  return text;
}

struct StatusCase {
  const char* name;
  std::vector<std::string> arguments;  // "{data}" is the data file
  Sink out;
  int status;
  std::string err;
  int ticketsAfter;
};

void PrintTo(const StatusCase& c, std::ostream* out) {
  *out << c.name;
}

class ExitStatusTest : public cli_test::ProgramRunnerTest,
                       public testing::WithParamInterface<StatusCase> {};

// A command that wrote the data file succeeded whatever became of its summary, so that a script
// does not repeat it; a reader that stopped reading is no failure of a read-only command either.
TEST_P(ExitStatusTest, FollowsTheDataFileNotTheOutput) {
  const std::string data = Write("d.pmd", kTicketFile);
  Write("one.txt", "5 12 30 41 8 55\n");
  Write("bad.txt", "5 12 30\n");
  Write("draws.csv", "2024-01-06,5,12,23,34,45,56\n");
  std::vector<std::string> arguments;
  for (const std::string& argument : GetParam().arguments) {
    arguments.push_back(WithPath(argument, folder_.string()));
  }
  const ProgramRun run = Run(arguments, {}, GetParam().out);
  EXPECT_EQ(run.status, GetParam().status);
  EXPECT_EQ(run.err, WithPath(GetParam().err, folder_.string()));
  EXPECT_EQ(store::ReadAllTickets(data).tickets.size(),
            static_cast<std::size_t>(GetParam().ticketsAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Program, ExitStatusTest,
    testing::Values(
        StatusCase{"importIntoFullDevice",
                   {"--import", "{data}/one.txt", "{data}/d.pmd"},
                   Sink::Full,
                   0,
                   "pelmora-check: standard output: No space left on device ({data}/d.pmd was "
                   "changed all the same)\n",
                   3},
        StatusCase{"importIntoClosedPipe",
                   {"--import", "{data}/one.txt", "{data}/d.pmd"},
                   Sink::ClosedPipe,
                   0,
                   "",
                   3},
        StatusCase{"refusedImportIntoClosedPipe",
                   {"--import", "{data}/bad.txt", "{data}/d.pmd"},
                   Sink::ClosedPipe,
                   2,
                   "pelmora-check: {data}/bad.txt:1: holds 3 numbers, not 6\npelmora-check: "
                   "{data}/bad.txt: 1 line refused; nothing was added to {data}/d.pmd "
                   "(--skip-bad adds the other lines)\n",
                   2},
        StatusCase{"checkIntoFullDevice",
                   {"{data}/d.pmd"},
                   Sink::Full,
                   2,
                   "pelmora-check: standard output: No space left on device\n",
                   2},
        StatusCase{"checkIntoClosedPipe", {"{data}/d.pmd"}, Sink::ClosedPipe, 0, "", 2},
        StatusCase{"noMatchIntoClosedPipe",
                   {"--winning", "31-32-33-34-35-36", "{data}/d.pmd"},
                   Sink::ClosedPipe,
                   1,
                   "",
                   2},
        StatusCase{"drawsIntoClosedPipe",
                   {"--draws", "{data}/draws.csv", "{data}/d.pmd"},
                   Sink::ClosedPipe,
                   0,
                   "",
                   2},
        StatusCase{"exportIntoClosedPipe",
                   {"--export", "csv", "{data}/d.pmd"},
                   Sink::ClosedPipe,
                   0,
                   "",
                   2},
        StatusCase{"exportIntoFullDevice",
                   {"--export", "csv", "{data}/d.pmd"},
                   Sink::Full,
                   2,
                   "pelmora-check: standard output: No space left on device\n",
                   2}),
    [](const testing::TestParamInfo<StatusCase>& info) { return info.param.name; });

// Ticket text that sets the terminal's title, rings its bell, clears it and starts a C1 control
// sequence, twice so that it is a duplicate too.
const std::string kHostile =
    "05-12-23-\x1B]0;PWNED\a\x1B[2J\xC2\x9B"
    "31m";
const std::string kShown = "05-12-23-\\e]0;PWNED\\x07\\e[2J\\u009b31m";

bool HoldsControl(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool lineEnd = c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
    if ((c < 0x20 && !lineEnd) || c == 0x7F ||
        (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F)) {
      return true;
    }
  }
  return false;
}

struct TerminalCase {
  const char* name;
  std::vector<std::string> arguments;  // the data file is added last
  std::string shown;                   // a part of the output on the terminal
};

void PrintTo(const TerminalCase& c, std::ostream* out) {
  *out << c.name;
}

class TerminalTest : public cli_test::ProgramRunnerTest,
                     public testing::WithParamInterface<TerminalCase> {
 protected:
  std::string HostileFile() {
    return Write("d.pmd", cli_test::CrLf({"[Numbers]", "TOTAL=2", "W=05-12-23-34-45-56",
                                          "1=" + kHostile, "2=" + kHostile}));
  }
};

TEST_P(TerminalTest, ShowsControlCharactersEscaped) {
  std::vector<std::string> arguments = GetParam().arguments;
  for (std::string& argument : arguments) {
    argument = WithPath(argument, folder_.string());
  }
  Write("draws.csv", "2024-01-06,5,12,23,34,45,56\n");
  arguments.push_back(HostileFile());
  const ProgramRun run = Run(arguments, {}, Sink::Terminal, Sink::Terminal);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(HoldsControl(run.out));
  EXPECT_NE(run.out.find(GetParam().shown), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Program, TerminalTest,
    testing::Values(TerminalCase{"check", {}, "Matched: (3) in:" + kShown + "\r\n"},
                    TerminalCase{"checkWithLf", {"--lf"}, "Matched: (3) in:" + kShown + "\n"},
                    TerminalCase{"duplicates", {"--duplicates"}, kShown},
                    TerminalCase{"draws", {"--draws", "{data}/draws.csv"}, kShown},
                    TerminalCase{"export", {"--export", "csv"}, "\\e]"}),
    [](const testing::TestParamInfo<TerminalCase>& info) { return info.param.name; });

TEST_F(TerminalTest, IntoAFileTheBytesAreTheWindowsText) {
  const std::string data = HostileFile();
  EXPECT_EQ(Run({data}).out, cli_test::WindowCheck(data));
  std::string lf = cli_test::WindowCheck(data);
  for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) {
    lf.erase(at, 1);
  }
  EXPECT_EQ(Run({"--lf", data}).out, lf);
}

TEST_F(TerminalTest, ErrorsOnATerminalAreEscapedToo) {
  const std::string missing = PathOf(
      "x\xC2\x9B"
      "31m.pmd");
  const ProgramRun run = Run({missing}, {}, Sink::File, Sink::Terminal);
  EXPECT_EQ(run.err, "pelmora-check: " + PathOf("x\\u009b31m.pmd") + ": no such file\n");
  EXPECT_EQ(run.status, 2);
}

}  // namespace
