#pragma once

#include <QByteArray>

#include "platform/Seam.h"

namespace platform {

// Another copy of the program that runs in this desktop session.
class PreviousInstance {
 public:
  virtual ~PreviousInstance() = default;

  // Whether another copy runs.
  static bool Exists() { return Seam<PreviousInstance>::Get().IsRunning(); }
  // Asks that copy to restore and raise its main window and, when `fileToOpen` is not empty, to
  // open that file (its name as the bytes the system knows it by); false when no copy answered.
  static bool Activate(const QByteArray& fileToOpen) {
    return Seam<PreviousInstance>::Get().AskToActivate(fileToOpen);
  }

  virtual bool IsRunning() = 0;
  virtual bool AskToActivate(const QByteArray& fileToOpen) = 0;
  // No guard: every copy runs alone. The program puts a SessionInstance in force at start, so a
  // test that forgets its stand-in never meets a copy running on the desktop.
  static PreviousInstance& Real();
};

}  // namespace platform
