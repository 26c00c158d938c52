// Reading and atomically replacing whole files: permissions, links and failure reasons.
#include <sys/stat.h>

#include <csignal>
#include <string>

#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/AtomicFile.h"

namespace {

using store::ReadStatus;
using store::ReadWholeFile;
using store::WriteFileAtomically;
namespace fs = std::filesystem;

using AtomicFileTest = store_test::TempFolderTest;

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST_F(AtomicFileTest, ReadsWholeFilesAndTellsMissingFromFailed) {
  const std::string path = PathOf("data.pmd");
  EXPECT_EQ(ReadWholeFile(path).status, ReadStatus::Missing);
  EXPECT_EQ(ReadWholeFile(PathOf("no/such/folder")).status, ReadStatus::Missing);

  std::string bytes(200000, 'a');
  bytes[5] = '\0';
  WriteBytes(path, bytes);
  const store::FileContents read = ReadWholeFile(path);
  EXPECT_EQ(read.status, ReadStatus::Ok);
  EXPECT_EQ(read.bytes, bytes);

  const store::FileContents folder = ReadWholeFile(folder_.string());
  EXPECT_EQ(folder.status, ReadStatus::Failed);
  EXPECT_EQ(folder.reason, "Is a directory");

  fs::permissions(path, fs::perms::none);
  EXPECT_EQ(store_test::RunUnprivileged([&] {
              const store::FileContents denied = ReadWholeFile(path);
              return std::to_string(static_cast<int>(denied.status)) + ":" + denied.reason;
            }),
            std::to_string(static_cast<int>(ReadStatus::Failed)) + ":Permission denied");
}

TEST_F(AtomicFileTest, ReplacesContentsAndKeepsPermissions) {
  const std::string path = PathOf("data.pmd");
  WriteBytes(path, "old contents that are longer");
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(path, "new"));
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_EQ(ModeOf(path), 0640u);
  EXPECT_EQ(EntryCount(), 1u);

  const mode_t oldMask = ::umask(027);
  const std::string created = PathOf("created.pmd");
  const store::WriteResult result = WriteFileAtomically(created, "x");
  ::umask(oldMask);
  ASSERT_TRUE(result);
  EXPECT_EQ(ModeOf(created), 0640u);
  EXPECT_EQ(ReadBytes(created), "x");
  EXPECT_TRUE(WriteFileAtomically(created, ""));
  EXPECT_EQ(fs::file_size(created), 0u);
}

TEST_F(AtomicFileTest, WritesThroughSymbolicLinksToTheirTarget) {
  fs::create_directory(folder_ / "real");
  const std::string target = PathOf("real/data.pmd");
  WriteBytes(target, "old");
  ::chmod(target.c_str(), 0600);
  fs::create_symlink("real/data.pmd", folder_ / "link2");
  fs::create_symlink(folder_ / "link2", folder_ / "link1");
  ASSERT_TRUE(WriteFileAtomically(PathOf("link1"), "new"));
  EXPECT_EQ(ReadBytes(target), "new");
  EXPECT_EQ(ModeOf(target), 0600u);
  EXPECT_TRUE(fs::is_symlink(folder_ / "link1"));
  EXPECT_TRUE(fs::is_symlink(folder_ / "link2"));
  // The temporary file was made beside the target, not beside the link.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "real"), fs::directory_iterator()), 1);

  fs::create_symlink("real/missing.pmd", folder_ / "dangling");
  ASSERT_TRUE(WriteFileAtomically(PathOf("dangling"), "made"));
  EXPECT_EQ(ReadBytes(PathOf("real/missing.pmd")), "made");
  EXPECT_TRUE(fs::is_symlink(folder_ / "dangling"));

  fs::create_symlink("loop", folder_ / "loop");
  const store::WriteResult loop = WriteFileAtomically(PathOf("loop"), "x");
  EXPECT_FALSE(loop.ok);
  EXPECT_EQ(loop.reason, "Too many levels of symbolic links");
}

TEST_F(AtomicFileTest, FailuresGiveTheReasonAndLeaveNothingBehind) {
  const store::WriteResult folder = WriteFileAtomically(folder_.string(), "x");
  EXPECT_FALSE(folder.ok);
  EXPECT_EQ(folder.path, folder_.string());
  EXPECT_EQ(folder.reason, "Is a directory");

  const store::WriteResult missing = WriteFileAtomically(PathOf("none/data.pmd"), "x");
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.reason, "No such file or directory");

  const std::string path = PathOf("data.pmd");
  WriteBytes(path, "old");
  ::chmod(path.c_str(), 0666);
  fs::permissions(folder_, fs::perms::all);
  // A read-only file in a writable folder is not replaced.
  ::chmod(path.c_str(), 0444);
  EXPECT_EQ(store_test::RunUnprivileged([&] { return WriteFileAtomically(path, "new").reason; }),
            "Permission denied");
  ::chmod(path.c_str(), 0666);
  // The file system refusing the bytes half-way.
  EXPECT_EQ(store_test::RunUnprivileged(
                [&] { return WriteFileAtomically(path, std::string(1 << 20, 'x')).reason; },
                [] {
                  ::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{4096, 4096};
                  ::setrlimit(RLIMIT_FSIZE, &limit);
                }),
            "File too large");
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(EntryCount(), 1u);
}

std::optional<std::string> RefuseEverything(const std::string& path) {
  return "refused " + path.substr(path.rfind('/') + 1);
}

TEST_F(AtomicFileTest, FailureHookStopsTheWriteBeforeTouchingTheDisk) {
  const std::string path = PathOf("data.pmd");
  store::SetWriteFailureHookForTesting(&RefuseEverything);
  const store::WriteResult result = WriteFileAtomically(path, "x");
  store::SetWriteFailureHookForTesting(nullptr);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.path, path);
  EXPECT_EQ(result.reason, "refused data.pmd");
  EXPECT_EQ(EntryCount(), 0u);
  EXPECT_TRUE(WriteFileAtomically(path, "x"));
}

}  // namespace
