#pragma once

#include <QDialog>

// Placeholder until the window is built.
class frmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget* parent = nullptr);
  void Form_Load();
};
