#include "platform/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace platform {
namespace {

QString RuntimeFolder() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty())
    dir = QDir::tempPath();
  return dir;
}

constexpr char kActivateRequest[] = "activate\n";
constexpr char kActivateAnswer[] = "ok\n";

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::TryLock() {
  lock_ = std::make_unique<QLockFile>(RuntimeFolder() + "/" + name_ + ".lock");
  // A lock whose owner died is detected by its process id and taken over; the stale time is a
  // backstop for a lock from another host sharing the folder.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0))
    return true;
  if (lock_->error() == QLockFile::LockFailedError) {
    if (lock_->removeStaleLockFile() && lock_->tryLock(0))
      return true;
    return false;
  }
  // The folder is not writable or similar: run rather than refuse to start.
  return true;
}

bool SingleInstance::AskRunningCopyToActivate(int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(timeoutMs))
    return false;
  socket.write(kActivateRequest);
  if (!socket.waitForBytesWritten(timeoutMs))
    return false;
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(timeoutMs))
      return false;
  }
  return socket.readLine() == kActivateAnswer;
}

void SingleInstance::Listen(std::function<void()> onActivate) {
  onActivate_ = std::move(onActivate);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(name_);  // a socket left by a crashed copy
  if (!server_->listen(name_))
    return;
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->canReadLine())
          return;
        if (socket->readLine() != kActivateRequest)
          return;
        if (onActivate_)
          onActivate_();
        socket->write(kActivateAnswer);
        socket->flush();
      });
    }
  });
}

}  // namespace platform
