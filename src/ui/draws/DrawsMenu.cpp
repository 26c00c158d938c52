// The main window's Draws menu: the Draw History window, the prize table and the Wins window.
#include "ui/draws/frmDrawHistory.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/wins/frmWins.h"

void frmNumberChecker::mnuDrawHistory_Click() {
  // Window-modal, as the About box: the main window waits, and its file is not followed meanwhile.
  auto* history = new frmDrawHistory(data_->session().dataFile, data_->session().notes, this);
  history->setWindowModality(Qt::WindowModal);
  connect(history, &frmDrawHistory::winningNumberSaved, this,
          &frmNumberChecker::WinningNumberSaved);
  history->Form_Load();
  ShowOnTop(history);
}

void frmNumberChecker::mnuPrizes_Click() {
  OpenPrizeTable(this);
}

void frmNumberChecker::mnuWins_Click() {
  auto* wins = findChild<frmWins*>(QString(), Qt::FindDirectChildrenOnly);
  if (wins == nullptr) {
    wins = new frmWins(this);
    wins->setWindowModality(Qt::WindowModal);
  }
  wins->Form_Load(data_->session().dataFile);
  ShowOnTop(wins);
}
