#include "app/DataFileLocation.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>

#include "app/modPelmora.h"

namespace modPelmora {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

}  // namespace

std::string ProgramFolder() {
  std::error_code unknown;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", unknown);
  return unknown ? std::string() : exe.parent_path().string();
}

DefaultDataFile ChooseDefaultDataFile(const std::string& folder) {
  if (!folder.empty()) {
    const std::string beside = (folder == "/" ? folder : folder + "/") + "pelmora.pmd";
    if (Exists(beside))
      return {beside, true};
    // An installed copy (its help in ../share) keeps its data per user even where it could
    // write to the program's folder, as root can.
    const bool installed = Exists(folder + "/../share/pelmora/pelmora.hlp");
    if (!installed && ::access(folder.c_str(), W_OK | X_OK) == 0)
      return {beside, false};
  }
  // The per-user data folder, never the current folder: where the program was started from
  // says nothing about where its data belongs.
  QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (dataFolder.isEmpty())
    dataFolder = QDir::homePath() + QStringLiteral("/.local/share/pelmora");
  QDir().mkpath(dataFolder);
  const std::string perUser = PathBytes(dataFolder + QStringLiteral("/pelmora.pmd"));
  return {perUser, Exists(perUser)};
}

QString HelpFilePath(const std::string& programFolder) {
  const QString folder = QFile::decodeName(programFolder.c_str());
  const QString beside = folder + QStringLiteral("/pelmora.hlp");
  if (QFileInfo::exists(beside))
    return beside;
  const QString installed =
      QStandardPaths::locate(QStandardPaths::AppDataLocation, QStringLiteral("pelmora.hlp"));
  if (!installed.isEmpty())
    return installed;
  // An installed copy keeps its data beside the program's share folder.
  const QString shared = QDir::cleanPath(folder + QStringLiteral("/../share/pelmora/pelmora.hlp"));
  if (QFileInfo::exists(shared))
    return shared;
  return beside;
}

}  // namespace modPelmora
