#include "ui/main/DataFileWatch.h"

#include <QFileInfo>

DataFileWatch::DataFileWatch(std::function<void()> changed, QObject* parent)
    : QObject(parent), changed_(std::move(changed)) {
  settle_.setSingleShot(true);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &DataFileWatch::OnEvent);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &DataFileWatch::OnEvent);
  connect(&settle_, &QTimer::timeout, this, [this] {
    Rearm();
    changed_();
  });
}

void DataFileWatch::Watch(const QString& path) {
  if (!watcher_.files().isEmpty())
    watcher_.removePaths(watcher_.files());
  if (!watcher_.directories().isEmpty())
    watcher_.removePaths(watcher_.directories());
  settle_.stop();
  path_ = path;
  folder_ = QFileInfo(path).absolutePath();
  Rearm();
}

void DataFileWatch::RetryLater() {
  settle_.start(kRetryMs);
}

void DataFileWatch::OnEvent() {
  Rearm();
  settle_.start(kSettleMs);
}

void DataFileWatch::Rearm() {
  if (path_.isEmpty())
    return;
  // A file replaced by rename drops out of the watch; the name now stands for a new file.
  if (!watcher_.files().contains(path_) && QFileInfo::exists(path_))
    watcher_.addPath(path_);
  if (!watcher_.directories().contains(folder_) && QFileInfo::exists(folder_))
    watcher_.addPath(folder_);
}
