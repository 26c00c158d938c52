#pragma once

#include <QString>

#include "platform/Seam.h"

class QWidget;

namespace platform {

// The program's help.
class Help {
 public:
  virtual ~Help() = default;

  // Opens the help document; `parent` is the window the person asked from.
  static void Show(QWidget* parent, const QString& helpFile) {
    Seam<Help>::Get().Open(parent, helpFile);
  }

  virtual void Open(QWidget* parent, const QString& helpFile) = 0;
  // The program's own help viewer, one window for every request.
  static Help& Real();
};

}  // namespace platform
