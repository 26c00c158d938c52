#pragma once

#include <QString>

#include "platform/Clipboard.h"

namespace platform {

// A clipboard of its own, which can refuse to take text as a busy system clipboard does.
class ScopedClipboard final : public Scoped<Clipboard> {
 public:
  QString text;
  bool fails = false;
  int clears = 0;

  void Empty() override {
    ++clears;
    text.clear();
  }
  void WriteUtf8(const QByteArray& written) override {
    if (!fails)
      text = QString::fromUtf8(written);
  }
};

}  // namespace platform
