// What replacing a file by rename would break, and the in-place rewrite that avoids it: hard
// links, other owners, folders that take no new file, very long names, and the temporary files a
// killed write leaves behind.
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "ImmutableFlag.h"
#include "StoreTestSupport.h"
#include "store/AtomicFile.h"
#include "store/TempNames.h"

namespace {

namespace fs = std::filesystem;
using store::WriteFileAtomically;

class WritePathTest : public store_test::TempFolderTest {
 protected:
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.insert(entry.path().filename().string());
    return names;
  }
  static struct stat StatOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
  }
};

TEST_F(WritePathTest, SecondHardLinkSeesTheNewContents) {
  const std::string path = PathOf("data.pmd");
  const std::string other = PathOf("other.pmd");
  WriteBytes(path, "old");
  fs::create_hard_link(path, other);
  ASSERT_TRUE(WriteFileAtomically(path, "new and longer"));
  EXPECT_EQ(ReadBytes(other), "new and longer");
  ASSERT_TRUE(WriteFileAtomically(other, "short"));
  EXPECT_EQ(ReadBytes(path), "short");
  EXPECT_EQ(StatOf(path).st_nlink, 2u);
  EXPECT_EQ(Names(), (std::set<std::string>{"data.pmd", "other.pmd"}));
}

TEST_F(WritePathTest, OwnerAndGroupAreKept) {
  const std::string path = PathOf("data.pmd");
  WriteBytes(path, "old");
  ::chmod(path.c_str(), 0664);
  ::chmod(folder_.c_str(), 0777);
  if (::geteuid() == 0) {
    // Root replaces the file and gives the new one the old owner.
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "by root"));
    EXPECT_EQ(StatOf(path).st_uid, 65534u);
    EXPECT_EQ(StatOf(path).st_gid, 65534u);
    ASSERT_EQ(::chown(path.c_str(), 0, 0), 0);
  }
  ::chmod(path.c_str(), 0666);
  const struct stat before = StatOf(path);
  // Another user may write the file but not give a new one its owner: it is written in place.
  EXPECT_EQ(store_test::RunUnprivileged(
                [&] { return store_test::ReasonOf(WriteFileAtomically(path, "by another user")); }),
            "ok");
  EXPECT_EQ(ReadBytes(path), "by another user");
  EXPECT_EQ(StatOf(path).st_uid, before.st_uid);
  EXPECT_EQ(StatOf(path).st_gid, before.st_gid);
  EXPECT_EQ(StatOf(path).st_mode & 07777, 0666u);
  EXPECT_EQ(Names(), (std::set<std::string>{"data.pmd"}));
}

TEST_F(WritePathTest, ImmutableFolderIsWrittenInPlace) {
  const std::string path = PathOf("data.pmd");
  WriteBytes(path, "old");
  faults::ImmutableFlag immutable(folder_.string(), O_RDONLY | O_DIRECTORY);
  ASSERT_TRUE(immutable.opened());
  if (!immutable.set()) {
    GTEST_SKIP() << "making a folder immutable needs root and a file system that supports it";
  }
  const store::Result<void> written = WriteFileAtomically(path, "new");
  const store::Result<void> created = WriteFileAtomically(PathOf("new.pmd"), "x");
  immutable.Clear();
  EXPECT_EQ(store_test::ReasonOf(written), "ok");
  EXPECT_EQ(ReadBytes(path), "new");
  ASSERT_FALSE(created);
  EXPECT_EQ(created.error().path, PathOf("new.pmd"));
  EXPECT_EQ(Names(), (std::set<std::string>{"data.pmd"}));
}

TEST_F(WritePathTest, NameNearTheFolderLimitIsSaved) {
  const std::string path = PathOf(std::string(240, 'n') + ".pmd");
  WriteBytes(path, "old");
  const store::Result<void> result = WriteFileAtomically(path, "new");
  EXPECT_EQ(store_test::ReasonOf(result), "ok");
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_EQ(EntryCount(), 1u);
}

// Leaves a temporary file for `name` as a writer killed mid-write does: the writer is killed
// right after creating it, and has ended by the time this returns.
std::string LeaveTempFileOfEndedWriter(const std::string& folder, const std::string& name) {
  int fds[2];
  if (::pipe(fds) != 0)
    return {};
  const pid_t child = ::fork();
  if (child == 0) {
    std::string temp;
    const int fd = store::CreateTempFileFor(folder, name, temp);
    if (fd >= 0) {
      const ssize_t ignored = ::write(fds[1], temp.data(), temp.size());
      (void)ignored;
    }
    ::close(fds[1]);
    ::raise(SIGKILL);
  }
  ::close(fds[1]);
  std::string temp;
  char buffer[512];
  ssize_t got;
  while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0)
    temp.append(buffer, static_cast<std::size_t>(got));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return fs::path(temp).filename().string();
}

TEST_F(WritePathTest, NextWriteRemovesOnlyItsOwnFilesLeftoversOfEndedWriters) {
  const std::string path = PathOf("data.pmd");
  WriteBytes(path, "old");
  const std::string leftover = LeaveTempFileOfEndedWriter(folder_.string(), "data.pmd");
  const std::string otherFiles = LeaveTempFileOfEndedWriter(folder_.string(), "other.pmd");
  ASSERT_FALSE(leftover.empty());
  ASSERT_FALSE(otherFiles.empty());
  // The same pattern for a writer that still runs (process 1), and names that only look alike.
  std::string live = leftover.substr(0, leftover.find('.', 1) + 1) + "1.abcd";
  const std::string alike[] = {leftover + "x", leftover.substr(0, leftover.size() - 1),
                               "." + leftover.substr(2)};
  for (const std::string& name : alike)
    WriteBytes(PathOf(name), "x");
  WriteBytes(PathOf(live), "x");
  std::set<std::string> expected = Names();
  expected.erase(leftover);

  ASSERT_TRUE(WriteFileAtomically(path, "new"));
  EXPECT_EQ(Names(), expected);
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_LE(leftover.size(), 24u) << "temporary names stay short whatever the data file's name";
}

}  // namespace

namespace {

// A file that is a mount point of its own cannot be renamed over (EBUSY): it is rewritten in place.
TEST_F(WritePathTest, SingleFileBindMountIsWrittenInPlace) {
  const std::string source = PathOf("source.pmd");
  const std::string mounted = PathOf("mounted.pmd");
  WriteBytes(source, "old");
  WriteBytes(mounted, "");
  if (::mount(source.c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0) {
    GTEST_SKIP() << "cannot bind-mount here: " << std::strerror(errno);
  }
  const store::Result<void> written = WriteFileAtomically(mounted, "new bytes");
  ::umount2(mounted.c_str(), MNT_DETACH);
  EXPECT_EQ(store_test::ReasonOf(written), "ok");
  EXPECT_EQ(ReadBytes(source), "new bytes");
  EXPECT_EQ(EntryCount(), 2u);
}

}  // namespace
