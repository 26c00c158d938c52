// Several writers changing one data file at once: every change lands, none is made on a copy
// that another writer has meanwhile replaced, and a file made only to be locked never stays.
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "FileSizeLimit.h"
#include "StoreTestSupport.h"
#include "store/AtomicFile.h"
#include "store/DataFileChange.h"
#include "store/Profile.h"
#include "store/TicketFile.h"

namespace {

using DataFileChangeTest = store_test::MemoryFolderTest;

struct WritersCase {
  const char* name;
  int appenders;
  int appendsEach;
  int winningWriters;  // processes rewriting the winning number meanwhile
};

class ConcurrentWritersTest : public store_test::MemoryFolderTest,
                              public ::testing::WithParamInterface<WritersCase> {};

// Runs `body` in a child process; the child's exit status says whether it succeeded.
pid_t Spawn(const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::_exit(body() ? 0 : 1);
  }
  return child;
}

TEST_P(ConcurrentWritersTest, EveryAppendLandsUnderItsOwnKey) {
  const WritersCase& c = GetParam();
  const std::string path = PathOf("data.pmd");
  ASSERT_TRUE(store::StartDataFile(path).has_value());

  std::vector<pid_t> children;
  for (int p = 0; p < c.appenders; ++p) {
    children.push_back(Spawn([&, p] {
      for (int i = 0; i < c.appendsEach; ++i) {
        if (!store::AppendTicket(path, "p" + std::to_string(p) + "-" + std::to_string(i))) {
          return false;
        }
      }
      return true;
    }));
  }
  for (int w = 0; w < c.winningWriters; ++w) {
    children.push_back(Spawn([&, w] {
      for (int i = 0; i < c.appendsEach; ++i) {
        const std::string value =
            "0" + std::to_string(w) + "-00-00-00-00-" + std::to_string(10 + i % 50);
        if (!store::WriteProfileValue(store::kSection, store::kWinningKey, value, path)
                 .has_value()) {
          return false;
        }
      }
      return true;
    }));
  }
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  const store::TicketList list = store::ReadAllTickets(path);
  const int expected = c.appenders * c.appendsEach;
  EXPECT_EQ(store::ReadProfileValue(store::kSection, store::kTotalKey, path),
            std::to_string(expected));
  ASSERT_EQ(list.tickets.size(), static_cast<std::size_t>(expected));
  std::set<std::string> distinct(list.tickets.begin(), list.tickets.end());
  EXPECT_EQ(distinct.size(), list.tickets.size());
  EXPECT_EQ(distinct.count(""), 0u);
  // Each writer's own tickets keep the order it added them in.
  for (int p = 0; p < c.appenders; ++p) {
    int next = 0;
    for (const std::string_view ticket : list.tickets) {
      if (ticket.rfind("p" + std::to_string(p) + "-", 0) == 0) {
        EXPECT_EQ(ticket, "p" + std::to_string(p) + "-" + std::to_string(next++));
      }
    }
    EXPECT_EQ(next, c.appendsEach);
  }
  EXPECT_EQ(EntryCount(), 1u);  // no temporary or lock file beside it
}

