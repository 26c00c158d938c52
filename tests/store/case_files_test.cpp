// Data files as written on Windows and by hand, run through each command and compared byte for
// byte with the expected result. A case is two files in cases/: "<name>.<command>.pmd", the file
// before, and "<name>.<command>.expected": the file after the command, or, for "read", what is
// read from it. Commands:
//   read     TOTAL and W as read, then every ticket of the list
//   rewrite  the list as read without its first ticket (what Delete does); when the file's
//            count cannot be read, the command must fail and leave the file as it was
//   append   one ticket added after the file's count (Save/Next)
//   winning  a new winning number (Set Winning Number, Done)
//   start    the file started afresh (New)
#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/Profile.h"
#include "store/TicketFile.h"

namespace {

namespace fs = std::filesystem;

struct CaseFile {
  std::string name;  // "<name>.<command>"
  std::string command;
  fs::path input;
  fs::path expected;
};

void PrintTo(const CaseFile& test, std::ostream* out) {
  *out << test.name;
}

std::vector<CaseFile> FindCases() {
  std::vector<CaseFile> cases;
  for (const auto& entry : fs::directory_iterator(CASES_DIR)) {
    if (entry.path().extension() != ".pmd")
      continue;
    CaseFile found;
    found.name = entry.path().stem().string();
    found.command = fs::path(found.name).extension().string().substr(1);
    found.input = entry.path();
    found.expected = fs::path(entry.path()).replace_extension(".expected");
    cases.push_back(found);
  }
  std::sort(cases.begin(), cases.end(),
            [](const CaseFile& a, const CaseFile& b) { return a.name < b.name; });
  return cases;
}

class CaseFileTest : public store_test::TempFolderTest,
                     public ::testing::WithParamInterface<CaseFile> {};

std::string ReadOutcome(const std::string& path) {
  const store::TicketList list = store::ReadAllTickets(path);
  std::string text = "TOTAL ";
  text += list.count ? std::to_string(*list.count)
                     : "error " + std::to_string(store::ErrorNumberOf(list.count.error()));
  text += "\nW " + store::ReadProfileValue(store::kSection, store::kWinningKey, path) + "\n";
  for (std::size_t i = 0; i < list.tickets.size(); ++i)
    text.append(std::to_string(i + 1)).append(" ").append(list.tickets[i]).append("\n");
  return text;
}

TEST_P(CaseFileTest, CommandGivesTheExpectedBytes) {
  const CaseFile& test = GetParam();
  ASSERT_TRUE(fs::exists(test.expected)) << test.expected;
  const std::string path = PathOf("data.pmd");
  fs::copy_file(test.input, path);
  const std::string expected = ReadBytes(test.expected.string());

  if (test.command == "read") {
    EXPECT_EQ(ReadOutcome(path), expected);
    return;
  }
  store::Result<void> result;
  if (test.command == "rewrite") {
    std::vector<std::string> tickets = store::ReadAllTickets(path).tickets.ToStrings();
    if (!tickets.empty())
      tickets.erase(tickets.begin());
    result = store::RewriteTickets(path, tickets);
  } else if (test.command == "append") {
    const store::Result<int> added = store::AppendTicket(path, "11-22-33-44-55-59");
    if (!added)
      result = store::Fail(added.error());
  } else if (test.command == "winning") {
    result = store::WriteProfileValue("numbers", "w", "07-14-21-28-35-42", path);
  } else if (test.command == "start") {
    result = store::StartDataFile(path);
  } else {
    FAIL() << "unknown command " << test.command;
  }
  const bool refused = test.name.starts_with("count-");
  const std::string reason = store_test::ReasonOf(result);
  EXPECT_EQ(result.has_value(), !refused) << reason;
  if (refused) {
    EXPECT_EQ(result.error().path, path);
    EXPECT_NE(reason.find("The ticket count (TOTAL)"), std::string::npos) << reason;
  }
  EXPECT_EQ(ReadBytes(path), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CaseFileTest, ::testing::ValuesIn(FindCases()),
                         [](const ::testing::TestParamInfo<CaseFile>& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c)))
                               c = '_';
                           return name;
                         });

}  // namespace
