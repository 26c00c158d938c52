#pragma once

#include <QString>

#include "platform/Seam.h"

namespace platform {

// Another copy of the program that runs for this user.
class PreviousInstance {
 public:
  virtual ~PreviousInstance() = default;

  // Whether another copy runs.
  static bool Exists() { return Seam<PreviousInstance>::Get().IsRunning(); }
  // Asks that copy to restore and raise its main window and, when `fileToOpen` is not empty, to
  // open that file; false when no copy answered.
  static bool Activate(const QString& fileToOpen) {
    return Seam<PreviousInstance>::Get().AskToActivate(fileToOpen);
  }

  virtual bool IsRunning() = 0;
  virtual bool AskToActivate(const QString& fileToOpen) = 0;
  // No guard: every copy runs alone. The program puts a UserInstance in force at start, so a
  // test that forgets its stand-in never touches the user's real guard.
  static PreviousInstance& Real();
};

}  // namespace platform
