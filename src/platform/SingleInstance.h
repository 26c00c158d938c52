#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace platform {

// One copy per user. A lock file is the flag that a copy runs (a lock left by a crashed copy
// is taken over); the running copy listens on a local socket and raises its window when a new
// copy asks it to.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QString name, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Tries to take the lock; false when another live copy holds it.
  bool TryLock();
  // Asks the running copy to raise its window; true when it answered.
  bool AskRunningCopyToActivate(int timeoutMs = 2000);
  // Starts answering activation requests (only once the lock is ours).
  void Listen(std::function<void()> onActivate);

 private:
  QString name_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
  std::function<void()> onActivate_;
};

}  // namespace platform
