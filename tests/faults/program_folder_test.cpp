// The real program, copied into a folder whose name is not UTF-8, finds its folder from its own
// path and keeps its data file there, wherever it was started from.
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "StoreTestSupport.h"

namespace {

namespace fs = std::filesystem;

class ProgramFolderTest : public store_test::TempFolderTest {};

// Starts `program` in `workFolder` off screen, with a home and runtime folder of its own and no
// session bus: it runs unguarded, so a Pelmora window open on the desktop refuses nothing.
pid_t StartProgram(const std::string& program, const std::string& workFolder,
                   const std::string& home) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(workFolder.c_str()) != 0)
      ::_exit(127);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (home + "/run").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return child;
}

TEST_F(ProgramFolderTest, DataFileIsMadeBesideTheProgramInAFolderNamedWithAnFFByte) {
  const std::string programFolder = PathOf("Programm \xFF");
  const std::string workFolder = PathOf("started here");
  const std::string home = PathOf("home");
  fs::create_directories(programFolder);
  fs::create_directories(workFolder);
  fs::create_directories(home + "/run");
  fs::permissions(home + "/run", fs::perms::owner_all);
  const std::string program = programFolder + "/pelmora";
  fs::copy_file(PELMORA_EXE, program);

  const std::string beside = programFolder + "/pelmora.pmd";
  const std::string inWorkFolder = workFolder + "/pelmora.pmd";
  // Woken by every new name in either folder, rather than looking at a clock.
  const int watch = ::inotify_init1(IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ::inotify_add_watch(watch, programFolder.c_str(), IN_CREATE | IN_MOVED_TO);
  ::inotify_add_watch(watch, workFolder.c_str(), IN_CREATE | IN_MOVED_TO);
  const pid_t child = StartProgram(program, workFolder, home);
  ASSERT_GT(child, 0);
  // Until the program has written its data file somewhere, or has ended.
  int status = 0;
  bool ended = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  // (The file may first appear empty, as the lock of a new file, before it is written.)
  const auto written = [](const std::string& path) {
    std::error_code error;
    return fs::file_size(path, error) > 0 && !error;
  };
  while (!written(beside) && !fs::exists(inWorkFolder) &&
         std::chrono::steady_clock::now() < deadline) {
    if (::waitpid(child, &status, WNOHANG) == child) {
      ended = true;
      break;
    }
    pollfd event{watch, POLLIN, 0};
    if (::poll(&event, 1, 250) > 0) {
      char drained[4096];
      const ssize_t ignored = ::read(watch, drained, sizeof drained);
      (void)ignored;
    }
  }
  ::close(watch);
  if (!ended) {
    ::kill(child, SIGTERM);
    ::waitpid(child, &status, 0);
  }
  EXPECT_TRUE(fs::exists(beside));
  EXPECT_FALSE(fs::exists(inWorkFolder));
  if (fs::exists(beside)) {
    EXPECT_EQ(ReadBytes(beside), "[Numbers]\r\nTOTAL=0\r\nW=00-00-00-00-00-00\r\n");
  }
}

}  // namespace
