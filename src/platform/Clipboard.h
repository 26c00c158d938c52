#pragma once

#include <QByteArray>

#include "platform/Seam.h"

namespace platform {

// The desktop's clipboard, text only. Text is given as UTF-8: a long text is held in half the
// memory of a QString.
class Clipboard {
 public:
  virtual ~Clipboard() = default;

  static void Clear() { Seam<Clipboard>::Get().Empty(); }
  static void SetUtf8Text(const QByteArray& utf8) { Seam<Clipboard>::Get().WriteUtf8(utf8); }

  virtual void Empty() = 0;
  virtual void WriteUtf8(const QByteArray& utf8) = 0;
  static Clipboard& Real();
};

}  // namespace platform
