#include "ui/other/frmAbout.h"

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {}
void frmAbout::Form_Load() {}
