// What the data file operations do when the file system says no: a full disk, a read-only file
// or folder, a data file that is a folder. Every change must fail with the system's reason and
// leave the old file as it was. And paths with blanks and non-ASCII letters must simply work.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FileSizeLimit.h"
#include "ImmutableFlag.h"
#include "StoreTestSupport.h"
#include "store/AtomicFile.h"
#include "store/Profile.h"
#include "store/TicketFile.h"

namespace {

namespace fs = std::filesystem;
using Tickets = std::vector<std::string>;

const char kA[] = "05-12-19-33-40-52";
const char kB[] = "01-09-14-27-38-44";
const char kC[] = "07-08-09-10-11-12";

using test_support::ReadBytes;

bool IsRoot() {
  return ::geteuid() == 0;
}

// Every kind of change the program makes to a data file, and what became of each, one line per
// change: "<change>: ok" or "<change>: <path> | <reason>".
std::string ApplyEveryChange(const std::string& path) {
  const std::vector<std::pair<const char*, std::function<store::Result<void>()>>> changes = {
      {"write",
       [&] { return store::WriteProfileValue("numbers", "w", "07-14-21-28-35-42", path); }},
      {"add",
       [&] {
         const store::Result<int> added = store::AppendTicket(path, "11-22-33-44-55-59");
         return added ? store::Result<void>() : store::Fail(added.error());
       }},
      {"rewrite",
       [&] {
         return store::RewriteTickets(path, {kC, kA});
       }},
      {"start", [&] { return store::StartDataFile(path); }},
  };
  std::string outcome;
  for (const auto& [name, change] : changes) {
    const store::Result<void> result = change();
    outcome += std::string(name) + ": " +
               (result ? "ok" : result.error().path + " | " + result.error().reason);
    outcome += "\n";
  }
  return outcome;
}

// Adding a ticket needs a count to add after: where the lock on a missing file can be had, the
// add is refused for that before anything is written (`addReason`).
std::string EveryChangeFailing(const std::string& path, const std::string& reason,
                               const std::string& addReason = {}) {
  std::string outcome;
  for (const std::string name : {"write", "add", "rewrite", "start"}) {
    outcome += name + ": " + path + " | " +
               (name == "add" && !addReason.empty() ? addReason : reason) + "\n";
  }
  return outcome;
}

std::string EveryChangeSucceeding() {
  std::string outcome;
  for (const char* name : {"write", "add", "rewrite", "start"}) {
    outcome += std::string(name) + ": ok\n";
  }
  return outcome;
}

// A small tmpfs of its own, for the faults only a real file system gives (root only).
class ScratchFileSystem {
 public:
  ScratchFileSystem(const fs::path& where, const std::string& options) : where_(where) {
    fs::create_directories(where);
    mounted_ = IsRoot() && ::mount("tmpfs", where.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~ScratchFileSystem() {
    if (mounted_)
      ::umount2(where_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  bool MakeReadOnly() {
    return ::mount(nullptr, where_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  fs::path where_;
  bool mounted_ = false;
};

class FileSystemFaultTest : public store_test::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    fs::permissions(folder_, fs::perms::all);
  }
  void TearDown() override {
    full_.reset();
    TempFolderTest::TearDown();
  }

  // A data file with three tickets, written by the program's own code.
  static void MakeDataFile(const std::string& path) {
    ASSERT_TRUE(store::StartDataFile(path).has_value());
    ASSERT_TRUE(store::RewriteTickets(path, {kA, kB, kC}).has_value());
  }

  static std::set<std::string> NamesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.insert(entry.path().filename().string());
    return names;
  }

  std::optional<test_support::FileSizeLimit> full_;
};

TEST_F(FileSystemFaultTest, FullDiskFailsEveryChangeWithItsReasonAndKeepsTheOldFile) {
  ScratchFileSystem small(folder_ / "small", "size=64k");
  const std::string reason = std::strerror(small.mounted() ? ENOSPC : EFBIG);
  const fs::path where = small.mounted() ? folder_ / "small" : folder_;
  const std::string path = (where / "pelmora.pmd").string();
  MakeDataFile(path);
  const std::string before = ReadBytes(path);

  const std::string filler = (where / "filler").string();
  if (small.mounted()) {
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const std::string block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    ::close(fd);
  } else {
    // Without root there is no file system of our own to fill: no file may grow instead.
    full_.emplace(0);
  }

  EXPECT_EQ(ApplyEveryChange(path), EveryChangeFailing(path, reason));
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(store::ReadAllTickets(path).tickets, (Tickets{kA, kB, kC}));
  const std::string missing = (where / "new.pmd").string();
  EXPECT_EQ(ApplyEveryChange(missing),
            EveryChangeFailing(missing, reason,
                               "The ticket count (TOTAL) is missing, so the number of the next "
                               "ticket is not known."));

  // No half-written file is left behind, and once there is room again the same change works.
  if (small.mounted()) {
    EXPECT_EQ(NamesIn(where), (std::set<std::string>{"pelmora.pmd", "filler"}));
    fs::remove(filler);
  } else {
    full_.reset();
  }
  EXPECT_TRUE(store::RewriteTickets(path, {kC, kA}).has_value());
  EXPECT_EQ(store::ReadAllTickets(path).tickets, (Tickets{kC, kA}));
}

TEST_F(FileSystemFaultTest, ReadOnlyFileFailsEveryChangeAndKeepsTheOldFile) {
  const std::string reason = std::strerror(EACCES);
  const std::string path = PathOf("pelmora.pmd");
  MakeDataFile(path);
  const std::string before = ReadBytes(path);

  // A read-only file in a folder that could take a new one.
  ::chmod(path.c_str(), 0444);
  EXPECT_EQ(store_test::RunUnprivileged([&] { return ApplyEveryChange(path); }),
            EveryChangeFailing(path, reason));
  EXPECT_EQ(ReadBytes(path), before);
}

// A writable file in a folder that takes no new file is rewritten in place, as an administrator's
// shared file must be; a new file there still cannot be made.
TEST_F(FileSystemFaultTest, WritableFileInReadOnlyFolderIsRewrittenInPlace) {
  const std::string path = PathOf("pelmora.pmd");
  MakeDataFile(path);
  ::chmod(path.c_str(), 0666);
  ::chmod(folder_.c_str(), 0555);
  const std::string missing = PathOf("new.pmd");
  EXPECT_EQ(store_test::RunUnprivileged(
                [&] { return ApplyEveryChange(path) + ApplyEveryChange(missing); }),
            EveryChangeSucceeding() + EveryChangeFailing(missing, std::strerror(EACCES)));
  // The last change started the file afresh.
  EXPECT_EQ(store::ReadProfileValue(store::kSection, store::kTotalKey, path), "0");
  EXPECT_EQ(store::ReadProfileValue(store::kSection, store::kWinningKey, path),
            "00-00-00-00-00-00");
  EXPECT_EQ(NamesIn(folder_), (std::set<std::string>{"pelmora.pmd"}));
}

TEST_F(FileSystemFaultTest, ReadOnlyFileSystemFailsEveryChangeAndKeepsTheOldFile) {
  ScratchFileSystem mounted(folder_ / "ro", "size=256k");
  if (!mounted.mounted())
    GTEST_SKIP() << "needs root to mount a file system of its own";
  const std::string path = (folder_ / "ro" / "pelmora.pmd").string();
  MakeDataFile(path);
  const std::string before = ReadBytes(path);
  ASSERT_TRUE(mounted.MakeReadOnly());

  const std::string reason = std::strerror(EROFS);
  EXPECT_EQ(ApplyEveryChange(path), EveryChangeFailing(path, reason));
  const std::string missing = (folder_ / "ro" / "new.pmd").string();
  EXPECT_EQ(ApplyEveryChange(missing), EveryChangeFailing(missing, reason));
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(store::ReadAllTickets(path).tickets, (Tickets{kA, kB, kC}));
}

// An immutable file stops even root, which permission bits do not.
TEST_F(FileSystemFaultTest, ImmutableFileFailsEveryChangeAndKeepsTheOldFile) {
  const std::string path = PathOf("pelmora.pmd");
  MakeDataFile(path);
  const std::string before = ReadBytes(path);
  faults::ImmutableFlag immutable(path, O_RDONLY);
  ASSERT_TRUE(immutable.opened());
  if (!immutable.set()) {
    GTEST_SKIP() << "this file system or user cannot make a file immutable";
  }
  const std::string outcome = ApplyEveryChange(path);
  immutable.Clear();

  EXPECT_EQ(outcome, EveryChangeFailing(path, std::strerror(EPERM)));
  EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(FileSystemFaultTest, DataFileThatIsAFolderReadsEmptyAndIsNeverReplaced) {
  const std::string path = PathOf("pelmora.pmd");
  fs::create_directory(path);
  std::ofstream(path + "/inside") << "kept";

  const store::TicketList list = store::ReadAllTickets(path);
  ASSERT_FALSE(list.count);
  EXPECT_EQ(list.count.error().kind, store::ProblemKind::NotANumber);
  EXPECT_TRUE(list.tickets.empty());
  EXPECT_EQ(store::ReadProfileValue(store::kSection, store::kTotalKey, path), "");

  EXPECT_EQ(ApplyEveryChange(path), EveryChangeFailing(path, std::strerror(EISDIR)));
  const store::Result<void> started = store::StartDataFile(path);
  ASSERT_FALSE(started);
  EXPECT_EQ(store::ErrorNumberOf(started.error()), store::kTypeMismatchNumber);
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_EQ(NamesIn(path), (std::set<std::string>{"inside"}));
  EXPECT_EQ(NamesIn(folder_), (std::set<std::string>{"pelmora.pmd"}));

  // A data file "inside" a plain file is no better.
  const std::string underFile = PathOf("plain/pelmora.pmd");
  std::ofstream(PathOf("plain")) << "not a folder";
  EXPECT_EQ(ApplyEveryChange(underFile), EveryChangeFailing(underFile, std::strerror(ENOTDIR)));
  EXPECT_TRUE(store::ReadAllTickets(underFile).tickets.empty());
}

TEST_F(FileSystemFaultTest, PathsWithBlanksAndNonAsciiLettersWork) {
  const fs::path folder = folder_ /
                          "Lotto Tickets \xE2\x80\x93 Gr\xC3\xB6\xC3\x9F"
                          "e \xE6\x97\xA5\xE6\x9C\xAC";
  fs::create_directories(folder);
  const std::string path = (folder / " my tickets \xC3\xA9.pmd").string();

  ASSERT_TRUE(store::StartDataFile(path).has_value());
  ASSERT_TRUE(store::AppendTicket(path, kA).has_value());
  ASSERT_TRUE(store::AppendTicket(path, kB).has_value());
  ASSERT_TRUE(store::AppendTicket(path, kC).has_value());
  ASSERT_TRUE(store::WriteProfileValue("numbers", "w", "03-17-22-35-41-58", path).has_value());
  EXPECT_EQ(store::ReadAllTickets(path).tickets, (Tickets{kA, kB, kC}));
  ASSERT_TRUE(store::RewriteTickets(path, {kC, kA}).has_value());
  EXPECT_EQ(store::ReadProfileValue(store::kSection, store::kTotalKey, path), "2");
  EXPECT_EQ(ReadBytes(path),
            "[Numbers]\r\nTOTAL=2\r\nW=03-17-22-35-41-58\r\n1=07-08-09-10-11-12\r\n"
            "2=05-12-19-33-40-52\r\n");
  EXPECT_EQ(NamesIn(folder), (std::set<std::string>{" my tickets \xC3\xA9.pmd"}));
}

}  // namespace
