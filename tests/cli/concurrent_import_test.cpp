// Several pelmora-check --import runs on one data file at once, one of them still waiting for its
// input while the others add theirs: every ticket must be in the file, each under its own key.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "store/Profile.h"
#include "store/TicketFile.h"

namespace {

const std::string kProgram = PELMORA_CHECK_PROGRAM;

struct ImportsCase {
  const char* name;
  int imports;
  int ticketsEach;
  bool firstInputLate;  // the first run gets its input only after the others have finished
  const char* start;    // the data file's bytes before, or nullptr for no file
  bool flockRefused;    // flock() fails, as on a file system that cannot lock
};

const char* const kOneTicket =
    "[Numbers]\r\nTOTAL=1\r\nW=00-00-00-00-00-00\r\n1=01-02-03-04-05-06\r\n";

void PrintTo(const ImportsCase& c, std::ostream* out) {
  *out << c.name;
}

// An import run reading its tickets from a pipe.
struct ImportRun {
  pid_t pid = -1;
  int input = -1;  // the write end of its standard input
};

ImportRun StartImport(const std::string& path, bool flockRefused) {
  int fds[2];
  if (::pipe(fds) != 0) {
    return {};
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(fds[0], STDIN_FILENO);
    ::close(fds[0]);
    ::close(fds[1]);
    const int quiet = ::open("/dev/null", O_WRONLY);
    ::dup2(quiet, STDOUT_FILENO);
    if (flockRefused) {
      ::setenv("LD_PRELOAD", FLOCK_REFUSED, 1);
    }
    ::execl(kProgram.c_str(), kProgram.c_str(), "--import", "-", path.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[0]);
  return {child, fds[1]};
}

void Feed(ImportRun& run, const std::string& text) {
  EXPECT_EQ(::write(run.input, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  ::close(run.input);
}

int Finish(const ImportRun& run) {
  int status = 0;
  ::waitpid(run.pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Ticket `index` (below 250) of all the runs, as an import line and as the file stores it.
std::string Line(int index) {
  return std::to_string(1 + index % 50) + " " + std::to_string(51 + index / 50) + " 56 57 58 59\n";
}
std::string Stored(int index) {
  const int first = 1 + index % 50;
  return (first < 10 ? "0" : "") + std::to_string(first) + "-" + std::to_string(51 + index / 50) +
         "-56-57-58-59";
}

class ConcurrentImportTest : public cli_test::FolderTest,
                             public testing::WithParamInterface<ImportsCase> {};

TEST_P(ConcurrentImportTest, AddsEveryTicketOnce) {
  const ImportsCase& c = GetParam();
  const std::string path = c.start ? Write("data.pmd", c.start) : PathOf("data.pmd");
  std::vector<ImportRun> runs;
  std::vector<std::string> inputs(static_cast<std::size_t>(c.imports));
  std::vector<std::string> expected;
  if (c.start == kOneTicket) {
    expected.push_back("01-02-03-04-05-06");
  }
  for (int r = 0; r < c.imports; ++r) {
    for (int t = 0; t < c.ticketsEach; ++t) {
      inputs[static_cast<std::size_t>(r)] += Line(r * c.ticketsEach + t);
      expected.push_back(Stored(r * c.ticketsEach + t));
    }
    runs.push_back(StartImport(path, c.flockRefused));
    ASSERT_GT(runs.back().pid, 0);
  }
  const std::size_t firstOnTime = c.firstInputLate ? 1 : 0;
  for (std::size_t r = firstOnTime; r < runs.size(); ++r) {
    Feed(runs[r], inputs[r]);
  }
  for (std::size_t r = firstOnTime; r < runs.size(); ++r) {
    EXPECT_EQ(Finish(runs[r]), 0) << "run " << r;
  }
  if (c.firstInputLate) {
    Feed(runs[0], inputs[0]);
    EXPECT_EQ(Finish(runs[0]), 0);
  }

  const store::TicketList list = store::ReadAllTickets(path);
  EXPECT_EQ(store::ReadProfileValue(store::kSection, store::kTotalKey, path),
            std::to_string(expected.size()));
  std::vector<std::string> stored = list.tickets.ToStrings();
  if (c.firstInputLate) {
    // The late run read the file only once its input was complete, so its tickets come last.
    ASSERT_GE(stored.size(), static_cast<std::size_t>(c.ticketsEach));
    EXPECT_EQ(stored.back(), Stored(c.ticketsEach - 1));
  }
  std::sort(stored.begin(), stored.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(stored, expected);
  EXPECT_EQ(EntryCount(), 1u) << "a lock or temporary file was left beside the data file";
}

INSTANTIATE_TEST_SUITE_P(
    Imports, ConcurrentImportTest,
    testing::Values(
        ImportsCase{"eightAtOnce", 8, 25, false, kOneTicket, false},
        ImportsCase{"oneWaitingForItsInputWhileFourImport", 5, 20, true, kOneTicket, false},
        ImportsCase{"sixteenIntoAMissingFile", 16, 10, false, nullptr, false},
        ImportsCase{"sixteenIntoAnEmptyFile", 16, 10, false, "", false},
        ImportsCase{"sixteenWhereFlockIsRefused", 16, 15, false, kOneTicket, true},
        ImportsCase{"sixteenIntoAMissingFileWhereFlockIsRefused", 16, 10, false, nullptr, true}),
    [](const testing::TestParamInfo<ImportsCase>& info) { return info.param.name; });

}  // namespace
