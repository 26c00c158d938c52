#pragma once

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "store/DataFileChange.h"
#include "store/Problem.h"

namespace store_test {

// Removes a key's line in one locked change, as a program that rewrites its file key by key does.
inline void DeleteKey(std::string_view section, std::string_view key, const std::string& path) {
  store::ChangeDataFile(path, [&](store::ProfileDocument& doc, const store::FileContents& before) {
    return before.exists && doc.Delete(section, key)
               ? store::ChangeVerdict::WriteAfterKeepingVersion
               : store::ChangeVerdict::Abandon;
  });
}

// The same outcome without its value, for a table of changes that give different values.
template <typename T>
store::Result<void> WithoutValue(const store::Result<T>& result) {
  if (!result) {
    return store::Fail(result.error());
  }
  return {};
}

// The reason a result failed, or "ok": one text that a test compares whichever way it went.
template <typename T>
std::string ReasonOf(const store::Result<T>& result) {
  return result ? std::string("ok") : result.error().reason;
}

// A fresh folder per test, removed with everything in it afterwards.
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // A parameterised test's name holds a '/', which would make the folder a nested one whose
    // parent outlives the test.
    std::string name = info->name();
    std::replace(name.begin(), name.end(), '/', '-');
    temp_.emplace(name, BaseFolder());
    folder_ = temp_->path();
  }
  void TearDown() override { temp_.reset(); }

  virtual std::filesystem::path BaseFolder() const {
    return std::filesystem::temp_directory_path();
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    test_support::WriteBytes(path, bytes);
  }
  static std::string ReadBytes(const std::string& path) { return test_support::ReadBytes(path); }
  // Names in the folder, to check that no temporary file is left behind.
  std::size_t EntryCount() const {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_)) {
      ++count;
    }
    return count;
  }

  std::optional<test_support::TempFolder> temp_;
  std::filesystem::path folder_;
};

// For tests that write files thousands of times and compare bytes, not durability: a
// memory-backed folder when there is one, where syncing costs nothing.
class MemoryFolderTest : public TempFolderTest {
 protected:
  std::filesystem::path BaseFolder() const override {
    std::error_code error;
    return std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm"
                                                            : TempFolderTest::BaseFolder();
  }
};

// Runs `body` in a child process without root's power to ignore permissions (the tests may run
// as root), and returns the text it produced. `setup` runs in the child before privileges are
// dropped. Unless `setup` gives it one, the body gets a data folder of its own, as any user has
// (a rewrite in place keeps the old bytes there).
inline std::string RunUnprivileged(const std::function<std::string()>& body,
                                   const std::function<void()>& setup = {}) {
  int fds[2];
  if (::pipe(fds) != 0) {
    return "pipe failed";
  }
  const std::string ownHome = std::filesystem::temp_directory_path().string() + "/pelmora-nobody-" +
                              std::to_string(::getpid());
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    if (setup) {
      setup();
    }
    struct stat home {};
    const char* given = std::getenv("XDG_DATA_HOME");
    if (::geteuid() == 0 &&
        (given == nullptr || ::stat(given, &home) != 0 || home.st_uid != 65534)) {
      std::filesystem::create_directories(ownHome);
      (void)!::chown(ownHome.c_str(), 65534, 65534);
      ::setenv("XDG_DATA_HOME", ownHome.c_str(), 1);
    }
    if (::geteuid() == 0) {
      if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
        ::_exit(2);
      }
    }
    const std::string text = body();
    const ssize_t ignored = ::write(fds[1], text.data(), text.size());
    (void)ignored;
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string text;
  char buffer[256];
  ssize_t got;
  while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0) {
    text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  std::error_code ignored;
  std::filesystem::remove_all(ownHome, ignored);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return "child failed";
  }
  return text;
}

}  // namespace store_test
