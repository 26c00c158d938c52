#pragma once

#include <QString>
#include <string>

namespace modPelmora {

struct DefaultDataFile {
  std::string path;
  bool exists = false;
};

// The program's folder as the bytes of its path, taken from the executable itself: a folder
// name that is not UTF-8 (a byte such as FF) survives no round trip through QString. Empty when
// the executable's path is unknown. Tests hand the window a folder of their own instead.
std::string ProgramFolder();

// The default data file is "pelmora.pmd" in the program's folder when it is there or the folder
// can take it; an installed copy, whose folder is read-only, keeps it in the per-user data
// folder instead.
DefaultDataFile ChooseDefaultDataFile(const std::string& programFolder);

// "pelmora.hlp" beside the program, or in the installed data folder.
QString HelpFilePath(const std::string& programFolder);

}  // namespace modPelmora
