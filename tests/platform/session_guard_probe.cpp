// The program's single-instance guard alone, for the guard's test: a first copy prints "first"
// and its bus address, then waits (--stay MS) for one request and prints it; a later copy hands
// over the file it was given and prints whether the first copy answered.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/SessionInstance.h"

namespace {

void Say(const QByteArray& line) {
  std::fputs((line + '\n').constData(), stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  platform::NeverStartASessionBus();
  QCoreApplication app(argc, argv);
  int stayMs = 0;
  QByteArray file;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--stay") == 0 && i + 1 < argc)
      stayMs = std::atoi(argv[++i]);
    else
      file = argv[i];
  }
  platform::SessionInstance guard;
  if (guard.IsRunning()) {
    Say(guard.AskToActivate(file) ? "handed" : "unanswered");
    return 0;
  }
  Say("first " + qgetenv("DBUS_SESSION_BUS_ADDRESS"));
  if (stayMs == 0)
    return 0;
  guard.SetActivationHandler([](const QByteArray& handed) {
    Say(handed.isEmpty() ? QByteArray("raise") : "open " + handed.toHex());
    QCoreApplication::exit(0);
  });
  QTimer::singleShot(stayMs, [] {
    Say("nobody asked");
    QCoreApplication::exit(1);
  });
  return QCoreApplication::exec();
}
