#include "ui/entry/frmNumberEntry.h"

frmNumberEntry::frmNumberEntry(QWidget* parent) : QDialog(parent) {}
void frmNumberEntry::Form_Load() {}
