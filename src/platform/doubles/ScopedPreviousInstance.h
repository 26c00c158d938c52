#pragma once

#include "platform/PreviousInstance.h"

namespace platform {

// Another copy that runs or not, as the test says, and records what it was asked.
class ScopedPreviousInstance final : public Scoped<PreviousInstance> {
 public:
  bool running = false;
  bool answers = true;        // whether the running copy answers a request
  QByteArray activationFile;  // the file the last request handed over

  bool IsRunning() override { return running; }
  bool AskToActivate(const QByteArray& fileToOpen) override {
    activationFile = fileToOpen;
    return answers;
  }
};

}  // namespace platform
