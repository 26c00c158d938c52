#pragma once

#include <QString>

#include "platform/Seam.h"

namespace platform {

// Starting other programs and opening web addresses.
class Launcher {
 public:
  virtual ~Launcher() = default;

  // Whether `path` names an existing file (not a folder): a program that could be started.
  static bool ProgramExists(const QString& path) { return Seam<Launcher>::Get().Exists(path); }
  // Starts a program with a normal, focused window; false when it could not be started.
  static bool StartProgram(const QString& path) { return Seam<Launcher>::Get().Start(path); }
  // Opens the address in the desktop's browser; false when nothing took it.
  static bool OpenUrl(const QString& url) { return Seam<Launcher>::Get().Open(url); }

  virtual bool Exists(const QString& path) = 0;
  virtual bool Start(const QString& path) = 0;
  virtual bool Open(const QString& url) = 0;
  static Launcher& Real();
};

}  // namespace platform
