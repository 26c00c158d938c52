// A process rewriting a full data file is killed outright at random moments; whatever the moment,
// the file must hold the old list or the new one, whole.
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
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "FaultTickets.h"
#include "TempFolder.h"
#include "store/TicketFile.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using test_support::ReadBytes;

// The rewriting helper, started with its output on a pipe so the test knows when it runs.
class RewriteLoop {
 public:
  explicit RewriteLoop(const std::string& dataFile) {
    int fds[2];
    if (::pipe(fds) != 0)
      return;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string program = REWRITE_LOOP;
    std::string argument = dataFile;
    char* argv[] = {program.data(), argument.data(), nullptr};
    if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0)
      pid_ = -1;
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out_ = fds[0];
  }
  ~RewriteLoop() {
    Kill();
    if (out_ >= 0)
      ::close(out_);
  }

  // Blocks until the helper says it is about to start writing.
  bool WaitUntilReady() {
    std::string line;
    char c;
    while (pid_ > 0 && ::read(out_, &c, 1) == 1 && c != '\n')
      line.push_back(c);
    return line == "ready";
  }
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
  pid_t pid_ = -1;
  int out_ = -1;
};

TEST(KilledWriteTest, FileHoldsTheOldOrTheNewListWhole) {
  constexpr int kKills = 60;
  const auto budget = std::chrono::seconds(45);
  const test_support::TempFolder folder("kill");
  const std::string path = folder.PathOf("pelmora.pmd");

  // Both states as the same code writes them, and the time one rewrite takes.
  const std::vector<std::string> first = faults::FullTicketList(0);
  const std::vector<std::string> second = faults::FullTicketList(1);
  ASSERT_TRUE(store::StartDataFile(path).write.ok);
  ASSERT_TRUE(store::RewriteTickets(path, first).ok);
  const std::string firstBytes = ReadBytes(path);
  const auto started = Clock::now();
  ASSERT_TRUE(store::RewriteTickets(path, second).ok);
  const auto rewrite = Clock::now() - started;
  const std::string secondBytes = ReadBytes(path);
  ASSERT_TRUE(store::RewriteTickets(path, first).ok);
  ASSERT_EQ(ReadBytes(path), firstBytes);
  ASSERT_NE(firstBytes, secondBytes);

  // Kills spread over the first few rewrites, so that they land before, during and after renames.
  std::mt19937 random(20240607);
  std::uniform_int_distribution<long long> delay(
      0, std::chrono::duration_cast<std::chrono::microseconds>(rewrite * 4).count());
  int kills = 0;
  int sawFirst = 0;
  int sawSecond = 0;
  const auto deadline = Clock::now() + budget;
  while (kills < kKills && Clock::now() < deadline) {
    RewriteLoop loop(path);
    ASSERT_TRUE(loop.WaitUntilReady());
    // The wait is the fault being injected: the kill comes at a moment chosen by chance.
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ASSERT_TRUE(loop.Kill()) << "the helper stopped by itself";
    ++kills;

    const std::string bytes = ReadBytes(path);
    if (bytes == firstBytes) {
      ++sawFirst;
    } else if (bytes == secondBytes) {
      ++sawSecond;
    } else {
      FAIL() << "after kill " << kills << " the file holds " << bytes.size()
             << " bytes that are neither list (" << firstBytes.size() << " or "
             << secondBytes.size() << " bytes)";
    }
  }
  EXPECT_GE(kills, 50) << "the time budget ran out";
  // Otherwise every kill came too early or too late to prove anything.
  EXPECT_GT(sawFirst, 0);
  EXPECT_GT(sawSecond, 0);
  EXPECT_EQ(store::ReadAllTickets(path).tickets.size(),
            static_cast<std::size_t>(store::kMaxTickets));

  // A killed writer cannot remove its half-written temporary file; nothing else is left.
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    const std::string name = entry.path().filename().string();
    // Temporary names are ".pm<hash of the name>.<pid>.<four hex digits>".
    static const std::regex temporary(R"(\.pm[0-9a-f]{8}\.[0-9]+\.[0-9a-f]{4})");
    EXPECT_TRUE(name == "pelmora.pmd" || std::regex_match(name, temporary)) << name;
  }
  std::cout << kills << " kills, one rewrite "
            << std::chrono::duration_cast<std::chrono::milliseconds>(rewrite).count()
            << " ms: the old list " << sawFirst << " times, the new list " << sawSecond
            << " times\n";
}

}  // namespace
