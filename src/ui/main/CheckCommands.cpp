// The winning number, the check and its results.
#include "ui/main/frmNumberChecker.h"

void frmNumberChecker::mnuWinning_Click() { OpenEntryDialog(modPelmora::kEntryWinning); }
void frmNumberChecker::mnuCheck_Click() {}
void frmNumberChecker::mnuCopy_Click() {}