INSTANTIATE_TEST_SUITE_P(Writers, ConcurrentWritersTest,
                         ::testing::Values(WritersCase{"EightAppendersOfTwoHundred", 8, 200, 0},
                                           WritersCase{"AppendersWhileTheWinningNumberChanges", 3,
                                                       150, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

// Whether some process waits in flock() on a file of ours, as the kernel lists it.
bool SomeoneWaitsForALock() {
  std::ifstream locks("/proc/locks");
  const std::string self = " " + std::to_string(::getpid()) + " ";
  for (std::string line; std::getline(locks, line);) {
    if (line.find("-> FLOCK") != std::string::npos && line.find(self) != std::string::npos) {
      return true;
    }
  }
  return false;
}

TEST_F(DataFileChangeTest, AWriterThatWaitedWhileTheFileWasReplacedChangesTheNewFile) {
  const std::string path = PathOf("data.pmd");
  WriteBytes(path, "[Numbers]\r\nTOTAL=1\r\n1=old\r\n");

  const int held = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  int changes = 0;
  bool lockedTheNewFile = false;
  std::optional<store::Result<void>> waited;
  std::thread writer([&] {
    waited =
        store::ChangeDataFile(path, [&](store::ProfileDocument& doc, const store::FileContents&) {
          ++changes;
          // The lock it holds must be that of the file now at the path, or a writer coming next
          // would change that file at the same time.
          const int now = ::open(path.c_str(), O_RDONLY);
          lockedTheNewFile = ::flock(now, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
          ::close(now);
          store::AppendToDocument(doc, std::stoi(doc.Get(store::kSection, store::kTotalKey)),
                                  {"waited"});
          return store::ChangeVerdict::Write;
        });
  });
  while (!SomeoneWaitsForALock()) {
    std::this_thread::yield();
  }
  // Another writer replaces the file while the first one waits on the old one.
  ASSERT_TRUE(store::WriteFileAtomically(path, "[Numbers]\r\nTOTAL=2\r\n1=old\r\n2=new\r\n"));
  ::close(held);
  writer.join();

  ASSERT_TRUE(waited && waited->has_value());
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(lockedTheNewFile);
  EXPECT_EQ(ReadBytes(path), "[Numbers]\r\nTOTAL=3\r\n1=old\r\n2=new\r\n3=waited\r\n");
}

// A missing file is created only to be locked; when nothing takes its place it must go again.
struct UnwrittenChange {
  const char* name;
  std::function<store::Result<void>(const std::string& path)> change;
  store::ProblemKind kind;  // what the change reports, when it fails
  bool fails;
};

void PrintTo(const UnwrittenChange& change, std::ostream* out) {
  *out << change.name;
}

class UnwrittenChangeTest : public store_test::TempFolderTest,
                            public ::testing::WithParamInterface<UnwrittenChange> {};

TEST_P(UnwrittenChangeTest, LeavesNothingOfAMissingFile) {
  const store::Result<void> result = GetParam().change(PathOf("data.pmd"));
  EXPECT_EQ(result.has_value(), !GetParam().fails);
  if (!result) {
    EXPECT_EQ(result.error().kind, GetParam().kind);
  }
  EXPECT_EQ(EntryCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, UnwrittenChangeTest,
    ::testing::Values(UnwrittenChange{"Abandoned",
                                      [](const std::string& path) {
                                        return store::ChangeDataFile(
                                            path, [](store::ProfileDocument&,
                                                     const store::FileContents&) {
                                              return store::ChangeVerdict::Abandon;
                                            });
                                      },
                                      store::ProblemKind::Failed, false},
                      UnwrittenChange{"CountRefused",
                                      [](const std::string& path) {
                                        return store_test::WithoutValue(
                                            store::AppendTicket(path, "01-02-03-04-05-06"));
                                      },
                                      store::ProblemKind::NotANumber, true},
                      UnwrittenChange{"WriteFailed",
                                      [](const std::string& path) {
                                        const test_support::FileSizeLimit full(0);
                                        return store::RewriteTickets(path, {"01-02-03-04-05-06"});
                                      },
                                      store::ProblemKind::Failed, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A dangling symbolic link gets its target created, as a write through it would.
TEST_F(DataFileChangeTest, StartingThroughADanglingLinkCreatesItsTarget) {
  std::filesystem::create_symlink("target.pmd", PathOf("link.pmd"));
  ASSERT_TRUE(store::StartDataFile(PathOf("link.pmd")));
  EXPECT_EQ(ReadBytes(PathOf("target.pmd")), "[Numbers]\r\nTOTAL=0\r\nW=00-00-00-00-00-00\r\n");
  EXPECT_TRUE(std::filesystem::is_symlink(PathOf("link.pmd")));
}

// A list shown to a person is written back only over the tickets it was loaded from.
struct GuardedCase {
  const char* name;
  std::string fileNow;  // the section after "[Numbers]" as another program left it
  bool fileChanged;
};

class GuardedRewriteTest : public store_test::TempFolderTest,
                           public ::testing::WithParamInterface<GuardedCase> {};

TEST_P(GuardedRewriteTest, WritesOnlyOverWhatWasLoaded) {
  const std::string path = PathOf("data.pmd");
  const std::string bytes = "[Numbers]\r\n" + GetParam().fileNow;
  WriteBytes(path, bytes);
  const store::Result<void> result =
      store::RewriteTicketsIfUnchanged(path, {"a", "b", "c"}, {"a", "c"});
  EXPECT_EQ(!result && result.error().kind == store::ProblemKind::FileChanged,
            GetParam().fileChanged);
  EXPECT_EQ(store_test::ReasonOf(result) == "ok", !GetParam().fileChanged);
  EXPECT_EQ(ReadBytes(path),
            GetParam().fileChanged ? bytes : "[Numbers]\r\nTOTAL=2\r\nW=x\r\n1=a\r\n2=c\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rewrite, GuardedRewriteTest,
    ::testing::Values(
        GuardedCase{"Unchanged", "TOTAL=3\r\nW=x\r\n1=a\r\n2=b\r\n3=c\r\n", false},
        GuardedCase{"TicketAdded", "TOTAL=4\r\nW=x\r\n1=a\r\n2=b\r\n3=c\r\n4=d\r\n", true},
        GuardedCase{"TicketReplaced", "TOTAL=3\r\nW=x\r\n1=a\r\n2=B\r\n3=c\r\n", true},
        GuardedCase{"CountLowered", "TOTAL=2\r\nW=x\r\n1=a\r\n2=b\r\n3=c\r\n", true},
        GuardedCase{"CountUnreadable", "TOTAL=many\r\nW=x\r\n1=a\r\n2=b\r\n3=c\r\n", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// A program that writes the file without locking it, while a change is being made: the change is
// made again on what that program wrote, so nothing of either is lost.
struct UnlockedWriter {
  const char* name;
  bool inPlace;  // it rewrites the file through its inode, as a program that truncates and writes
};

void PrintTo(const UnlockedWriter& writer, std::ostream* out) {
  *out << writer.name;
}

class UnlockedWriterTest : public store_test::TempFolderTest,
                           public ::testing::WithParamInterface<UnlockedWriter> {};

TEST_P(UnlockedWriterTest, ChangeIsMadeAgainOnWhatItWrote) {
  const std::string path = PathOf("data.pmd");
  WriteBytes(path, "[Numbers]\r\nTOTAL=1\r\n1=a\r\n");
  const std::string theirs = "[Numbers]\r\nTOTAL=2\r\n1=a\r\n2=b\r\n";
  int calls = 0;
  const store::Result<void> changed =
      store::ChangeDataFile(path, [&](store::ProfileDocument& doc, const store::FileContents&) {
        if (++calls == 1 && GetParam().inPlace) {
          std::ofstream(path, std::ios::binary | std::ios::trunc) << theirs;
        } else if (calls == 1) {
          EXPECT_TRUE(store::WriteFileAtomically(path, theirs));
        }
        store::AppendToDocument(doc, std::stoi(doc.Get(store::kSection, store::kTotalKey)), {"c"});
        return store::ChangeVerdict::Write;
      });
  EXPECT_TRUE(changed);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(ReadBytes(path), "[Numbers]\r\nTOTAL=3\r\n1=a\r\n2=b\r\n3=c\r\n");
}

INSTANTIATE_TEST_SUITE_P(Writers, UnlockedWriterTest,
                         ::testing::Values(UnlockedWriter{"replacing", false},
                                           UnlockedWriter{"inPlace", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
