#pragma once

#include <QByteArray>
#include <QString>

#include "platform/Seam.h"

namespace platform {

// The desktop's clipboard, text only.
class Clipboard {
 public:
  virtual ~Clipboard() = default;

  static void Clear() { Seam<Clipboard>::Get().Empty(); }
  static void SetText(const QString& text) { Seam<Clipboard>::Get().Write(text); }
  // The same text given as UTF-8: a long text is held in half the memory of a QString.
  static void SetUtf8Text(const QByteArray& utf8) { Seam<Clipboard>::Get().WriteUtf8(utf8); }

  virtual void Empty() = 0;
  virtual void Write(const QString& text) = 0;
  virtual void WriteUtf8(const QByteArray& utf8) { Write(QString::fromUtf8(utf8)); }
  static Clipboard& Real();
};

}  // namespace platform
