#include "platform/UserInstance.h"

#include <unistd.h>

namespace platform {
namespace {

class NoGuard final : public PreviousInstance {
 public:
  bool IsRunning() override { return false; }
  bool AskToActivate(const QString&) override { return false; }
};

}  // namespace

PreviousInstance& PreviousInstance::Real() {
  static NoGuard none;
  return none;
}

UserInstance::UserInstance() : instance_(PrivateInstanceFolder(::getuid())) {}
UserInstance::~UserInstance() = default;

bool UserInstance::IsRunning() {
  // The lock is taken once: asking again must not find this copy's own lock.
  if (!checked_) {
    checked_ = true;
    running_ = !instance_.TryLock();
  }
  return running_;
}

bool UserInstance::AskToActivate(const QString& fileToOpen) {
  return instance_.AskRunningCopy(fileToOpen);
}

void UserInstance::SetActivationHandler(std::function<void(const QString& file)> handler) {
  instance_.SetRequestHandler(std::move(handler));
}

}  // namespace platform
