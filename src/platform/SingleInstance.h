#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace platform {

// A folder only this user can enter: an existing directory (not a symbolic link) owned by `uid`
// and closed to group and others.
bool IsPrivateFolder(const QString& path, uid_t uid);

// The folder that holds the lock and the socket of `uid`'s running copy, or the empty text when
// no trustworthy folder exists (the program then runs without the guard). The choice depends on
// the user id and the file system only, never on the environment, so every start of the same
// user finds the same folder: `runBase`/<uid> when it is private (the login session's runtime
// folder), else `tmpBase`/pelmora-<uid>, created with mode 0700 when missing. A folder of that
// name that belongs to someone else, or is open to others, is refused.
QString PrivateInstanceFolder(uid_t uid, const QString& runBase = QStringLiteral("/run/user"),
                              const QString& tmpBase = QStringLiteral("/tmp"));

// One copy per user. A lock held on a file in the private folder is the flag that a copy runs;
// the kernel drops it when that copy ends, however it ends. The running copy listens on a local
// socket beside the lock and talks only to processes of its own user. The socket is a plain
// AF_UNIX one watched by the event loop, so the guard needs no networking library.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // An empty folder turns the guard off: every start runs.
  explicit SingleInstance(QString folder, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Takes the lock and starts listening; false when another live copy holds it. Requests that
  // arrive before a handler is set are kept for it.
  bool TryLock();
  // Asks the running copy to come to the front and, when `fileToOpen` is not empty, to open that
  // file. True when it answered.
  bool AskRunningCopy(const QString& fileToOpen, int timeoutMs = 2000);
  // Receives the requests of later copies; `file` is empty for a plain "come to the front".
  void SetRequestHandler(std::function<void(const QString& file)> handler);

  QString SocketPath() const;
  QString LockPath() const;

 private:
  struct Connection;  // a later copy talking to this one

  void Listen();
  void Accept();
  void Read(Connection* connection);
  void Drop(Connection* connection);
  void Deliver(const QString& file);

  QString folder_;
  int lockFd_ = -1;
  int listenFd_ = -1;
  QSocketNotifier* listener_ = nullptr;
  std::vector<std::unique_ptr<Connection>> connections_;
  std::function<void(const QString&)> handler_;
  QStringList pending_;  // requests that came before the handler; empty text: come to the front
};

}  // namespace platform
