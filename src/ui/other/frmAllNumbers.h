#pragma once

#include <QDialog>

class QKeyEvent;
class QListView;
class QPushButton;
class PlayListModel;
struct Session;

// Lists every ticket of the data file as the file holds it when the window opens, so tickets
// saved a moment ago in the entry dialog are there too. It only displays. Its opener makes it
// window-modal over the entry dialog, which waits meanwhile.
class frmAllNumbers : public QDialog {
  Q_OBJECT
 public:
  frmAllNumbers(const Session& session, QWidget* parent);

  // Fills the list from the data file; runs at every opening.
  void Form_Load();

  // Closes this window, which gives the entry dialog back its input.
  void cmdCancel_Click();

 protected:
  // Esc, and a close request from the desktop, act as "&Cancel".
  void reject() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const Session& session_;
  QListView* lstNumbers = nullptr;
  PlayListModel* tickets_ = nullptr;
  QPushButton* cmdCancel = nullptr;
};
