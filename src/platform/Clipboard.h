#pragma once

#include <QString>

#include "platform/Seam.h"

namespace platform {

// The desktop's clipboard, text only.
class Clipboard {
 public:
  virtual ~Clipboard() = default;

  static void Clear() { Seam<Clipboard>::Get().Empty(); }
  static QString Text() { return Seam<Clipboard>::Get().Read(); }
  static void SetText(const QString& text) { Seam<Clipboard>::Get().Write(text); }

  virtual void Empty() = 0;
  virtual QString Read() = 0;
  virtual void Write(const QString& text) = 0;
  static Clipboard& Real();
};

}  // namespace platform
