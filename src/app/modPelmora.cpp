#include "app/modPelmora.h"

#include <QCoreApplication>
#include <QDir>

#include "app/FileText.h"
#include "app/ProblemReport.h"
#include "platform/PreviousInstance.h"
#include "store/Profile.h"

namespace modPelmora {

namespace {
QString gAppTitle = QString::fromLatin1(kProductName);
}  // namespace

QString PathText(const std::string& path) {
  return FileText(path);
}

QString AppTitle() {
  return gAppTitle;
}
void SetAppTitle(const QString& title) {
  gAppTitle = title;
}

QString ProgramFolder() {
  QString dir = QCoreApplication::applicationDirPath();
  if (dir.isEmpty())
    dir = QDir::currentPath();
  return QDir::cleanPath(dir);
}

std::string GetProfileValue(std::string_view section, std::string_view key,
                            const std::string& path) {
  return store::ReadProfileValue(section, key, path);
}

StartVerdict CheckPrevInstance(const std::string& fileToOpen) {
  // Renamed first so that this copy's own windows no longer pass for the running copy's; the
  // message below therefore carries the new title, as every later message of this copy does.
  SetAppTitle(QStringLiteral("unwanted instance"));
  if (!platform::PreviousInstance::Activate(QByteArray::fromStdString(fileToOpen)))
    return StartVerdict::Run;
  // Handing a file over is what the person asked for; the running copy shows it, nothing to say.
  if (fileToOpen.empty())
    Tell(nullptr,
         QStringLiteral("This instance of Pelmora will terminate because another running "
                        "instance was detected."),
         platform::MessageIcon::Information);
  return StartVerdict::End;
}

}  // namespace modPelmora
