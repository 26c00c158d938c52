#include "platform/Launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace platform {
namespace {

class DesktopLauncher final : public Launcher {
 public:
  bool Exists(const QString& path) override {
    const QFileInfo info(path);
    return info.exists() && info.isFile();
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
