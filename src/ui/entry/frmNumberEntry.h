#pragma once

#include <QDialog>

// Placeholder until the window is built.
class frmNumberEntry : public QDialog {
  Q_OBJECT
 public:
  explicit frmNumberEntry(QWidget* parent = nullptr);
  void Form_Load();
};
