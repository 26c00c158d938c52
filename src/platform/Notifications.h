#pragma once

#include <QString>

#include "platform/Seam.h"

namespace platform {

// A desktop notification: a short line and a few more words, shown by the desktop without taking
// the focus from anything.
struct Notification {
  QString summary;
  QString body;
};

// The desktop's notification service. Sending never waits for the desktop and never starts
// anything: without a session bus, or with no notification service on it, nothing is shown and
// Show says so.
class Notifications {
 public:
  virtual ~Notifications() = default;

  // True when the notification was handed to a notification service.
  static bool Show(const Notification& notification) {
    return Seam<Notifications>::Get().Send(notification);
  }

  virtual bool Send(const Notification& notification) = 0;
  // The freedesktop notification service (org.freedesktop.Notifications) on the session bus.
  static Notifications& Real();
};

}  // namespace platform
