// Reading and atomically replacing whole files: permissions, links and failure reasons.
#include <sys/stat.h>

#include <csignal>
#include <string>

#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "VersionsHome.h"
#include "store/AtomicFile.h"
#include "store/WriteJournal.h"

namespace {

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
  for (const std::string& missing : {path, PathOf("no/such/folder")}) {
    const store::Result<store::FileContents> read = ReadWholeFile(missing);
    ASSERT_TRUE(read) << missing;
    EXPECT_FALSE(read->exists) << missing;
  }

  std::string bytes(200000, 'a');
  bytes[5] = '\0';
  WriteBytes(path, bytes);
  const store::Result<store::FileContents> read = ReadWholeFile(path);
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->exists);
  EXPECT_EQ(read->bytes, bytes);

  const store::Result<store::FileContents> folder = ReadWholeFile(folder_.string());
  ASSERT_FALSE(folder);
  EXPECT_EQ(folder.error().path, folder_.string());
  EXPECT_EQ(folder.error().reason, "Is a directory");

  fs::permissions(path, fs::perms::none);
  EXPECT_EQ(store_test::RunUnprivileged([&] { return store_test::ReasonOf(ReadWholeFile(path)); }),
            "Permission denied");
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
  const store::Result<void> result = WriteFileAtomically(created, "x");
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
  const store::Result<void> loop = WriteFileAtomically(PathOf("loop"), "x");
  EXPECT_EQ(store_test::ReasonOf(loop), "Too many levels of symbolic links");
}

TEST_F(AtomicFileTest, FailuresGiveTheReasonAndLeaveNothingBehind) {
  const store::Result<void> folder = WriteFileAtomically(folder_.string(), "x");
  ASSERT_FALSE(folder);
  EXPECT_EQ(folder.error().path, folder_.string());
  EXPECT_EQ(folder.error().reason, "Is a directory");

  const store::Result<void> missing = WriteFileAtomically(PathOf("none/data.pmd"), "x");
  EXPECT_EQ(store_test::ReasonOf(missing), "No such file or directory");

  const std::string path = PathOf("data.pmd");
  WriteBytes(path, "old");
  ::chmod(path.c_str(), 0666);
  fs::permissions(folder_, fs::perms::all);
  // A read-only file in a writable folder is not replaced.
  ::chmod(path.c_str(), 0444);
  EXPECT_EQ(store_test::RunUnprivileged(
                [&] { return store_test::ReasonOf(WriteFileAtomically(path, "new")); }),
            "Permission denied");
  ::chmod(path.c_str(), 0666);
  // The file system refusing the bytes half-way.
  EXPECT_EQ(store_test::RunUnprivileged(
                [&] {
                  return store_test::ReasonOf(WriteFileAtomically(path, std::string(1 << 20, 'x')));
                },
                [] {
                  ::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{4096, 4096};
                  ::setrlimit(RLIMIT_FSIZE, &limit);
                }),
            "File too large");
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(EntryCount(), 1u);
}

}  // namespace

namespace {

// What a rewrite in place cut short may leave, and what the next read must find: the old bytes
// put back whole (said once), or the new ones kept when they all got there.
struct CutRewrite {
  const char* name;
  std::string left;   // the file's bytes when the writer died
  std::string found;  // what the next read finds
  bool told;
};

void PrintTo(const CutRewrite& c, std::ostream* out) {
  *out << c.name;
}

class CutRewriteTest : public store_test::TempFolderTest,
                       public ::testing::WithParamInterface<CutRewrite> {};

const std::string kOld = "[Numbers]\r\nTOTAL=1\r\n1=01-02-03-04-05-06\r\n";
const std::string kNew = "[Numbers]\r\nTOTAL=2\r\n1=01-02-03-04-05-06\r\n2=07-08-09-10-11-12\r\n";

TEST_P(CutRewriteTest, NextReadFindsTheFileWhole) {
  const test_support::VersionsHome home(PathOf("data"));
  const std::string path = PathOf("data.pmd");
  ASSERT_TRUE(store::BeginInPlaceWrite(path, kOld, kNew));
  WriteBytes(path, GetParam().left);
  EXPECT_EQ(store::RepairUnfinishedWrite(path).notes().size(), GetParam().told ? 1u : 0u);
  EXPECT_FALSE(store::HasUnfinishedWrite(path));
  EXPECT_EQ(ReadWholeFile(path)->bytes, GetParam().found);
  EXPECT_TRUE(store::RepairUnfinishedWrite(path).notes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    States, CutRewriteTest,
    ::testing::Values(CutRewrite{"NothingWritten", kOld, kOld, false},
                      CutRewrite{"AllWritten", kNew, kNew, false},
                      CutRewrite{"HalfWritten", kNew.substr(0, 30) + kOld.substr(30), kOld, true},
                      CutRewrite{"GrownWithNuls", kOld + std::string(40, '\0'), kOld, true},
                      CutRewrite{"NotYetCut", kNew + "2=07-08-09-10-11-12\r\n", kOld, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
