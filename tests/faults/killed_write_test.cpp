// A process rewriting a full data file is killed outright at random moments; whatever the moment,
// the file must hold the old list or the new one, whole, and the next write clears what the
// killed one left.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "FaultTickets.h"
#include "TempFolder.h"
#include "store/AtomicFile.h"
#include "store/TicketFile.h"
#include "store/WriteJournal.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using test_support::ReadBytes;

// The names in `folder`.
std::set<std::string> NamesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// The rewriting helper, started with pipes on its input and output: it rewrites once per byte
// sent and answers each rewrite with a line.
class RewriteLoop {
 public:
  RewriteLoop(const std::string& dataFile, bool half) {
    int out[2];
    int in[2];
    if (::pipe(out) != 0)
      return;
    if (::pipe(in) != 0) {
      ::close(out[0]);
      ::close(out[1]);
      return;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    ::posix_spawn_file_actions_addclose(&actions, out[0]);
    ::posix_spawn_file_actions_addclose(&actions, in[1]);
    std::string program = REWRITE_LOOP;
    std::string argument = dataFile;
    std::string halfArgument = "half";
    char* argv[] = {program.data(), argument.data(), half ? halfArgument.data() : nullptr, nullptr};
    if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0)
      pid_ = -1;
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(in[0]);
    out_ = out[0];
    in_ = in[1];
  }
  ~RewriteLoop() {
    Kill();
    if (out_ >= 0)
      ::close(out_);
    if (in_ >= 0)
      ::close(in_);
  }

  // Blocks until the helper says it is about to wait for its first rewrite.
  bool WaitUntilReady() { return NextLine() == "ready"; }
  // Lets the helper start one rewrite.
  bool StartRewrite() { return pid_ > 0 && ::write(in_, "x", 1) == 1; }
  // One whole rewrite, waited for.
  bool Rewrite() { return StartRewrite() && NextLine() == "done"; }
  // Returns true when the helper was still running, i.e. it died by the kill and not before.
  bool Kill() {
    if (pid_ <= 0)
      return false;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

 private:
  std::string NextLine() {
    std::string line;
    char c;
    while (pid_ > 0 && ::read(out_, &c, 1) == 1 && c != '\n')
      line.push_back(c);
    return line;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  int in_ = -1;
};

// How the killed rewrite writes: by replacing the file, or in place, as it must for a file with a
// second hard link; then the next read finds the rewrite unfinished and puts the file back whole.
struct WritePath {
  const char* name;
  bool secondLink;
};

void PrintTo(const WritePath& path, std::ostream* out) {
  *out << path.name;
}

class KilledWriteTest : public ::testing::TestWithParam<WritePath> {};

TEST_P(KilledWriteTest, FileHoldsTheOldOrTheNewListWhole) {
  constexpr int kKills = 60;
  const test_support::TempFolder folder("kill");
  const std::string path = folder.PathOf("pelmora.pmd");
  std::set<std::string> names = {"pelmora.pmd"};

  // Both states as the same code writes them, and about how long one rewrite takes, so that the
  // kills spread over a whole rewrite.
  // In place, the lists differ in length, so that a rewrite grows and shrinks the file.
  const std::vector<std::string> lists[2] = {faults::FullTicketList(0, GetParam().secondLink),
                                             faults::FullTicketList(1)};
  ASSERT_TRUE(store::StartDataFile(path));
  if (GetParam().secondLink) {
    ASSERT_EQ(::link(path.c_str(), folder.PathOf("other.pmd").c_str()), 0);
    names.insert("other.pmd");
  }
  ASSERT_TRUE(store::RewriteTickets(path, lists[1]));
  const std::string secondBytes = ReadBytes(path);
  const auto started = Clock::now();
  ASSERT_TRUE(store::RewriteTickets(path, lists[0]));
  const auto rewrite = Clock::now() - started;
  const std::string firstBytes = ReadBytes(path);
  ASSERT_NE(firstBytes, secondBytes);
  const std::string bytesOf[2] = {firstBytes, secondBytes};

  std::mt19937 random(20240607);
  std::uniform_int_distribution<long long> delay(
      0, std::chrono::duration_cast<std::chrono::microseconds>(rewrite * 3 / 2).count());
  int sawOld = 0;
  int sawNew = 0;
  int repaired = 0;
  for (int kill = 1; kill <= kKills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    // Every round starts from the first list; this write also clears what the last kill left.
    ASSERT_TRUE(store::WriteFileAtomically(path, firstBytes));
    ASSERT_EQ(NamesIn(folder.path()), names)
        << "a write did not clear the temporary file of a killed writer";

    RewriteLoop loop(path, GetParam().secondLink);
    ASSERT_TRUE(loop.WaitUntilReady());
    const int done = static_cast<int>(random() % 3);
    for (int k = 0; k < done; ++k)
      ASSERT_TRUE(loop.Rewrite());
    ASSERT_TRUE(loop.StartRewrite());
    // The wait is the fault being injected: the kill comes at a moment chosen by chance.
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ASSERT_TRUE(loop.Kill()) << "the helper stopped by itself";

    // Killed during rewrite done+1: the next read finds what rewrite `done` left, or what the
    // killed one wrote, whole.
    repaired += store::RepairUnfinishedWrite(path).notes().empty() ? 0 : 1;
    const store::TicketList read = store::ReadAllTickets(path);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(read.count ? *read.count : -1, static_cast<int>(read.tickets.size()));
    if (bytes == bytesOf[done % 2]) {
      ++sawOld;
    } else if (bytes == bytesOf[(done + 1) % 2]) {
      ++sawNew;
    } else {
      FAIL() << "the file holds " << bytes.size() << " bytes that are neither list ("
             << firstBytes.size() << " or " << secondBytes.size() << " bytes)";
    }
    // A killed writer cannot remove its half-written temporary file; nothing else is left.
    for (const std::string& name : NamesIn(folder.path())) {
      // Temporary names are ".pm<hash of the name>.<pid>.<four hex digits>".
      static const std::regex temporary(R"(\.pm[0-9a-f]{8}\.[0-9]+\.[0-9a-f]{4})");
      EXPECT_TRUE(names.contains(name) || std::regex_match(name, temporary)) << name;
    }
  }
  ASSERT_TRUE(store::RewriteTickets(path, lists[1]));
  EXPECT_EQ(NamesIn(folder.path()), names);
  EXPECT_EQ(store::ReadAllTickets(path).tickets.size(),
            static_cast<std::size_t>(store::kMaxTickets));
  std::cout << kKills << " kills, one rewrite "
            << std::chrono::duration_cast<std::chrono::milliseconds>(rewrite).count()
            << " ms: the file as before the killed rewrite " << sawOld << " times, as after it "
            << sawNew << " times, put back by the next read " << repaired << " times\n";
}

INSTANTIATE_TEST_SUITE_P(Paths, KilledWriteTest,
                         ::testing::Values(WritePath{"replaced", false},
                                           WritePath{"inPlace", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
