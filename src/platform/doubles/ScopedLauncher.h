#pragma once

#include <QSet>
#include <QStringList>

#include "platform/Launcher.h"

namespace platform {

// Records the programs started and addresses opened; nothing is started for real.
class ScopedLauncher final : public Scoped<Launcher> {
 public:
  QSet<QString> existingFiles;
  QStringList started;
  QStringList openedUrls;
  bool startSucceeds = true;
  bool openUrlSucceeds = true;

  bool Exists(const QString& path) override { return existingFiles.contains(path); }
  bool Start(const QString& path) override {
    started << path;
    return startSucceeds;
  }
  bool Open(const QString& url) override {
    openedUrls << url;
    return openUrlSucceeds;
  }
};

}  // namespace platform
