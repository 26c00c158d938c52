// The program's single-instance guard alone. A first copy prints "first" and its bus address;
// with --stay it then prints the one request it gets. A later copy hands over its file and
// prints whether the first copy answered.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "platform/SessionInstance.h"

static void Say(const QByteArray& line) {
  std::fputs((line + '\n').constData(), stdout);
  std::fflush(stdout);
}

int main(int argc, char** argv) {
  platform::NeverStartASessionBus();
  QCoreApplication app(argc, argv);
  const bool stay = argc > 1 && std::strcmp(argv[1], "--stay") == 0;
  platform::SessionInstance guard;
  if (guard.IsRunning()) {
    Say(guard.AskToActivate(argc > 1 ? argv[1] : "") ? "handed" : "unanswered");
    return 0;
  }
  Say("first " + qgetenv("DBUS_SESSION_BUS_ADDRESS"));
  if (!stay)
    return 0;
  guard.SetActivationHandler([](const QByteArray& file) {
    Say(file.isEmpty() ? QByteArray("raise") : "open " + file.toHex());
    QCoreApplication::quit();
  });
  QTimer::singleShot(20000, &app, &QCoreApplication::quit);  // nobody asked
  return QCoreApplication::exec();
}
