#pragma once

#include <QStringList>

#include "platform/Launcher.h"

namespace platform {

// Records the programs started and addresses opened; nothing is started for real.
class ScopedLauncher final : public Scoped<Launcher> {
 public:
  QStringList onPath;  // programs found, by name, in the folder /usr/bin
  QStringList started;
  QStringList openedUrls;
  bool startSucceeds = true;
  bool openUrlSucceeds = true;

  std::optional<QString> Find(const QString& name) override {
    if (!onPath.contains(name))
      return std::nullopt;
    return QStringLiteral("/usr/bin/") + name;
  }
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
