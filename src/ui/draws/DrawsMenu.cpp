// The main window's Draws menu: the Draw History window and the prize table.
#include "ui/draws/frmDrawHistory.h"
#include "ui/main/frmNumberChecker.h"

void frmNumberChecker::mnuDrawHistory_Click() {
  // Window-modal, as the About box: the main window waits, and its file is not followed meanwhile.
  auto* history = new frmDrawHistory(data_->session().dataFile, data_->session().notes, this);
  history->setWindowModality(Qt::WindowModal);
  connect(history, &frmDrawHistory::winningNumberSaved, this,
          &frmNumberChecker::WinningNumberSaved);
  history->Form_Load();
  history->show();
  history->raise();
  history->activateWindow();
}

void frmNumberChecker::mnuPrizes_Click() {
  OpenPrizeTable(this);
}
