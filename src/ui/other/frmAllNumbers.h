#pragma once

#include <QDialog>

class QKeyEvent;
class QListView;
class QPushButton;
class PlayListModel;

// Lists every ticket of the data file as the file holds it when the window opens, so tickets
// saved a moment ago in the entry dialog are there too. It only displays.
class frmAllNumbers : public QDialog {
  Q_OBJECT
 public:
  explicit frmAllNumbers(QWidget* parent = nullptr);

  // Fills the list from the data file; runs at every opening.
  void Form_Load();

  QListView* lstNumbers = nullptr;
  PlayListModel* mTickets = nullptr;
  QPushButton* cmdCancel = nullptr;

  // Gives the entry dialog back its input and closes this window.
  void cmdCancel_Click();

 protected:
  // Esc, and a close request from the desktop, act as "&Cancel": the entry dialog must be
  // enabled again whichever way this window goes.
  void reject() override;
  void keyPressEvent(QKeyEvent* event) override;
};
