#include "platform/SessionInstance.h"

#include <sys/stat.h>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QList>
#include <QObject>
#include <utility>

namespace platform {

// The running copy's interface: come to the front, and open a file. A file name rides as bytes
// (`ay`), so a name that is no valid text still names the same file at the other end.
class InstanceService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "example.vordanik.pelmora.Instance")

 public:
  void SetHandler(std::function<void(const QByteArray&)> handler) {
    handler_ = std::move(handler);
    for (const QByteArray& file : std::exchange(pending_, {}))
      handler_(file);
  }

 public slots:
  Q_SCRIPTABLE void Raise() { Later(QByteArray()); }
  Q_SCRIPTABLE void Open(const QByteArray& file) { Later(file); }

 private:
  // Once the caller has its answer: opening a file may show a message box and wait in it.
  void Later(const QByteArray& file) {
    QMetaObject::invokeMethod(
        this,
        [this, file] {
          if (handler_)
            handler_(file);
          else
            pending_ << file;
        },
        Qt::QueuedConnection);
  }

  std::function<void(const QByteArray&)> handler_;
  QList<QByteArray> pending_;  // requests that came before the handler; empty: come to the front
};

namespace {

constexpr char kObjectPath[] = "/example/vordanik/pelmora";
constexpr char kInterface[] = "example.vordanik.pelmora.Instance";
// An address no transport answers to: the bus library then fails at once instead of starting a
// bus of its own.
constexpr char kNoBus[] = "disabled:";
// A running copy answers at once; one that does not within this time is taken for gone.
constexpr int kAnswerMs = 2000;

// Whether this session has a bus to ask: an address handed down by the login session, or the
// user's bus socket in the runtime folder. An address that would start a bus does not count.
bool SessionBusRuns() {
  const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  if (!address.isEmpty())
    return address != kNoBus && !address.contains("autolaunch:");
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  struct stat info {};
  return !runtime.isEmpty() && ::stat((runtime + "/bus").constData(), &info) == 0 &&
         S_ISSOCK(info.st_mode);
}

class NoGuard final : public PreviousInstance {
 public:
  bool IsRunning() override { return false; }
  bool AskToActivate(const QByteArray&) override { return false; }
};

}  // namespace

PreviousInstance& PreviousInstance::Real() {
  static NoGuard none;
  return none;
}

void NeverStartASessionBus() {
  if (!SessionBusRuns())
    qputenv("DBUS_SESSION_BUS_ADDRESS", kNoBus);
}

SessionInstance::SessionInstance() = default;

SessionInstance::~SessionInstance() {
  if (service_) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QString::fromLatin1(kObjectPath));
    bus.unregisterService(QString::fromLatin1(kInstanceBusName));
  }
}

bool SessionInstance::IsRunning() {
  // Asked once: asking again must not find this copy's own name.
  if (checked_)
    return running_;
  checked_ = true;
  if (!SessionBusRuns())
    return false;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface())
    return false;
  // The interface is in place before the name is taken, so whoever finds the name finds it too.
  auto service = std::make_unique<InstanceService>();
  if (!bus.registerObject(QString::fromLatin1(kObjectPath), service.get(),
                          QDBusConnection::ExportScriptableSlots))
    return false;
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
      bus.interface()->registerService(QString::fromLatin1(kInstanceBusName),
                                       QDBusConnectionInterface::DontQueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
  if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
    service_ = std::move(service);
    return false;
  }
  bus.unregisterObject(QString::fromLatin1(kObjectPath));
  // A bus that did not answer at all guards nothing: run.
  running_ = reply.isValid();
  return running_;
}

bool SessionInstance::AskToActivate(const QByteArray& fileToOpen) {
  if (!SessionBusRuns())
    return false;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kInstanceBusName), QString::fromLatin1(kObjectPath),
      QString::fromLatin1(kInterface),
      fileToOpen.isEmpty() ? QStringLiteral("Raise") : QStringLiteral("Open"));
  if (!fileToOpen.isEmpty())
    call << fileToOpen;
  const QDBusMessage answer = QDBusConnection::sessionBus().call(call, QDBus::Block, kAnswerMs);
  return answer.type() == QDBusMessage::ReplyMessage;
}

void SessionInstance::SetActivationHandler(std::function<void(const QByteArray& file)> handler) {
  if (service_)
    service_->SetHandler(std::move(handler));
}

}  // namespace platform

#include "SessionInstance.moc"
