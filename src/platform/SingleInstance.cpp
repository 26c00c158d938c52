#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>

namespace platform {
namespace {

constexpr char kActivateRequest[] = "activate\n";
constexpr char kOpenPrefix[] = "open ";
constexpr char kAnswer[] = "ok\n";
// A request is one short line; anything longer is not from a copy of this program.
constexpr qsizetype kMaxRequest = 64 * 1024;

QByteArray Native(const QString& path) {
  return QFile::encodeName(path);
}

// The user id of the process at the other end of a connected local socket, or -1.
long PeerUid(int descriptor) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  if (descriptor < 0 || ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
    return -1;
  return static_cast<long>(credentials.uid);
}

bool SameUser(int descriptor) {
  return PeerUid(descriptor) == static_cast<long>(::getuid());
}

// The path rides base64-encoded so that no byte of it (a line break included) can end the
// request early.
QByteArray Request(const QString& file) {
  if (file.isEmpty())
    return kActivateRequest;
  return QByteArray(kOpenPrefix) + Native(file).toBase64() + '\n';
}

// False when the path does not fit a local socket address.
bool SocketAddress(const QByteArray& path, sockaddr_un* address) {
  *address = sockaddr_un{};
  address->sun_family = AF_UNIX;
  if (path.isEmpty() || std::size_t(path.size()) >= sizeof address->sun_path)
    return false;
  std::memcpy(address->sun_path, path.constData(), std::size_t(path.size()));
  return true;
}

int LocalSocket() {
  return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

// Closes the descriptor when it goes out of scope.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0)
      ::close(fd);
  }
};

// Waits until `fd` is ready for `events` or the deadline passes.
bool WaitFor(int fd, short events, const QDeadlineTimer& deadline) {
  while (true) {
    pollfd watched{fd, events, 0};
    const int ready = ::poll(&watched, 1, int(std::max<qint64>(0, deadline.remainingTime())));
    if (ready > 0)
      return (watched.revents & events) != 0;
    if (ready == 0 || errno != EINTR)
      return false;
  }
}

// The request a line holds: the file to open, the empty text for "come to the front", or nothing
// when the line is not a request of this program.
std::optional<QString> ParseRequest(const QByteArray& line) {
  if (line == kActivateRequest)
    return QString();
  if (!line.startsWith(kOpenPrefix))
    return std::nullopt;
  QString file = QFile::decodeName(
      QByteArray::fromBase64(line.mid(qsizetype(sizeof kOpenPrefix) - 1).trimmed()));
  if (file.isEmpty())
    return std::nullopt;
  return file;
}

}  // namespace

struct SingleInstance::Connection {
  int fd = -1;
  QSocketNotifier* notifier = nullptr;
  QByteArray received;
  ~Connection() {
    // The notifier may be the one whose signal is being handled: it goes once that is over.
    notifier->setEnabled(false);
    notifier->deleteLater();
    ::close(fd);
  }
};

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
  connections_.clear();
  if (listener_) {
    listener_->setEnabled(false);
    ::close(listenFd_);
    ::unlink(Native(SocketPath()).constData());
  }
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
  const QByteArray path = Native(SocketPath());
  sockaddr_un address;
  if (!SocketAddress(path, &address))
    return;
  const int fd = LocalSocket();
  if (fd < 0)
    return;
  // The lock is ours, so a socket already there was left by a copy that ended without cleaning.
  ::unlink(path.constData());
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::chmod(path.constData(), 0600) != 0 || ::listen(fd, 16) != 0) {
    ::close(fd);
    return;
  }
  listenFd_ = fd;
  listener_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  connect(listener_, &QSocketNotifier::activated, this, [this] { Accept(); });
}

void SingleInstance::Accept() {
  while (true) {
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED)
        continue;
      return;  // nothing more waiting
    }
    if (!SameUser(fd)) {
      ::close(fd);
      continue;
    }
    auto connection = std::make_unique<Connection>();
    connection->fd = fd;
    connection->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    Connection* raw = connection.get();
    connect(raw->notifier, &QSocketNotifier::activated, this, [this, raw] { Read(raw); });
    connections_.push_back(std::move(connection));
  }
}

void SingleInstance::Read(Connection* connection) {
  // The other copy may write its request and close its end at once: the request still counts.
  bool ended = false;
  char chunk[4096];
  while (!ended && connection->received.size() <= kMaxRequest) {
    const ssize_t got = ::recv(connection->fd, chunk, sizeof chunk, 0);
    if (got > 0)
      connection->received.append(chunk, got);
    else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
      break;
    else if (got == 0 || errno != EINTR)
      ended = true;
  }
  qsizetype end;
  while ((end = connection->received.indexOf('\n')) >= 0) {
    const QByteArray line = connection->received.left(end + 1);
    connection->received.remove(0, end + 1);
    const std::optional<QString> file = ParseRequest(line);
    if (!file)
      continue;
    ::send(connection->fd, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL);
    // Once this slot has returned: opening the file may show a message box and its event loop.
    QMetaObject::invokeMethod(
        this, [this, file = *file] { Deliver(file); }, Qt::QueuedConnection);
  }
  if (ended || connection->received.size() > kMaxRequest)
    Drop(connection);
}

void SingleInstance::Drop(Connection* connection) {
  std::erase_if(connections_, [connection](const auto& c) { return c.get() == connection; });
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
  sockaddr_un address;
  if (!SocketAddress(Native(SocketPath()), &address))
    return false;
  Descriptor socket{-1};
  // The running copy takes the lock a moment before its socket exists: try again until then.
  while (true) {
    if (!IsPrivateFolder(folder_, ::getuid()))
      return false;
    socket.fd = LocalSocket();
    if (socket.fd < 0)
      return false;
    if (::connect(socket.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
      break;
    ::close(std::exchange(socket.fd, -1));
    if (deadline.hasExpired())
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (!SameUser(socket.fd))
    return false;
  const QByteArray request = Request(fileToOpen);
  for (qsizetype sent = 0; sent < request.size();) {
    const ssize_t n = ::send(socket.fd, request.constData() + sent,
                             std::size_t(request.size() - sent), MSG_NOSIGNAL);
    if (n > 0)
      sent += n;
    else if (n == 0 || (errno != EINTR && errno != EAGAIN))
      return false;
    else if (errno == EAGAIN && !WaitFor(socket.fd, POLLOUT, deadline))
      return false;
  }
  QByteArray answer;
  while (!answer.contains('\n')) {
    if (!WaitFor(socket.fd, POLLIN, deadline))
      return false;
    char chunk[64];
    const ssize_t got = ::recv(socket.fd, chunk, sizeof chunk, 0);
    if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN))
      return false;
    if (got > 0)
      answer.append(chunk, got);
  }
  return answer.left(answer.indexOf('\n') + 1) == kAnswer;
}

}  // namespace platform
