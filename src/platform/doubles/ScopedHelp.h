#pragma once

#include <QStringList>

#include "platform/Help.h"

namespace platform {

// Records the help documents asked for instead of opening a viewer.
class ScopedHelp final : public Scoped<Help> {
 public:
  QStringList shown;

  void Open(QWidget*, const QString& helpFile) override { shown << helpFile; }
};

}  // namespace platform
