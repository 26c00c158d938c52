// The main window's dialogs: it creates and owns them, opens them over itself, and brings itself
// up to date from what they report.
#include <QApplication>
#include <QDialog>

#include "ui/entry/frmNumberEntry.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/other/frmAbout.h"
#include "ui/other/frmAllNumbers.h"
#include "ui/widgets/WindowPlacement.h"

void frmNumberChecker::OpenEntryDialog(EntryMode mode) {
  hide();
  data_->session().entryMode = mode;
  if (!entry_ || entry_->isHidden()) {
    entry_ = new frmNumberEntry(data_->session(), this);
    connect(entry_, &frmNumberEntry::winningNumberSaved, this,
            &frmNumberChecker::WinningNumberSaved);
    connect(entry_, &frmNumberEntry::ticketsChanged, this, [this] {
      data_->RereadList();
      ShowMatchHint();
    });
    connect(entry_, &frmNumberEntry::allNumbersWanted, this, [this] {
      // Window-modal over the entry dialog: that dialog waits, and can never come up over it.
      auto* allNumbers = new frmAllNumbers(data_->session(), entry_);
      allNumbers->setWindowModality(Qt::WindowModal);
      allNumbers->Form_Load();
      ShowOnTop(allNumbers);
    });
    connect(entry_, &frmNumberEntry::closed, this, [this] { ShowOnTop(this); });
    entry_->Form_Load();
  }
  ShowOnTop(entry_);
}

void frmNumberChecker::WinningNumberSaved(const QString& ticket) {
  ShowMatchHint();
  data_->SetWinningNumber(ticket.toStdString());
}

void frmNumberChecker::mnuAbout_Click() {
  // Window-modal: this window waits, and the box stays above it, until the box is closed.
  about_ = new frmAbout(this);
  about_->setWindowModality(Qt::WindowModal);
  about_->Form_Load();
  ShowOnTop(about_);
}

bool frmNumberChecker::DialogOpen() const {
  // The all-numbers window opens only over the entry dialog.
  return (entry_ && entry_->isVisible()) || (about_ && about_->isVisible()) ||
         QApplication::activeModalWidget() || !isVisible() || !isEnabled();
}

void frmNumberChecker::CatchUpWithFile() {
  // While the person is busy elsewhere the list catches up when they are back; a command that
  // writes the list checks the file in any case.
  if (DialogOpen())
    data_->FollowLater();
  else
    data_->ReloadFromFile();
}
