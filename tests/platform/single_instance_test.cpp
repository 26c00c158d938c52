// The guard's private folder and its lock, without a display: which folder a user gets, which it
// refuses, and the hand-over of a file between two copies.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

#include "platform/SingleInstance.h"

namespace {

using platform::PrivateInstanceFolder;
using platform::SingleInstance;

QByteArray Native(const QString& path) {
  return QFile::encodeName(path);
}

void MakeFolder(const QString& path, mode_t mode) {
  ASSERT_EQ(::mkdir(Native(path).constData(), mode), 0) << path.toStdString();
  ASSERT_EQ(::chmod(Native(path).constData(), mode), 0);
}

mode_t Mode(const QString& path) {
  struct stat info {};
  return ::lstat(Native(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Two folders standing in for the login session's runtime base and the shared temporary folder.
struct Bases {
  QTemporaryDir root;
  QString run = root.path() + "/run";
  QString tmp = root.path() + "/tmp";
  QString id = QString::number(qulonglong(::getuid()));
  QString session = run + "/" + id;
  QString own = tmp + "/pelmora-" + id;
  Bases() {
    QDir().mkpath(run);
    QDir().mkpath(tmp);
  }
};

struct FolderCase {
  const char* name;
  std::function<void(Bases&)> lay;  // prepares the folders
  enum { Session, Own, None } expected;
  bool needsRoot = false;
};

class InstanceFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(InstanceFolderTest, PicksOnlyAFolderNobodyElseCanUse) {
  const FolderCase& c = GetParam();
  if (c.needsRoot && ::getuid() != 0)
    GTEST_SKIP() << "handing a folder to another user needs root";
  Bases bases;
  c.lay(bases);
  const QString chosen = PrivateInstanceFolder(::getuid(), bases.run, bases.tmp);
  switch (c.expected) {
    case FolderCase::Session:
      EXPECT_EQ(chosen, bases.session);
      break;
    case FolderCase::Own:
      EXPECT_EQ(chosen, bases.own);
      EXPECT_EQ(Mode(bases.own), 0700u);
      break;
    case FolderCase::None:
      EXPECT_EQ(chosen, QString());
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, InstanceFolderTest,
    ::testing::Values(FolderCase{"PrivateSessionFolder",
                                 [](Bases& b) { MakeFolder(b.session, 0700); },
                                 FolderCase::Session},
                      FolderCase{"NoSessionFolderCreatesOwn", [](Bases&) {}, FolderCase::Own},
                      FolderCase{"SessionFolderOpenToOthers",
                                 [](Bases& b) { MakeFolder(b.session, 0755); }, FolderCase::Own},
                      FolderCase{"OwnFolderOpenToOthers", [](Bases& b) { MakeFolder(b.own, 0777); },
                                 FolderCase::None},
                      FolderCase{"OwnFolderIsALink",
                                 [](Bases& b) {
                                   MakeFolder(b.root.path() + "/elsewhere", 0700);
                                   QFile::link(b.root.path() + "/elsewhere", b.own);
                                 },
                                 FolderCase::None},
                      FolderCase{"OwnFolderMadeByAnotherUser",
                                 [](Bases& b) {
                                   MakeFolder(b.own, 0700);
                                   ASSERT_EQ(::chown(Native(b.own).constData(), 65534, 65534), 0);
                                 },
                                 FolderCase::None, /*needsRoot=*/true},
                      FolderCase{"SessionFolderOfAnotherUser",
                                 [](Bases& b) {
                                   MakeFolder(b.session, 0700);
                                   ASSERT_EQ(::chown(Native(b.session).constData(), 65534, 65534),
                                             0);
                                 },
                                 FolderCase::Own, /*needsRoot=*/true}),
    [](const auto& info) { return std::string(info.param.name); });

class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = root_.path() + "/guard";
    MakeFolder(folder_, 0700);
  }
  QTemporaryDir root_;
  QString folder_;
};

TEST_F(InstanceLockTest, OneHolderAtATimeAndAnEndedHolderBlocksNothing) {
  auto first = std::make_unique<SingleInstance>(folder_);
  EXPECT_TRUE(first->TryLock());
  SingleInstance second(folder_);
  EXPECT_FALSE(second.TryLock());
  first.reset();
  SingleInstance third(folder_);
  EXPECT_TRUE(third.TryLock()) << "the lock of a copy that ended must be free";
}

TEST_F(InstanceLockTest, AFolderOpenedToOthersAfterTheChoiceIsNotUsed) {
  ASSERT_EQ(::chmod(Native(folder_).constData(), 0777), 0);
  SingleInstance guard(folder_);
  EXPECT_TRUE(guard.TryLock());
  EXPECT_FALSE(QFileInfo::exists(guard.LockPath()));
  EXPECT_FALSE(QFileInfo::exists(guard.SocketPath()));
}

TEST_F(InstanceLockTest, ALockNameThatIsALinkIsNotFollowed) {
  const QString target = root_.path() + "/target";
  ASSERT_TRUE(QFile::link(target, folder_ + "/pelmora.lock"));
  SingleInstance guard(folder_);
  EXPECT_TRUE(guard.TryLock());
  EXPECT_FALSE(QFileInfo::exists(target)) << "the link was followed";
}

TEST_F(InstanceLockTest, TheRunningCopyGetsTheFileEvenBeforeItIsReadyForIt) {
  SingleInstance running(folder_);
  ASSERT_TRUE(running.TryLock());
  // Any byte may be part of a file name, a line break too.
  const QString file = QStringLiteral("/data/odd\nname ü.pmd");
  std::atomic<bool> done = false;
  bool answered = false;
  std::thread later([&] {
    SingleInstance copy(folder_);
    answered = copy.AskRunningCopy(file, 10000);
    done = true;
  });
  while (!done)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  later.join();
  EXPECT_TRUE(answered);

  QStringList received;
  running.SetRequestHandler([&received](const QString& f) { received << f; });
  EXPECT_EQ(received, QStringList{file});
}

// What a process that is not a copy of this program may send: lines the running copy must not act
// on, and must not let keep it busy.
struct StrangerCase {
  const char* name;
  QByteArray sent;
  QByteArray answer;  // what the running copy writes back before the connection ends
};

class StrangerTest : public InstanceLockTest, public ::testing::WithParamInterface<StrangerCase> {};

// Connects to the running copy's socket, writes `sent`, closes the writing half and returns
// everything that comes back until the running copy closes the connection.
QByteArray Exchange(const QString& socketPath, const QByteArray& sent) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray path = QFile::encodeName(socketPath);
  std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
  QByteArray got;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    for (qsizetype at = 0; at < sent.size();) {
      const ssize_t n =
          ::send(fd, sent.constData() + at, std::size_t(sent.size() - at), MSG_NOSIGNAL);
      if (n <= 0)
        break;
      at += n;
    }
    ::shutdown(fd, SHUT_WR);
    char chunk[256];
    ssize_t n;
    while ((n = ::recv(fd, chunk, sizeof chunk, 0)) > 0)
      got.append(chunk, n);
  }
  ::close(fd);
  return got;
}

TEST_P(StrangerTest, OnlyWellFormedRequestsAreAnsweredAndDelivered) {
  const StrangerCase& c = GetParam();
  SingleInstance running(folder_);
  ASSERT_TRUE(running.TryLock());
  QStringList received;
  running.SetRequestHandler([&received](const QString& f) { received << f; });
  std::atomic<bool> done = false;
  QByteArray answer;
  std::thread stranger([&] {
    answer = Exchange(running.SocketPath(), c.sent);
    done = true;
  });
  while (!done)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  stranger.join();
  QCoreApplication::processEvents();
  EXPECT_EQ(answer, c.answer);
  EXPECT_EQ(received.size(), c.answer.count("ok\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, StrangerTest,
    ::testing::Values(StrangerCase{"UnknownWord", "shutdown\n", ""},
                      StrangerCase{"OpenWithoutAName", "open \n", ""},
                      StrangerCase{"NoLineEnd", "activate", ""},
                      StrangerCase{"EndlessLine", QByteArray(200 * 1024, 'x'), ""},
                      StrangerCase{"StrangerLineThenARequest", "hello\nactivate\n", "ok\n"},
                      StrangerCase{"TwoRequestsOnOneConnection", "activate\nactivate\n",
                                   "ok\nok\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstanceLockTest, TheSocketGoesWithTheCopyThatListened) {
  {
    SingleInstance running(folder_);
    ASSERT_TRUE(running.TryLock());
    EXPECT_TRUE(QFileInfo::exists(running.SocketPath()));
  }
  EXPECT_FALSE(QFileInfo::exists(folder_ + "/pelmora.socket"));
  SingleInstance nobody(folder_);
  EXPECT_FALSE(nobody.AskRunningCopy(QString(), 100)) << "a copy that ended must not answer";
}

}  // namespace
