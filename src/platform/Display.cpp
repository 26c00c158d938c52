#include "platform/Display.h"

#include <QList>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace platform {
namespace {

// Messages the toolkit gives while it looks for a display: shown once it has found one.
struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};
QList<HeldMessage> heldBack;
std::mutex heldBackLock;  // a thread of the toolkit may speak at the same time
QtMessageHandler usualHandler = nullptr;

}  // namespace

void LookForDisplay() {
  usualHandler = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type != QtFatalMsg) {
          const std::lock_guard<std::mutex> hold(heldBackLock);
          heldBack.append({type, context.category, text});
          return;
        }
        std::fputs(
            "pelmora: needs a graphical session (an X11 or Wayland display); without one, run "
            "it as: xvfb-run pelmora\n",
            stderr);
        std::_Exit(1);
      });
}

void DisplayFound() {
  qInstallMessageHandler(usualHandler);
  QList<HeldMessage> held;
  {
    const std::lock_guard<std::mutex> hold(heldBackLock);
    held = std::exchange(heldBack, {});
  }
  for (const HeldMessage& message : held)
    qt_message_output(message.type,
                      QMessageLogContext(nullptr, 0, nullptr, message.category.constData()),
                      message.text);
}

}  // namespace platform
