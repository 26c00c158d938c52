#pragma once

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "check/MatchCheck.h"
#include "store/PlayNumber.h"
#include "store/Profile.h"
#include "store/TicketFile.h"

namespace cli_test {

// A fresh folder per test, removed afterwards, with the names the command-line tests use.
class FolderTest : public store_test::TempFolderTest {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string path = PathOf(name);
    WriteBytes(path, bytes);
    return path;
  }

  static std::string Read(const std::string& path) { return ReadBytes(path); }
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
inline std::string WindowCheck(const std::string& path) {
  const std::string stored = store::ReadProfileValue(store::kSection, store::kWinningKey, path);
  check::WinningTexts winning;
  for (int k = 1; k <= store::kNumbersPerTicket; ++k)
    winning[static_cast<std::size_t>(k - 1)] = std::string(store::PlayNumberField(stored, k));
  std::string text;
  check::WriteCheck(winning, store::ReadAllTickets(path).tickets,
                    [&text](std::string_view piece) { text += piece; });
  return text;
}

}  // namespace cli_test
