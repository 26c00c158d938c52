// File menu: New, Open, Save.
#include "ui/main/frmNumberChecker.h"

void frmNumberChecker::mnuNew_Click() {}
void frmNumberChecker::mnuOpen_Click() {}
void frmNumberChecker::mnuSave_Click() {}
