// The whole-list operations on a data file: their results, and that the bytes they leave are
// exactly those the single profile operations would leave.
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/Profile.h"
#include "store/TicketFile.h"

namespace {

using store::ConvertCount;
using store::ReadAllTickets;
using store::ReadProfileValue;
using store::StartDataFile;
using Tickets = std::vector<std::string>;

using TicketFileTest = store_test::TempFolderTest;

// 0 for a count that converted, else the error number its failure is known by.
int ErrorNumber(const store::Result<void>& result) {
  return result ? 0 : store::ErrorNumberOf(result.error());
}
int ErrorNumber(const store::CountResult& count) {
  return count ? 0 : store::ErrorNumberOf(count.error());
}

TEST_F(TicketFileTest, ReadsTheTicketsUpToTheCount) {
  const std::string path = PathOf("data.pmd");
  EXPECT_TRUE(ReadAllTickets(path).tickets.empty());
  EXPECT_EQ(ErrorNumber(ReadAllTickets(path).count), store::kTypeMismatchNumber);

  WriteBytes(path, "[NUMBERS]\r\ntotal=2\r\n1=01-02-03-04-05-06\r\n2=07-08-09-10-11-12\r\n");
  EXPECT_EQ(ReadAllTickets(path).tickets, (Tickets{"01-02-03-04-05-06", "07-08-09-10-11-12"}));

  WriteBytes(path, "[Numbers]\nTOTAL=3\n2=b\n1=a\n");
  EXPECT_EQ(ReadAllTickets(path).tickets, (Tickets{"a", "b", ""}));

  // Only the plain decimal name is the key of a ticket.
  WriteBytes(path, "[Numbers]\r\nTOTAL=2\r\n01=x\r\n+2=y\r\n 2 = b \r\n2=dup\r\n");
  EXPECT_EQ(ReadAllTickets(path).tickets, (Tickets{"", "b"}));

  WriteBytes(path, "[Numbers]\r\nTOTAL=0\r\n1=a\r\n2=b\r\n");
  const store::TicketList none = ReadAllTickets(path);
  EXPECT_TRUE(none.count);
  EXPECT_TRUE(none.tickets.empty());

  WriteBytes(path, "[Numbers]\r\nTOTAL=-4\r\n1=a\r\n");
  EXPECT_TRUE(ReadAllTickets(path).tickets.empty());

  WriteBytes(path, "[Numbers]\r\nTOTAL=40000\r\n1=a\r\n");
  EXPECT_EQ(ErrorNumber(ReadAllTickets(path).count), store::kOverflowNumber);
  EXPECT_TRUE(ReadAllTickets(path).tickets.empty());
}

// The one read of the list also gives the count and the winning number exactly as reading each
// key on its own does.
struct OneReadCase {
  const char* name;
  std::string bytes;
};

void PrintTo(const OneReadCase& file, std::ostream* out) {
  *out << file.name;
}

class OneReadTest : public store_test::TempFolderTest,
                    public ::testing::WithParamInterface<OneReadCase> {};

TEST_P(OneReadTest, CountAndWinningNumberAsTheirOwnReadsGiveThem) {
  const std::string path = PathOf("data.pmd");
  WriteBytes(path, GetParam().bytes);
  const store::TicketList list = ReadAllTickets(path);
  EXPECT_EQ(list.countText, ReadProfileValue("Numbers", "TOTAL", path));
  EXPECT_EQ(list.winning, ReadProfileValue("Numbers", "W", path));
}

INSTANTIATE_TEST_SUITE_P(
    Files, OneReadTest,
    ::testing::Values(
        OneReadCase{"Plain", "[Numbers]\r\nTOTAL=1\r\nW=05-12-23-34-45-56\r\n1=a\r\n"},
        OneReadCase{"FirstLineOfANameWins",
                    "[Numbers]\r\nW=01-02-03-04-05-06\r\ntotal=2\r\nw=07-08-09-10-11-12\r\n"
                    "TOTAL=3\r\n"},
        OneReadCase{"BlanksTrimmed", "[ numbers ]\nTotal =  12 \n W = 05-12 \n"},
        OneReadCase{"OtherSectionOnly", "[Other]\r\nTOTAL=4\r\nW=x\r\n[Numbers]\r\n1=a\r\n"},
        OneReadCase{"LongValueCut", "[Numbers]\r\nTOTAL=1\r\nW=" + std::string(200, '7') + "\r\n"},
        OneReadCase{"Nothing", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TicketFileTest, StartingAFile) {
  const std::string path = PathOf("data.pmd");
  EXPECT_TRUE(StartDataFile(path));
  EXPECT_EQ(ReadBytes(path), "[Numbers]\r\nTOTAL=0\r\nW=00-00-00-00-00-00\r\n");

  WriteBytes(path,
             "[Numbers]\r\nTOTAL=5\r\nW=01-02-03-04-05-06\r\n1=a\r\n2=b\r\n3=c\r\n4=d\r\n5=e\r\n"
             "6=beyond\r\n[Other]\r\nx=1\r\n");
  EXPECT_TRUE(StartDataFile(path));
  EXPECT_EQ(ReadBytes(path),
            "[Numbers]\r\nTOTAL=0\r\nW=00-00-00-00-00-00\r\n6=beyond\r\n[Other]\r\nx=1\r\n");

  const store::Result<void> unreadable = StartDataFile(folder_.string());
  ASSERT_FALSE(unreadable);
  EXPECT_EQ(ErrorNumber(unreadable), store::kTypeMismatchNumber);
  EXPECT_EQ(unreadable.error().reason, "Is a directory");
}

struct RefusedStart {
  const char* name;
  std::string countLine;
  int errorNumber;
};

void PrintTo(const RefusedStart& start, std::ostream* out) {
  *out << start.name;
}

class StartRefusalTest : public store_test::TempFolderTest,
                         public ::testing::WithParamInterface<RefusedStart> {};

TEST_P(StartRefusalTest, ACountThatCannotBeConvertedLeavesTheFileAsItWas) {
  const std::string path = PathOf("data.pmd");
  const std::string bytes = "[Numbers]\r\n" + GetParam().countLine + "1=a\r\n";
  WriteBytes(path, bytes);
  const store::Result<void> refused = StartDataFile(path);
  EXPECT_EQ(ErrorNumber(refused), GetParam().errorNumber);
  EXPECT_EQ(ReadBytes(path), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, StartRefusalTest,
    ::testing::Values(RefusedStart{"Missing", "", store::kTypeMismatchNumber},
                      RefusedStart{"NotANumber", "TOTAL=many\r\n", store::kTypeMismatchNumber},
                      RefusedStart{"OutOfRange", "TOTAL=32768\r\n", store::kOverflowNumber}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TicketFileTest, AddingAndRewriting) {
  const std::string path = PathOf("data.pmd");
  WriteBytes(path, "[Numbers]\r\nTOTAL=2\r\nW=x\r\n1=a\r\n2=b\r\n");
  ASSERT_TRUE(store::AppendTicket(path, "c"));
  EXPECT_EQ(ReadBytes(path), "[Numbers]\r\nTOTAL=3\r\nW=x\r\n1=a\r\n2=b\r\n3=c\r\n");

  WriteBytes(path, "[Numbers]\r\nTOTAL=5\r\nW=x\r\n1=a\r\n2=b\r\n3=c\r\n4=d\r\n5=e\r\n");
  ASSERT_TRUE(store::RewriteTickets(path, {"c", "a", "e"}));
  EXPECT_EQ(ReadBytes(path), "[Numbers]\r\nTOTAL=3\r\nW=x\r\n1=c\r\n2=a\r\n3=e\r\n");
  ASSERT_TRUE(store::RewriteTickets(path, {}));
  EXPECT_EQ(ReadBytes(path), "[Numbers]\r\nTOTAL=0\r\nW=x\r\n");

  const store::Result<void> refused = store::RewriteTickets(path, {"a", "b\r\n7=x"});
  EXPECT_FALSE(refused);
  EXPECT_EQ(ReadBytes(path), "[Numbers]\r\nTOTAL=0\r\nW=x\r\n");
}

// The operations as sequences of single profile operations, each reading and writing the file.
store::TicketList ReadAllBySingleReads(const std::string& path) {
  store::TicketList list;
  list.count = ConvertCount(ReadProfileValue(store::kSection, store::kTotalKey, path));
  for (int k = 1; list.count && k <= *list.count; ++k) {
    list.tickets.push_back(ReadProfileValue(store::kSection, std::to_string(k), path));
  }
  return list;
}

void AddBySingleWrites(const std::string& path, int newCount, const std::string& ticket) {
  store::WriteProfileValue(store::kSection, store::kTotalKeyAsAdded, std::to_string(newCount),
                           path);
  store::WriteProfileValue(store::kSection, std::to_string(newCount), ticket, path);
}

// False, writing nothing, when the file has a count that is not a number or out of range.
bool RewriteBySingleWrites(const std::string& path, const Tickets& tickets) {
  const std::string text = ReadProfileValue(store::kSection, store::kTotalKeyAsAdded, path);
  const store::CountResult old = ConvertCount(text);
  if (!text.empty() && !old) {
    return false;
  }
  const int n = static_cast<int>(tickets.size());
  for (int k = n + 1; k <= (old ? *old : 0); ++k) {
    store_test::DeleteKey(store::kSection, std::to_string(k), path);
  }
  store::WriteProfileValue(store::kSection, store::kTotalKey, std::to_string(n), path);
  for (int i = 0; i < n; ++i) {
    store::WriteProfileValue(store::kSection, std::to_string(i + 1), tickets[i], path);
  }
  return true;
}

int StartBySingleWrites(const std::string& path) {
  // An empty file holds nothing: it is started as a new one.
  if (std::filesystem::exists(path) && std::filesystem::file_size(path) > 0) {
    const store::CountResult old =
        ConvertCount(ReadProfileValue(store::kSection, store::kTotalKeyAsAdded, path));
    if (!old) {
      return ErrorNumber(old);
    }
    for (int k = 1; k <= *old; ++k) {
      store_test::DeleteKey(store::kSection, std::to_string(k), path);
    }
  }
  store::WriteProfileValue(store::kSection, store::kTotalKey, "0", path);
  store::WriteProfileValue(store::kSection, store::kWinningKey, store::kEmptyPlayNumber, path);
  return 0;
}

// Small files made of the lines most likely to trip the rules up, mostly with a section of
// tickets near the start.
std::string RandomDocument(std::mt19937& random) {
  static const char* const kHeaders[] = {"[Numbers]", "[numbers]", " [ NUMBERS ] "};
  static const char* const kLines[] = {
      "[Numbers]", "[Other]", "TOTAL=3", "total = 2", "Total=0", "TOTAL=x", "TOTAL=-1",
      "TOTAL=5.5", "TOTAL=4", "1=a",     "2=b",       " 3 = c ", "4=d",     "5=e",
      "6=f",       "W=w",     "; 1=no",  "junk",      "",        "  ",      "[bad",
      "1=dup",     "k=v",     "3=c",     "4=d",       "5=e",     "01=z",    "TOTAL=2"};
  static const char* const kEnds[] = {"\r\n", "\r\n", "\r\n", "\n", "\r"};
  const auto end = [&] { return kEnds[random() % std::size(kEnds)]; };
  std::string text = random() % 8 == 0 ? "\xEF\xBB\xBF" : "";
  if (random() % 8 == 0) {
    text += kLines[random() % std::size(kLines)] + std::string(end());
  }
  if (random() % 8 != 0) {
    text += kHeaders[random() % std::size(kHeaders)] + std::string(end());
  }
  for (int lines = static_cast<int>(random() % 10); lines > 0; --lines) {
    text += kLines[random() % std::size(kLines)] + std::string(end());
  }
  if (!text.empty() && random() % 4 == 0) {
    text.pop_back();  // no ending on the last line, or a CR LF cut to CR
  }
  return text;
}

Tickets RandomTickets(std::mt19937& random) {
  Tickets tickets(random() % 7);
  for (std::string& ticket : tickets) {
    ticket = "t" + std::to_string(random() % 100);
  }
  return tickets;
}

using TicketDifferentialTest = store_test::MemoryFolderTest;

TEST_F(TicketDifferentialTest, WholeListOperationsMatchTheSingleOperationsByteForByte) {
  const std::string batched = PathOf("batched.pmd");
  const std::string single = PathOf("single.pmd");
  std::mt19937 random(20240607);
  for (int round = 0; round < 2000; ++round) {
    const bool missing = random() % 10 == 0;
    const std::string original = RandomDocument(random);
    std::filesystem::remove(batched);
    std::filesystem::remove(single);
    if (!missing) {
      WriteBytes(batched, original);
      WriteBytes(single, original);
    }
    SCOPED_TRACE("round " + std::to_string(round) + (missing ? " missing" : "") + " file:\n" +
                 original);

    const store::TicketList read = ReadAllTickets(batched);
    const store::TicketList expectedRead = ReadAllBySingleReads(single);
    EXPECT_EQ(ErrorNumber(read.count), ErrorNumber(expectedRead.count));
    EXPECT_EQ(read.count ? *read.count : 0, expectedRead.count ? *expectedRead.count : 0);
    EXPECT_EQ(read.tickets, expectedRead.tickets);

    switch (random() % 3) {
      case 0: {
        if (const store::Result<int> added = store::AppendTicket(batched, "n")) {
          AddBySingleWrites(single, *added, "n");
        }
        break;
      }
      case 1: {
        const Tickets tickets = RandomTickets(random);
        const bool rewritten = RewriteBySingleWrites(single, tickets);
        EXPECT_EQ(store::RewriteTickets(batched, tickets).has_value(), rewritten);
        break;
      }
      default:
        EXPECT_EQ(ErrorNumber(store::StartDataFile(batched)), StartBySingleWrites(single));
        break;
    }
    ASSERT_EQ(std::filesystem::exists(batched), std::filesystem::exists(single));
    ASSERT_EQ(ReadBytes(batched), ReadBytes(single));
  }
}

}  // namespace

namespace {

// Save/Next's one read and one write: the count in the file decides the key.
TEST_F(TicketFileTest, AppendTicketAddsAfterTheFileCount) {
  const std::string path = PathOf("data.pmd");
  const std::string single = PathOf("single.pmd");
  const std::string four = "[Numbers]\r\nTOTAL=&H4\r\nW=00-00-00-00-00-00\r\n";
  WriteBytes(path, four);
  WriteBytes(single, four);
  const store::Result<int> added = store::AppendTicket(path, "03-17-22-41-08-55");
  ASSERT_EQ(store_test::ReasonOf(added), "ok");
  EXPECT_EQ(*added, 5);
  AddBySingleWrites(single, 5, "03-17-22-41-08-55");
  EXPECT_EQ(ReadBytes(path), ReadBytes(single));
}

struct RefusedAppend {
  const char* name;
  std::string countLine;
  store::ProblemKind kind;
  std::string reason;
};

void PrintTo(const RefusedAppend& append, std::ostream* out) {
  *out << append.name;
}

class AppendRefusalTest : public store_test::TempFolderTest,
                          public ::testing::WithParamInterface<RefusedAppend> {};

// A count that cannot be trusted, or a full file, leaves the file as it was and says why.
TEST_P(AppendRefusalTest, RefusesAndWritesNothing) {
  const std::string path = PathOf("data.pmd");
  const std::string bytes = "[Numbers]\r\n" + GetParam().countLine + "\r\n";
  WriteBytes(path, bytes);
  const store::Result<int> result = store::AppendTicket(path, "01-02-03-04-05-06");
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().path, path);
  EXPECT_EQ(result.error().kind, GetParam().kind);
  EXPECT_EQ(result.error().reason, GetParam().reason);
  EXPECT_EQ(ReadBytes(path), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, AppendRefusalTest,
    ::testing::Values(
        RefusedAppend{"Missing", "", store::ProblemKind::NotANumber,
                      "The ticket count (TOTAL) is missing, so the number of the next ticket is "
                      "not known."},
        RefusedAppend{"NotANumber", "TOTAL=x1", store::ProblemKind::NotANumber,
                      "The ticket count (TOTAL) \"x1\" is not a number, so the number of the "
                      "next ticket is not known."},
        RefusedAppend{"OutOfRange", "TOTAL=99999", store::ProblemKind::OutOfRange,
                      "The ticket count (TOTAL) 99999 is outside 0 to 32767."},
        RefusedAppend{"Negative", "TOTAL=-1", store::ProblemKind::OutOfRange,
                      "The ticket count (TOTAL) -1 is outside 0 to 32767."},
        RefusedAppend{"Full", "TOTAL=32767", store::ProblemKind::Full,
                      "The file already holds 32767 play numbers, the most a data file can "
                      "hold."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
