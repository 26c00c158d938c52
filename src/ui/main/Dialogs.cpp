// The main window's dialogs: it creates and owns them, opens them over itself, and brings itself
// up to date from what they report.
#include <QApplication>
#include <QDialog>

#include "store/TicketFile.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/other/frmAbout.h"
#include "ui/other/frmAllNumbers.h"

namespace {

void ShowOnTop(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

// Window-modal: the window under it waits, and can never come up over it.
template <class Dialog>
void OpenWindowModal(Dialog* dialog) {
  dialog->setWindowModality(Qt::WindowModal);
  dialog->Form_Load();
  ShowOnTop(dialog);
}

}  // namespace

void frmNumberChecker::OpenEntryDialog(EntryMode mode) {
  hide();
  mSession.entryMode = mode;
  if (!mEntry || mEntry->isHidden()) {
    mEntry = new frmNumberEntry(mSession, this);
    connect(mEntry, &frmNumberEntry::winningNumberSaved, this,
            &frmNumberChecker::WinningNumberSaved);
    connect(mEntry, &frmNumberEntry::ticketsChanged, this, &frmNumberChecker::TicketsChanged);
    connect(mEntry, &frmNumberEntry::allNumbersWanted, this, &frmNumberChecker::OpenAllNumbers);
    connect(mEntry, &frmNumberEntry::closed, this, &frmNumberChecker::EntryDialogClosed);
    mEntry->Form_Load();
  }
  ShowOnTop(mEntry);
}

void frmNumberChecker::OpenAllNumbers() {
  if (!mEntry)
    return;
  OpenWindowModal(new frmAllNumbers(mSession, mEntry));
}

void frmNumberChecker::WinningNumberSaved(const QString& ticket) {
  ShowMatchHint();
  ShowWinningNumber(ticket.toStdString());
}

void frmNumberChecker::TicketsChanged() {
  SetPlayList(store::ReadAllTickets(mSession.dataFile).tickets);
  ShowMatchHint();
}

void frmNumberChecker::EntryDialogClosed() {
  ShowOnTop(this);
}

void frmNumberChecker::mnuAbout_Click() {
  mAbout = new frmAbout(this);
  OpenWindowModal(mAbout.data());
}

bool frmNumberChecker::DialogOpen() const {
  // The all-numbers window opens only over the entry dialog.
  return (mEntry && mEntry->isVisible()) || (mAbout && mAbout->isVisible()) ||
         QApplication::activeModalWidget() || !isVisible() || !isEnabled();
}

void frmNumberChecker::UnloadDialogs() {
  for (QDialog* dialog : findChildren<QDialog*>()) {
    dialog->hide();
    dialog->deleteLater();
  }
}
