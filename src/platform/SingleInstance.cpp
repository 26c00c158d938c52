#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cerrno>

namespace platform {
namespace {

constexpr char kActivateRequest[] = "activate\n";
constexpr char kOpenPrefix[] = "open ";
constexpr char kAnswer[] = "ok\n";
// A request is one short line; anything longer is not from a copy of this program.
constexpr qint64 kMaxRequest = 64 * 1024;

QByteArray Native(const QString& path) {
  return QFile::encodeName(path);
}

// The user id of the process at the other end of a connected local socket, or -1.
long PeerUid(qintptr descriptor) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  if (descriptor < 0 ||
      ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
    return -1;
  return static_cast<long>(credentials.uid);
}

bool SameUser(const QLocalSocket& socket) {
  return PeerUid(socket.socketDescriptor()) == static_cast<long>(::getuid());
}

// The path rides base64-encoded so that no byte of it (a line break included) can end the
// request early.
QByteArray Request(const QString& file) {
  if (file.isEmpty())
    return kActivateRequest;
  return QByteArray(kOpenPrefix) + Native(file).toBase64() + '\n';
}

}  // namespace

bool IsPrivateFolder(const QString& path, uid_t uid) {
  struct stat info {};
  if (path.isEmpty() || ::lstat(Native(path).constData(), &info) != 0)
    return false;
  return S_ISDIR(info.st_mode) && info.st_uid == uid && (info.st_mode & 077) == 0;
}

QString PrivateInstanceFolder(uid_t uid, const QString& runBase, const QString& tmpBase) {
  const QString id = QString::number(qulonglong(uid));
  const QString session = runBase + QLatin1Char('/') + id;
  if (IsPrivateFolder(session, uid))
    return session;
  const QString own = tmpBase + QStringLiteral("/pelmora-") + id;
  if (::mkdir(Native(own).constData(), 0700) != 0 && errno != EEXIST)
    return {};
  // Whoever made the folder first, it is used only when it is ours and closed to others.
  return IsPrivateFolder(own, uid) ? own : QString();
}

SingleInstance::SingleInstance(QString folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)) {}

SingleInstance::~SingleInstance() {
  if (server_)
    server_->close();
  if (lockFd_ >= 0)
    ::close(lockFd_);
}

QString SingleInstance::SocketPath() const {
  return folder_ + QStringLiteral("/pelmora.socket");
}

QString SingleInstance::LockPath() const {
  return folder_ + QStringLiteral("/pelmora.lock");
}

bool SingleInstance::TryLock() {
  // Checked again at every use: the folder may have been swapped since it was chosen.
  if (!IsPrivateFolder(folder_, ::getuid()))
    return true;
  const int fd = ::open(Native(LockPath()).constData(),
                        O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
  if (fd < 0)
    return true;  // no lock to be had: run rather than refuse to start
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid()) {
    ::close(fd);
    return true;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return !held;
  }
  lockFd_ = fd;
  Listen();
  return true;
}

void SingleInstance::Listen() {
  if (!IsPrivateFolder(folder_, ::getuid()))
    return;
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // The lock is ours, so a socket already there was left by a copy that ended without cleaning.
  QLocalServer::removeServer(SocketPath());
  if (!server_->listen(SocketPath()))
    return;
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection())
      Serve(socket);
  });
}

void SingleInstance::Serve(QLocalSocket* socket) {
  connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  if (!SameUser(*socket)) {
    socket->abort();
    socket->deleteLater();
    return;
  }
  connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
    if (!socket->canReadLine()) {
      if (socket->bytesAvailable() > kMaxRequest)
        socket->abort();
      return;
    }
    const QByteArray line = socket->readLine(kMaxRequest);
    QString file;
    if (line.startsWith(kOpenPrefix)) {
      file = QFile::decodeName(
          QByteArray::fromBase64(line.mid(int(sizeof kOpenPrefix) - 1).trimmed()));
      if (file.isEmpty())
        return;
    } else if (line != kActivateRequest) {
      return;
    }
    socket->write(kAnswer);
    socket->flush();
    // Once this slot has returned: opening the file may show a message box and its event loop.
    QMetaObject::invokeMethod(
        this, [this, file] { Deliver(file); }, Qt::QueuedConnection);
  });
}

void SingleInstance::Deliver(const QString& file) {
  if (handler_)
    handler_(file);
  else
    pending_ << file;
}

void SingleInstance::SetRequestHandler(std::function<void(const QString& file)> handler) {
  handler_ = std::move(handler);
  const QStringList waiting = std::exchange(pending_, {});
  for (const QString& file : waiting)
    Deliver(file);
}

bool SingleInstance::AskRunningCopy(const QString& fileToOpen, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  QLocalSocket socket;
  // The running copy takes the lock a moment before its socket exists: try again until then.
  while (true) {
    if (!IsPrivateFolder(folder_, ::getuid()))
      return false;
    socket.connectToServer(SocketPath());
    if (socket.waitForConnected(int(deadline.remainingTime())))
      break;
    if (deadline.hasExpired())
      return false;
    QThread::msleep(20);
  }
  if (!SameUser(socket))
    return false;
  socket.write(Request(fileToOpen));
  if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
    return false;
  while (!socket.canReadLine()) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
      return false;
  }
  return socket.readLine() == kAnswer;
}

}  // namespace platform
