#pragma once

#include <vector>

#include "platform/Notifications.h"

namespace platform {

// Records the notifications sent; `running` false plays a desktop without the service.
class ScopedNotifications final : public Scoped<Notifications> {
 public:
  std::vector<Notification> shown;
  bool running = true;

  bool Send(const Notification& notification) override {
    if (running)
      shown.push_back(notification);
    return running;
  }
};

}  // namespace platform
