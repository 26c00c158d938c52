#include "ui/other/frmAllNumbers.h"

frmAllNumbers::frmAllNumbers(QWidget* parent) : QDialog(parent) {}
void frmAllNumbers::Form_Load() {}
