#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "check/DrawWins.h"
#include "check/PrizeTable.h"
#include "store/DrawHistory.h"
#include "store/TicketTexts.h"

class ChangeNotes;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class DrawTableModel;
class WinsChart;
class TextTableModel;

// The Draw History window: the user's draws newest first, what the open data file's tickets won
// in the selected draw and over the days shown, an import of a lottery's draws file, and a way to
// make a draw the winning number. Its opener makes it window-modal.
class frmDrawHistory : public QDialog {
  Q_OBJECT
 public:
  frmDrawHistory(const std::string& dataFile, ChangeNotes& notes, QWidget* parent = nullptr);
  ~frmDrawHistory() override;

  // Reads the history, the prize table and the data file's tickets, and shows every draw.
  void Form_Load();

  void cmdShow_Click();
  void cmdImport_Click();
  void cmdWinning_Click();
  void cmdPrizes_Click();

  // Imports a draws file as the import button does once the file is chosen.
  void ImportDrawsFile(const QString& path);

 signals:
  // A draw became the data file's winning number ("01-11-12-13-18-49").
  void winningNumberSaved(const QString& ticket);

 private:
  void LoadHistory();
  void ShowRange(store::DrawDay from, store::DrawDay to);
  void ShowWinsOfSelectedDraw();
  int SelectedRow() const;

  std::string dataFile_;
  ChangeNotes& notes_;
  std::string historyFile_;
  std::vector<store::Draw> history_;  // newest first
  store::TicketTexts tickets_;
  std::unique_ptr<check::TicketBallSets> sets_;
  check::PrizeTable prizes_;

  QLineEdit* txtFrom = nullptr;
  QLineEdit* txtTo = nullptr;
  QTableView* grdDraws = nullptr;
  QTableView* grdWins = nullptr;
  QLabel* lblTotal = nullptr;
  WinsChart* chrWins = nullptr;
  QPushButton* cmdWinning = nullptr;
  DrawTableModel* draws_ = nullptr;
  TextTableModel* wins_ = nullptr;
  TextTableModel* totals_ = nullptr;
};

// The prize table: the amount each tier pays (empty for none: the jackpot, a free ticket) and
// the days a win may be claimed, kept in the user's configuration folder.
class frmPrizeTable : public QDialog {
  Q_OBJECT
 public:
  explicit frmPrizeTable(QWidget* parent = nullptr);

  void Form_Load();
  // Checks and saves the amounts; the dialog closes only when they were saved.
  void cmdOK_Click();

  QLineEdit* AmountBox(check::Tier tier) const {
    return txtAmounts[static_cast<std::size_t>(tier)];
  }

 private:
  std::array<QLineEdit*, check::kTierCount> txtAmounts{};
  QLineEdit* txtDays = nullptr;
};

// Opens the prize table window-modal over `parent`; it goes when closed.
frmPrizeTable* OpenPrizeTable(QWidget* parent);
