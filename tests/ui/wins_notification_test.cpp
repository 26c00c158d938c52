// End to end: the program starts on a data file with a win soon to claim, and the reminder
// reaches a notification service on the session bus (a stand-in registered under the service's
// own name on the test's private bus), through the real D-Bus call.
#include <stdlib.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include "UiFixture.h"
#include "platform/Notifications.h"
#include "store/DrawHistory.h"
#include "store/WinsSection.h"

namespace {

class FakeNotificationService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
 public:
  QStringList summaries;
  QStringList bodies;

 public slots:
  uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
              const QStringList&, const QVariantMap&, int) {
    summaries << summary;
    bodies << body;
    return static_cast<uint>(bodies.size());
  }
};

class WinsNotificationTest : public UiTest {};

TEST_F(WinsNotificationTest, StartUpRemindsThroughTheSessionBus) {
  if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
    GTEST_SKIP() << "no session bus: run under dbus-run-session";
  }
  QDBusConnection bus =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-service"));
  ASSERT_TRUE(bus.isConnected());
  FakeNotificationService service;
  ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                 QDBusConnection::ExportAllSlots));
  ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));

  // A draw 170 days ago: its wins must be claimed within ten days.
  const store::Day drawDay = store::AddDays(store::Today(), -170);
  const std::string history = store::DrawHistoryPath();
  QDir().mkpath(QString::fromStdString(history).section(u'/', 0, -2));
  WriteFile(history, "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,DrawNumber\n" +
                         store::DrawDayText(drawDay) + ",1,2,3,4,5,6,7,3200\n");
  WriteDataFile(TicketFileText({"01-02-40-41-42-43", "01-02-03-41-42-43"}));
  StartProgram();
  main_->show();

  ASSERT_TRUE(QTest::qWaitFor([&service] { return !service.bodies.isEmpty(); }, 10000));
  EXPECT_EQ(service.bodies.size(), 1);
  EXPECT_EQ(service.summaries[0], "Pelmora: wins to claim");
  EXPECT_EQ(service.bodies[0],
            QStringLiteral("2 wins to claim within 30 days, the first by %1.")
                .arg(QString::fromStdString(store::IsoDayText(store::AddDays(drawDay, 180)))));

  // Without a bus address nothing is sent, and no bus is started for it.
  const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
  EXPECT_FALSE(platform::Notifications::Real().Send({QStringLiteral("x"), QStringLiteral("y")}));
  ::setenv("DBUS_SESSION_BUS_ADDRESS", address.constData(), 1);

  bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
  std::remove(history.c_str());
}

}  // namespace

#include "wins_notification_test.moc"
