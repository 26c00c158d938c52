#pragma once

#include <QString>
#include <string>

namespace modPelmora {

struct DefaultDataFile {
  std::string path;
  bool exists = false;
};

// The default data file is "pelmora.pmd" in the program's folder when it is there or the folder
// can take it; an installed copy, whose folder is read-only, keeps it in the per-user data
// folder instead.
DefaultDataFile ChooseDefaultDataFile();

// "pelmora.hlp" beside the program, or in the installed data folder.
QString HelpFilePath();

// Tests point the program's folder somewhere of their own.
void SetProgramFolderForTesting(const QString& folder);

}  // namespace modPelmora
