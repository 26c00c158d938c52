#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

#include "StoreTestSupport.h"
#include "TicketFiles.h"
#include "VersionsHome.h"
#include "store/DataFileChange.h"
#include "store/Profile.h"
#include "store/TicketFile.h"
#include "store/Versions.h"

namespace {

using store_test::TempFolderTest;

using test_support::GeneratedTicket;

std::string DataFile(int count, const std::string& winning = "05-12-23-34-45-56") {
  return test_support::DataFileBytes(test_support::GeneratedTickets(count), winning);
}

// Every test keeps its versions in a folder of its own.
class VersionsTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    versionsHome_.emplace(PathOf("data"));
  }
  void TearDown() override {
    versionsHome_.reset();
    TempFolderTest::TearDown();
  }

  static std::vector<std::string> VersionBytes(const std::string& path) {
    std::vector<std::string> bytes;
    const store::Result<store::VersionList> list = store::ListVersions(path);
    if (!list) {
      ADD_FAILURE() << list.error().reason;
      return bytes;
    }
    for (const store::KeptVersion& version : list->versions) {
      bytes.push_back(ReadBytes(version.file));
    }
    return bytes;
  }

  std::optional<test_support::VersionsHome> versionsHome_;
};

struct RemovingCommand {
  const char* name;
  std::function<store::Result<void>(const std::string& path)> run;
  bool keeps;
};

void PrintTo(const RemovingCommand& command, std::ostream* out) {
  *out << command.name;
}

class VersionPerCommandTest : public VersionsTest,
                              public ::testing::WithParamInterface<RemovingCommand> {};

TEST_P(VersionPerCommandTest, KeepsExactlyOneVersionWithTheOldBytesWhenTicketsGo) {
  const std::string path = PathOf("syndicate.pmd");
  const std::string old = DataFile(5);
  WriteBytes(path, old);
  ASSERT_TRUE(GetParam().run(path));
  ASSERT_NE(ReadBytes(path), old) << "the command changed nothing";
  const std::vector<std::string> kept = VersionBytes(path);
  if (GetParam().keeps) {
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0], old);
  } else {
    EXPECT_TRUE(kept.empty());
  }
}

