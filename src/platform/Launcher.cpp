#include "platform/Launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

namespace platform {
namespace {

class DesktopLauncher final : public Launcher {
 public:
  std::optional<QString> Find(const QString& name) override {
    QString path = QStandardPaths::findExecutable(name);
    return path.isEmpty() ? std::nullopt : std::optional<QString>(std::move(path));
  }
  bool Start(const QString& path) override { return QProcess::startDetached(path, QStringList()); }
  bool Open(const QString& url) override { return QDesktopServices::openUrl(QUrl(url)); }
};

}  // namespace

Launcher& Launcher::Real() {
  static DesktopLauncher real;
  return real;
}

}  // namespace platform
