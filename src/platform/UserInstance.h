#pragma once

#include <functional>

#include "platform/PreviousInstance.h"
#include "platform/SingleInstance.h"

namespace platform {

// The guard of this user's copies, in force for the program's lifetime.
class UserInstance final : public Scoped<PreviousInstance> {
 public:
  UserInstance();
  ~UserInstance() override;

  bool IsRunning() override;
  bool AskToActivate(const QString& fileToOpen) override;

  // Called by the running copy when a later copy asks it to come to the front; `file` is the
  // file that copy was started with, or empty.
  void SetActivationHandler(std::function<void(const QString& file)> handler);

 private:
  SingleInstance instance_;
  bool running_ = false;
  bool checked_ = false;
};

}  // namespace platform
