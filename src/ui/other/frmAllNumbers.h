#pragma once

#include <QDialog>

// Placeholder until the window is built.
class frmAllNumbers : public QDialog {
  Q_OBJECT
 public:
  explicit frmAllNumbers(QWidget* parent = nullptr);
  void Form_Load();
};
