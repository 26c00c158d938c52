#include "app/DataFileLocation.h"

#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/modPelmora.h"
#include "platform/Platform.h"

namespace modPelmora {
namespace {

QString gProgramFolderOverride;

QString Folder() {
  return gProgramFolderOverride.isEmpty() ? ProgramFolder() : gProgramFolderOverride;
}

// Where an installed copy finds its help: the share folder beside the program's bin folder.
QString InstalledHelpPath() {
  return QDir::cleanPath(Folder() + QStringLiteral("/../share/pelmora/pelmora.hlp"));
}

bool FolderWritable(const QString& folder) {
  return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

}  // namespace

void SetProgramFolderForTesting(const QString& folder) {
  gProgramFolderOverride = folder;
}

DefaultDataFile ChooseDefaultDataFile() {
  const QString beside = Folder() + QStringLiteral("/pelmora.pmd");
  if (QFileInfo::exists(beside))
    return {PathBytes(beside), true};
  // An installed copy (its help in ../share) keeps its data per user even where it could write
  // to the program's folder, as root can.
  const bool installed = QFileInfo::exists(InstalledHelpPath());
  if (!installed && FolderWritable(Folder()))
    return {PathBytes(beside), false};

  QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (dataFolder.isEmpty())
    return {PathBytes(beside), false};
  QDir().mkpath(dataFolder);
  const QString perUser = dataFolder + QStringLiteral("/pelmora.pmd");
  return {PathBytes(perUser), QFileInfo::exists(perUser)};
}

QString HelpFilePath() {
  const QString beside = Folder() + QStringLiteral("/pelmora.hlp");
  if (QFileInfo::exists(beside))
    return beside;
  const QString installed =
      QStandardPaths::locate(QStandardPaths::AppDataLocation, QStringLiteral("pelmora.hlp"));
  if (!installed.isEmpty())
    return installed;
  // An installed copy keeps its data beside the program's share folder.
  const QString shared = InstalledHelpPath();
  if (QFileInfo::exists(shared))
    return shared;
  return beside;
}

bool ReportWriteFailure(QWidget* parent, const store::WriteResult& result) {
  if (result.ok)
    return true;
  platform::Current().ShowMessage(
      parent, {QStringLiteral("The data file could not be saved.\n\nFile: %1\nReason: %2")
                   .arg(QString::fromStdString(result.path), QString::fromStdString(result.reason)),
               AppTitle(), platform::MessageIcon::Warning, platform::MessageButtons::Ok});
  return false;
}

}  // namespace modPelmora
