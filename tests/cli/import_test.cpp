#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "FileSizeLimit.h"
#include "cli/ImportTickets.h"
#include "store/AtomicFile.h"
#include "store/TicketFile.h"

namespace cli {
namespace {

using cli_test::CrLf;

const std::vector<std::string> kNewTickets = {"01-02-03-04-05-06", "07-08-09-10-11-12",
                                              "13-14-15-16-17-18"};

struct FileCase {
  const char* name;
  std::string bytes;
  int count;
};

// Test logs name the case rather than dumping its bytes.
void PrintTo(const FileCase& c, std::ostream* out) {
  *out << c.name;
}

class ImportBytesTest : public cli_test::FolderTest,
                        public testing::WithParamInterface<FileCase> {};

// Adding all tickets in one write must leave what the window's one-at-a-time adding leaves.
TEST_P(ImportBytesTest, EqualsAddingTicketsOneAtATime) {
  const std::string together = Write("together.pmd", GetParam().bytes);
  const std::string single = Write("single.pmd", GetParam().bytes);

  store::Result<DataFileForAdding> file = OpenForAdding(together);
  ASSERT_EQ(store_test::ReasonOf(file), "ok");
  EXPECT_EQ(file->count, GetParam().count);
  EXPECT_EQ(store_test::ReasonOf(AddTickets(*file, together, kNewTickets)), "ok");
  EXPECT_EQ(file->count, GetParam().count + 3);

  int count = GetParam().count;
  for (const std::string& ticket : kNewTickets) {
    ASSERT_TRUE(store::AppendTicket(single, ticket).has_value());
    ++count;
  }
  EXPECT_EQ(Read(together), Read(single));
  EXPECT_EQ(store::ReadAllTickets(together).tickets.size(), static_cast<std::size_t>(count));
}

INSTANTIATE_TEST_SUITE_P(
    Import, ImportBytesTest,
    testing::Values(
        FileCase{"asWritten",
                 CrLf({"[Numbers]", "TOTAL=1", "W=05-12-23-34-45-56", "1=05-12-19-33-40-52"}), 1},
        FileCase{"emptyFile", CrLf({"[Numbers]", "TOTAL=0", "W=00-00-00-00-00-00"}), 0},
        // Keys left above the count are overwritten in place, as single adds do.
        FileCase{"staleKeys",
                 CrLf({"[numbers]", "total=1", "1=05-12-19-33-40-52", "3=old", "2=old"}), 1},
        FileCase{"bomOtherSectionsBlankTailNoFinalLineEnd",
                 "\xEF\xBB\xBF[Other]\nTOTAL=9\n[Numbers]\nW=01-02-03-04-05-06\nTotal = 0\n\n"
                 "[Later]\nx=1",
                 0}),
    [](const testing::TestParamInfo<FileCase>& info) { return info.param.name; });

struct RefusedCase {
  const char* name;
  std::string bytes;
  std::string problem;
};

// Test logs name the case rather than dumping its bytes.
void PrintTo(const RefusedCase& c, std::ostream* out) {
  *out << c.name;
}

class ImportRefusedTest : public cli_test::FolderTest,
                          public testing::WithParamInterface<RefusedCase> {};

TEST_P(ImportRefusedTest, LeavesTheFileAlone) {
  const std::string path = Write("data.pmd", GetParam().bytes);
  EXPECT_EQ(store_test::ReasonOf(OpenForAdding(path)), GetParam().problem);
  // Judged again under the lock, as when the file changed after it was opened.
  DataFileForAdding opened;
  EXPECT_EQ(store_test::ReasonOf(AddTickets(opened, path, kNewTickets)), GetParam().problem);
  EXPECT_EQ(Read(path), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Import, ImportRefusedTest,
    testing::Values(RefusedCase{"noCount", CrLf({"[Numbers]", "W=00-00-00-00-00-00"}),
                                "the ticket count (TOTAL) is missing"},
                    RefusedCase{"countNotANumber", CrLf({"[Numbers]", "TOTAL=abc"}),
                                "the ticket count (TOTAL) \"abc\" is not a number"},
                    RefusedCase{"countOutOfRange", CrLf({"[Numbers]", "TOTAL=40000"}),
                                "the ticket count (TOTAL) 40000 is outside 0 to 32767"},
                    RefusedCase{"negativeCount", CrLf({"[Numbers]", "TOTAL=-2"}),
                                "the ticket count (TOTAL) -2 is outside 0 to 32767"}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

class ImportTest : public cli_test::FolderTest {
 protected:
  // Opens the data file and adds kNewTickets while every write fails as on a full disk.
  static std::string AddOnFullDisk(const std::string& path) {
    store::Result<DataFileForAdding> file = OpenForAdding(path);
    if (!file)
      return "not opened";
    const test_support::FileSizeLimit full(0);
    return store_test::ReasonOf(AddTickets(*file, path, kNewTickets));
  }
};

TEST_F(ImportTest, AFailedWriteLeavesNoNewFile) {
  const std::string path = PathOf("missing.pmd");
  EXPECT_EQ(AddOnFullDisk(path), "could not be saved: File too large");
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ImportTest, NeverGoesPastTheLargestCount) {
  const std::string bytes = CrLf({"[Numbers]", "TOTAL=32765"});
  const std::string path = Write("full.pmd", bytes);
  store::Result<DataFileForAdding> file = OpenForAdding(path);
  ASSERT_TRUE(file);
  EXPECT_EQ(store_test::ReasonOf(AddTickets(*file, path, kNewTickets)),
            "it holds 32765 tickets; adding 3 would make 32768, more than 32767");
  EXPECT_EQ(Read(path), bytes);

  EXPECT_EQ(store_test::ReasonOf(AddTickets(*file, path, {kNewTickets[0], kNewTickets[1]})), "ok");
  EXPECT_EQ(*store::ReadAllTickets(path).count, 32767);
}

TEST_F(ImportTest, AFailedWriteLeavesTheFileAsItWas) {
  const std::string bytes = CrLf({"[Numbers]", "TOTAL=0"});
  const std::string path = Write("data.pmd", bytes);
  EXPECT_EQ(AddOnFullDisk(path), "could not be saved: File too large");
  EXPECT_EQ(Read(path), bytes);
}

}  // namespace
}  // namespace cli
