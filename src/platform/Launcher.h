#pragma once

#include <QString>
#include <optional>

#include "platform/Seam.h"

namespace platform {

// Starting other programs and opening web addresses.
class Launcher {
 public:
  virtual ~Launcher() = default;

  // The full path of the program called `name` in the folders of PATH; nothing when none is there.
  static std::optional<QString> FindProgram(const QString& name) {
    return Seam<Launcher>::Get().Find(name);
  }
  // Starts a program with a normal, focused window; false when it could not be started.
  static bool StartProgram(const QString& path) { return Seam<Launcher>::Get().Start(path); }
  // Opens the address in the desktop's browser; false when nothing took it.
  static bool OpenUrl(const QString& url) { return Seam<Launcher>::Get().Open(url); }

  virtual std::optional<QString> Find(const QString& name) = 0;
  virtual bool Start(const QString& path) = 0;
  virtual bool Open(const QString& url) = 0;
  static Launcher& Real();
};

}  // namespace platform
