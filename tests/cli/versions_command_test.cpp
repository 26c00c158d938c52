#include <stdlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "FileSizeLimit.h"
#include "TicketFiles.h"
#include "VersionsHome.h"
#include "cli/Commands.h"
#include "store/TicketFile.h"
#include "store/Versions.h"

namespace cli {
namespace {

using cli_test::CrLf;

class VersionsCommandTest : public cli_test::FolderTest {
 protected:
  void SetUp() override {
    FolderTest::SetUp();
    versionsHome_.emplace(PathOf("data"));
    file_ = Write("syndicate.pmd", kFile);
  }
  void TearDown() override {
    versionsHome_.reset();
    FolderTest::TearDown();
  }

  static CommandOutput Run(const std::vector<std::string>& arguments) {
    return RunCommandLine(arguments, false);
  }

  std::vector<std::string> Whens() const {
    std::vector<std::string> whens;
    const store::Result<store::VersionList> list = store::ListVersions(file_);
    if (!list) {
      ADD_FAILURE() << list.error().reason;
      return whens;
    }
    for (const store::KeptVersion& version : list->versions) {
      whens.push_back(version.when);
    }
    return whens;
  }

  const std::string kFile =
      CrLf({"[Numbers]", "TOTAL=3", "W=05-12-23-34-45-56", "1=01-02-03-04-05-06",
            "2=07-08-09-10-11-12", "3=01-02-03-04-05-06"});
  std::string file_;
  std::optional<test_support::VersionsHome> versionsHome_;
};

TEST_F(VersionsCommandTest, EveryTicketComesBackByteForByteAfterDeletingThemAll) {
  const CommandOutput none = Run({"--versions", file_});
  EXPECT_EQ(none.status, kExitNotFound);
  EXPECT_NE(none.out.find("No versions"), std::string::npos) << none.out;

  ASSERT_TRUE(store::RewriteTickets(file_, {"07-08-09-10-11-12"}).has_value());
  const CommandOutput listed = Run({"--versions", file_});
  EXPECT_EQ(listed.status, kExitFound) << listed.err;
  ASSERT_EQ(Whens().size(), 1u);
  const std::string when = Whens().front();
  // When, 3 tickets, the winning number, 2 tickets the file now lacks (one held twice).
  std::istringstream line(listed.out.substr(listed.out.find("\n" + when) + 1));
  std::vector<std::string> columns(4);
  line >> columns[0] >> columns[1] >> columns[2] >> columns[3];
  EXPECT_EQ(columns, (std::vector<std::string>{when, "3", "05-12-23-34-45-56", "2"})) << listed.out;

  const CommandOutput restored = Run({"--restore", when, file_});
  EXPECT_EQ(restored.status, kExitFound) << restored.err;
  EXPECT_EQ(restored.err, "");
  EXPECT_EQ(Read(file_), kFile);
  EXPECT_EQ(Whens().size(), 2u) << "the restore itself is kept as a version";
}

TEST_F(VersionsCommandTest, AFullFileComesBackByteForByte) {
  const std::string full =
      test_support::DataFileBytes(test_support::GeneratedTickets(store::kMaxTickets));
  file_ = Write("full.pmd", full);
  ASSERT_TRUE(store::RewriteTickets(file_, {}).has_value());
  ASSERT_EQ(Whens().size(), 1u);
  EXPECT_EQ(Run({"--restore", Whens().front(), file_}).status, kExitFound);
  EXPECT_EQ(Read(file_), full);
}

struct VersionsCase {
  const char* name;
  std::vector<std::string> arguments;  // FILE stands for the data file
  int status;
  const char* text;  // found in standard output or standard error
  bool removeFile = false;
};

void PrintTo(const VersionsCase& c, std::ostream* out) {
  *out << c.name;
}

class VersionsCommandStatusTest : public VersionsCommandTest,
                                  public ::testing::WithParamInterface<VersionsCase> {};

// Two versions are kept before each case, both of the same day.
TEST_P(VersionsCommandStatusTest, ExitsWithItsDocumentedStatus) {
  ASSERT_TRUE(store::RewriteTickets(file_, {"07-08-09-10-11-12"}).has_value());
  ASSERT_TRUE(store::RewriteTickets(file_, {}).has_value());
  ASSERT_EQ(Whens().size(), 2u);
  if (GetParam().removeFile) {
    std::filesystem::remove(file_);
  }
  std::vector<std::string> arguments = GetParam().arguments;
  for (std::string& argument : arguments) {
    if (argument == "FILE") {
      argument = file_;
    } else if (const std::size_t at = argument.find("OLDEST"); at != std::string::npos) {
      argument.replace(at, 6, Whens().front());
    } else if (argument == "OTHER") {
      argument = PathOf("other.pmd");
    }
  }
  const CommandOutput output = Run(arguments);
  EXPECT_EQ(output.status, GetParam().status) << output.out << output.err;
  EXPECT_NE((output.out + output.err).find(GetParam().text), std::string::npos)
      << output.out << output.err;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, VersionsCommandStatusTest,
    ::testing::Values(
        VersionsCase{"ListsOldestFirst", {"--versions", "FILE"}, kExitFound, "oldest first"},
        VersionsCase{
            "NoneKeptOfAnotherFile", {"--versions", "OTHER"}, kExitNotFound, "No versions"},
        VersionsCase{"RestoresTheOldest",
                     {"--restore", "OLDEST", "FILE"},
                     kExitFound,
                     "it now holds 3 tickets"},
        VersionsCase{
            "RestoreCreatesARemovedFile", {"--restore=OLDEST", "FILE"}, kExitFound, "Restored"},
        VersionsCase{"UnknownTime",
                     {"--restore", "1999-01-01T00:00:00.000000Z", "FILE"},
                     kExitError,
                     "no version kept at 1999-01-01T00:00:00.000000Z"},
        VersionsCase{"TimeStartingTwoVersions",
                     {"--restore", "2", "FILE"},
                     kExitError,
                     "2 versions start with 2"},
        VersionsCase{"RestoreWithoutATime", {"--restore"}, kExitError, "--restore needs a time"},
        VersionsCase{"ForgetsThemAll", {"--forget", "FILE"}, kExitFound, "Removed 2 versions"},
        VersionsCase{
            "ForgetsNoneOfAnotherFile", {"--forget", "OTHER"}, kExitNotFound, "No versions"},
        VersionsCase{"NotTogether",
                     {"--versions", "--forget", "FILE"},
                     kExitError,
                     "--versions and --forget cannot be used together"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VersionsCommandTest, AVersionThatCannotBeKeptIsToldOnceAfterTheCommand) {
  ASSERT_TRUE(store::RewriteTickets(file_, std::vector<std::string>(20, "01-02-03-04-05-06")));
  const std::string when = Whens().front();
  // The file as it is now is too large to be kept; the smaller version put back still fits.
  const test_support::FileSizeLimit limit(kFile.size() + 1);
  const CommandOutput first = Run({"--restore", when, file_});
  EXPECT_EQ(first.status, kExitFound);
  EXPECT_EQ(Read(file_), kFile);
  EXPECT_NE(first.err.find(store::VersionFolderOf(file_) + ": File too large"), std::string::npos)
      << first.err;
  EXPECT_EQ(std::count(first.err.begin(), first.err.end(), '\n'), 1);
}

}  // namespace
}  // namespace cli
