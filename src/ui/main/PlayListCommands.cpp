// Commands on the play list: add, delete marked, mark all, copy, and the list's click.
#include "ui/main/frmNumberChecker.h"

void frmNumberChecker::mnuAddPlay_Click() { OpenEntryDialog(modPelmora::kEntryPlays); }
void frmNumberChecker::mnuDeleteChecked_Click() {}
void frmNumberChecker::mnuAll_Click() {}
void frmNumberChecker::mnuCpyPlays_Click() {}
void frmNumberChecker::lstNumbers_Click() {}
