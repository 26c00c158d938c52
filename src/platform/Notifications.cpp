#include "platform/Notifications.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace platform {
namespace {

constexpr auto kService = "org.freedesktop.Notifications";
constexpr auto kPath = "/org/freedesktop/Notifications";

class DesktopNotifications final : public Notifications {
 public:
  bool Send(const Notification& notification) override {
    // Connecting without an address would let the bus library start a bus of its own for the X
    // display; a program that only wants to remind must never do that.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
      return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(QString::fromLatin1(kService)).value())
      return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kService), QStringLiteral("Notify"));
    call.setAutoStartService(false);
    call << QCoreApplication::applicationName() << 0u << QStringLiteral("pelmora")
         << notification.summary << notification.body << QStringList() << QVariantMap()
         << qint32(-1);
    // The reply (the notification's number) is of no use: the call is not waited for.
    return bus.send(call);
  }
};

}  // namespace

Notifications& Notifications::Real() {
  static DesktopNotifications notifications;
  return notifications;
}

}  // namespace platform