std::vector<std::string> FirstTickets(int count) {
  std::vector<std::string> tickets;
  for (int k = 1; k <= count; ++k) {
    tickets.push_back(GeneratedTicket(k));
  }
  return tickets;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, VersionPerCommandTest,
    ::testing::Values(
        RemovingCommand{
            "DeleteSomeTickets",
            [](const std::string& p) { return store::RewriteTickets(p, {GeneratedTicket(2)}); },
            true},
        RemovingCommand{"DeleteEveryTicket",
                        [](const std::string& p) { return store::RewriteTickets(p, {}); }, true},
        RemovingCommand{"SaveAChangedTicket",
                        [](const std::string& p) {
                          std::vector<std::string> tickets = FirstTickets(5);
                          tickets[2] = "01-02-03-04-05-06";
                          return store::RewriteTickets(p, tickets);
                        },
                        true},
        RemovingCommand{"NewOverTheFile",
                        [](const std::string& p) { return store::StartDataFile(p); }, true},
        RemovingCommand{"ReplaceTheWinningNumber",
                        [](const std::string& p) {
                          return store::WriteProfileValue(store::kSection, store::kWinningKey,
                                                          "01-02-03-04-05-06", p);
                        },
                        true},
        RemovingCommand{"Restore",
                        [](const std::string& p) { return store::RestoreDataFile(p, DataFile(1)); },
                        true},
        RemovingCommand{
            "SaveALongerList",
            [](const std::string& p) { return store::RewriteTickets(p, FirstTickets(6)); }, false},
        RemovingCommand{"AddATicket",
                        [](const std::string& p) {
                          return store_test::WithoutValue(
                              store::AppendTicket(p, GeneratedTicket(9)));
                        },
                        false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VersionsTest, NothingIsKeptOfAMissingFileOrWhenNothingChanges) {
  const std::string path = PathOf("new.pmd");
  ASSERT_TRUE(store::StartDataFile(path).has_value());
  ASSERT_TRUE(store::RewriteTickets(path, {}).has_value());
  ASSERT_TRUE(store::RewriteTickets(path, {}).has_value());
  EXPECT_TRUE(VersionBytes(path).empty());
}

TEST_F(VersionsTest, FoldersAreTheUsersOwnWhateverTheUmask) {
  const std::string path = PathOf("a.pmd");
  WriteBytes(path, DataFile(3));
  const mode_t oldMask = ::umask(0);
  const store::Result<void> written = store::RewriteTickets(path, {});
  ::umask(oldMask);
  ASSERT_TRUE(written);
  for (const std::string& folder : {store::VersionsRoot(), store::VersionFolderOf(path)}) {
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0) << folder;
    EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
  }
}

TEST_F(VersionsTest, CountLimitDropsTheOldestOfTheFile) {
  const std::string path = PathOf("a.pmd");
  for (int k = 1; k <= 53; ++k) {
    ASSERT_TRUE(store::KeepVersion(path, DataFile(k))->kept);
  }
  const std::vector<std::string> kept = VersionBytes(path);
  ASSERT_EQ(kept.size(), store::kMaxVersionsPerFile);
  EXPECT_EQ(kept.front(), DataFile(4));
  EXPECT_EQ(kept.back(), DataFile(53));
}

TEST_F(VersionsTest, SizeLimitDropsTheOldestOfAllFilesButNeverTheNewest) {
  const std::string a = PathOf("a.pmd");
  const std::string b = PathOf("b.pmd");
  const store::VersionLimits limits{50, 3000};
  std::uintmax_t size = 0;
  for (int k = 1; k <= 12; ++k) {
    const std::string bytes = DataFile(10 + k);
    size = bytes.size();
    ASSERT_TRUE(store::KeepVersion(k % 2 == 0 ? a : b, bytes, limits)->kept);
  }
  const std::vector<std::string> keptA = VersionBytes(a);
  const std::vector<std::string> keptB = VersionBytes(b);
  std::uintmax_t total = 0;
  for (const auto& kept : {keptA, keptB}) {
    for (const std::string& bytes : kept) {
      total += bytes.size();
    }
  }
  EXPECT_LE(total, limits.totalBytes);
  EXPECT_GT(total + size, limits.totalBytes) << "more was dropped than the limit asks";
  ASSERT_FALSE(keptA.empty());
  ASSERT_FALSE(keptB.empty());
  EXPECT_EQ(keptA.back(), DataFile(22));
  EXPECT_EQ(keptB.back(), DataFile(21));
  // What is left is the newest of both files together.
  EXPECT_GE(std::min(keptA.front().size(), keptB.front().size()),
            DataFile(22 - static_cast<int>(keptA.size() + keptB.size()) + 1).size());

  const std::string huge = DataFile(400);
  ASSERT_TRUE(store::KeepVersion(a, huge, limits)->kept);
  EXPECT_EQ(VersionBytes(a), std::vector<std::string>{huge});
  EXPECT_TRUE(VersionBytes(b).empty());
}

TEST_F(VersionsTest, FilesOfOneNameInDifferentFoldersKeepSeparateVersions) {
  std::filesystem::create_directories(folder_ / "one");
  std::filesystem::create_directories(folder_ / "two");
  const std::string one = PathOf("one/lotto.pmd");
  const std::string two = PathOf("two/lotto.pmd");
  WriteBytes(one, DataFile(3));
  WriteBytes(two, DataFile(4));
  ASSERT_TRUE(store::RewriteTickets(one, {}).has_value());
  ASSERT_TRUE(store::RewriteTickets(two, {}).has_value());
  EXPECT_NE(store::VersionFolderOf(one), store::VersionFolderOf(two));
  EXPECT_EQ(VersionBytes(one), std::vector<std::string>{DataFile(3)});
  EXPECT_EQ(VersionBytes(two), std::vector<std::string>{DataFile(4)});
  // Reached through another spelling of its path, a file is still the same file.
  EXPECT_EQ(store::VersionFolderOf(PathOf("two/../one/lotto.pmd")), store::VersionFolderOf(one));
}

TEST_F(VersionsTest, TwoVersionsInOneMomentBothStayInOrder) {
  const std::string path = PathOf("a.pmd");
  std::vector<std::string> whens;
  for (int k = 1; k <= 20; ++k) {
    whens.push_back(store::KeepVersion(path, DataFile(k))->when);
  }
  EXPECT_TRUE(std::is_sorted(whens.begin(), whens.end()));
  EXPECT_EQ(std::set<std::string>(whens.begin(), whens.end()).size(), whens.size());
  EXPECT_EQ(VersionBytes(path).size(), 20u);
}

// Ways the versions folder can refuse a version; the change itself must go through regardless.
struct BrokenFolder {
  const char* name;
  std::function<void(const std::string& dataHome)> breakIt;
  bool unprivileged;  // root writes into read-only folders, so the test drops its privileges
};

void PrintTo(const BrokenFolder& broken, std::ostream* out) {
  *out << broken.name;
}

class VersionFailureTest : public VersionsTest,
                           public ::testing::WithParamInterface<BrokenFolder> {};

// Runs a removing command; returns what went wrong, or nothing.
std::string CommandWorksAndNotesIt(const std::string& path, const std::string& dataHome) {
  const store::Result<void> written = store::RewriteTickets(path, {GeneratedTicket(1)});
  if (!written.has_value() ||
      store::ReadAllTickets(path).tickets != std::vector<std::string>{GeneratedTicket(1)}) {
    return "the command failed";
  }
  if (written.notes().size() != 1 ||
      written.notes()[0].kind != store::ProblemKind::VersionNotKept ||
      !written.notes()[0].path.starts_with(dataHome) || written.notes()[0].reason.empty()) {
    return "no note with the folder and the reason";
  }
  return {};
}

TEST_P(VersionFailureTest, LeavesTheCommandWorkingAndSaysSoOnce) {
  const std::string dataHome = PathOf("data");
  const std::string path = PathOf("a.pmd");
  WriteBytes(path, DataFile(4));
  if (!GetParam().unprivileged) {
    GetParam().breakIt(dataHome);
    EXPECT_EQ(CommandWorksAndNotesIt(path, dataHome), "");
    return;
  }
  std::filesystem::create_directories(dataHome);
  EXPECT_EQ(store_test::RunUnprivileged([&] { return CommandWorksAndNotesIt(path, dataHome); },
                                        [&] {
                                          ::chmod(folder_.c_str(), 0777);
                                          (void)!::chown(path.c_str(), 65534, 65534);
                                          (void)!::chown(dataHome.c_str(), 65534, 65534);
                                          GetParam().breakIt(dataHome);
                                        }),
            "");
  std::filesystem::permissions(dataHome, std::filesystem::perms::owner_all);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, VersionFailureTest,
    ::testing::Values(
        BrokenFolder{"DataFolderIsAFile",
                     [](const std::string& home) { std::ofstream(home) << "not a folder"; }, false},
        BrokenFolder{"ReadOnlyDataFolder",
                     [](const std::string& home) { ::chmod(home.c_str(), 0500); }, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A restore and an appending writer take turns under the lock: every ticket the appender saved is
// afterwards either in the file or in the version the restore kept.
TEST_F(VersionsTest, RestoreWhileAnotherWriterAppendsLosesNoTicket) {
  const std::string path = PathOf("a.pmd");
  const std::string restored = DataFile(2, "01-02-03-04-05-06");
  WriteBytes(path, DataFile(1));
  constexpr int kAppends = 300;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(ready[0]);
    for (int k = 0; k < kAppends; ++k) {
      if (!store::AppendTicket(path, "TICKET-" + std::to_string(k)).has_value()) {
        ::_exit(1);
      }
      if (k == kAppends / 3) {
        (void)!::write(ready[1], "x", 1);
      }
    }
    ::_exit(0);
  }
  ::close(ready[1]);
  char signal = 0;
  ASSERT_EQ(::read(ready[0], &signal, 1), 1);
  ::close(ready[0]);
  const store::Result<void> written = store::RestoreDataFile(path, restored);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_EQ(store_test::ReasonOf(written), "ok");

  const std::vector<std::string> versions = VersionBytes(path);
  ASSERT_EQ(versions.size(), 1u);
  const std::vector<std::string> now = store::ReadAllTickets(path).tickets.ToStrings();
  ASSERT_GE(now.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(now.begin(), now.begin() + 2),
            (std::vector<std::string>{GeneratedTicket(1), GeneratedTicket(2)}));
  WriteBytes(PathOf("kept.pmd"), versions[0]);
  std::vector<std::string> saved = store::ReadAllTickets(PathOf("kept.pmd")).tickets.ToStrings();
  saved.insert(saved.end(), now.begin() + 2, now.end());
  std::set<std::string> seen(saved.begin(), saved.end());
  for (int k = 0; k < kAppends; ++k) {
    EXPECT_TRUE(seen.count("TICKET-" + std::to_string(k))) << "ticket " << k << " was lost";
  }
}

}  // namespace

namespace {

// Versions where another user could have put them: a folder of another user, or one others may
// write, is refused with the reason; a file of another user in the user's own folder is passed
// over.
struct ForeignVersion {
  const char* name;
  uid_t folderOwner;
  mode_t folderMode;
  uid_t fileOwner;
  const char* found;  // the reason, or how many versions are listed
};

void PrintTo(const ForeignVersion& c, std::ostream* out) {
  *out << c.name;
}

class ForeignVersionTest : public VersionsTest,
                           public ::testing::WithParamInterface<ForeignVersion> {};

TEST_P(ForeignVersionTest, IsNeitherListedNorRestored) {
  const ForeignVersion& c = GetParam();
  if (::geteuid() != 0) {
    GTEST_SKIP() << "only root can give a folder to another user";
  }
  const std::string path = PathOf("a.pmd");
  WriteBytes(path, DataFile(2));
  ASSERT_TRUE(store::KeepVersion(path, DataFile(3)));
  const std::string folder = store::VersionFolderOf(path);
  const std::string planted = folder + "/2000-01-01T00:00:00.000000Z.pmd";
  WriteBytes(planted, "[Numbers]\r\nTOTAL=1\r\n1=\x1b]0;planted\x07\r\n");
  ASSERT_EQ(::chown(planted.c_str(), c.fileOwner, c.fileOwner), 0);
  ASSERT_EQ(::chown(folder.c_str(), c.folderOwner, c.folderOwner), 0);
  ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
  const store::Result<store::VersionList> list = store::ListVersions(path);
  EXPECT_EQ(list ? std::to_string(list->versions.size()) : list.error().reason, c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Owners, ForeignVersionTest,
    ::testing::Values(ForeignVersion{"folderOfAnotherUser", 65534, 0777, 65534,
                                     "it belongs to another user; no version is taken from there"},
                      ForeignVersion{"folderOthersMayWrite", 0, 0777, 0,
                                     "other users may write to it; no version is taken from there"},
                      ForeignVersion{"fileOfAnotherUser", 0, 0700, 65534, "1"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
