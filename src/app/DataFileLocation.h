#pragma once

#include <QString>
#include <string>

#include "store/WriteResult.h"

class QWidget;

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

// Tells the person that a change did not reach the disk, with the file and the reason.
// Returns true when the write had succeeded (and nothing was shown).
bool ReportWriteFailure(QWidget* parent, const store::WriteResult& result);

}  // namespace modPelmora
