#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "check/MatchCheck.h"
#include "store/PlayNumber.h"
#include "store/Profile.h"
#include "store/TicketFile.h"

namespace cli_test {

// A fresh folder per test, removed afterwards.
class FolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    folder_ = std::filesystem::temp_directory_path() /
              ("pelmora-cli-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }

  std::filesystem::path folder_;
};

// Lines joined with CR LF, each ended by one, as the data file and the results text have them.
inline std::string CrLf(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

// What F5 shows for a data file: the check over the tickets the window lists and the winning
// number it loads into its six boxes.
inline check::CheckResult WindowCheck(const std::string& path) {
  const std::string stored = store::ReadProfileValue("Numbers", "W", path);
  check::WinningTexts winning;
  for (int k = 1; k <= 6; ++k)
    winning[static_cast<std::size_t>(k - 1)] = std::string(store::PlayNumberField(stored, k));
  return check::RunCheck(winning, store::ReadAllTickets(path).tickets);
}

}  // namespace cli_test
