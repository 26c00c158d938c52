#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// Tells the window, once per burst, that its data file may have changed on disk: written in
// place, replaced by rename (a new file under the old name), removed or created again. The file
// and its folder are both watched, because a replaced file is no longer the one being watched.
class DataFileWatch : public QObject {
  Q_OBJECT
 public:
  // `changed` runs on the event loop, a short while after the last event of a burst.
  DataFileWatch(std::function<void()> changed, QObject* parent);

  // Watches `path` (and its folder) instead of whatever was watched before.
  void Watch(const QString& path);

  // Asks for `changed` again a little later: the window could not follow the file yet.
  void RetryLater();

  // The pause that gathers a burst of events into one call, and the one between retries.
  static constexpr int kSettleMs = 150;
  static constexpr int kRetryMs = 300;

 private:
  void OnEvent();
  void Rearm();

  std::function<void()> changed_;
  QFileSystemWatcher watcher_;
  QTimer settle_;
  QString path_;
  QString folder_;
};
