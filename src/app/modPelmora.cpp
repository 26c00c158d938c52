#include "app/modPelmora.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdlib>

#include "app/FileText.h"
#include "platform/Messages.h"
#include "platform/PreviousInstance.h"
#include "store/Profile.h"

namespace modPelmora {

std::string gDataFile;
std::string gProfileFile;
std::int16_t gIdx = 0;
std::int16_t gPickedCount = 0;
std::int16_t gPickLimit = 6;
std::uint8_t gEntryMode = 0;

namespace {
QString gAppTitle = QString::fromLatin1(kProductName);
MainWindowLink* gMainWindow = nullptr;
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

void SetMainWindowLink(MainWindowLink* link) {
  gMainWindow = link;
}

void ShowMatchHint() {
  if (gMainWindow)
    gMainWindow->SetResultsText(QString::fromLatin1(kHintText));
}

void CheckPrevInstance(const QString& fileToOpen) {
  // Renamed first so that this copy's own windows no longer pass for the running copy's; the
  // message below therefore carries the new title, as every later message of this copy does.
  SetAppTitle(QStringLiteral("unwanted instance"));
  if (!platform::PreviousInstance::Activate(fileToOpen))
    return;
  // Handing a file over is what the person asked for; the running copy shows it, nothing to say.
  if (!fileToOpen.isEmpty())
    std::exit(0);
  platform::Messages::Show(
      nullptr, {QStringLiteral("This instance of Pelmora will terminate because another running "
                               "instance was detected."),
                AppTitle(), platform::MessageIcon::Information, platform::MessageButtons::Ok});
  std::exit(0);
}

}  // namespace modPelmora
