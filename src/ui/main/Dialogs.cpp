// The main window's dialogs: it creates and owns them, opens them over itself, and brings itself
// up to date from what they report.
#include <QApplication>
#include <QDialog>

#include "store/TicketFile.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/other/frmAbout.h"
#include "ui/other/frmAllNumbers.h"

static void ShowOnTop(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

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
  // Window-modal over the entry dialog: that dialog waits, and can never come up over it.
  auto* allNumbers = new frmAllNumbers(mSession, mEntry);
  allNumbers->setWindowModality(Qt::WindowModal);
  allNumbers->Form_Load();
  ShowOnTop(allNumbers);
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
  // Window-modal: this window waits, and the box stays above it, until the box is closed.
  mAbout = new frmAbout(this);
  mAbout->setWindowModality(Qt::WindowModal);
  mAbout->Form_Load();
  ShowOnTop(mAbout);
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
