#pragma once

#include <QDialog>
#include <string>

#include "check/WinsOfFile.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableView;
class WinsModel;

// The wins of the current data file: what its tickets won in the draws it plays, what is still to
// claim and by when. The person sets the draws the file plays, marks wins claimed or not, and
// prints the wins to claim or keeps them as a PDF. Everything works from the keyboard.
class frmWins : public QDialog {
  Q_OBJECT
 public:
  explicit frmWins(QWidget* parent = nullptr);

  // Reads the data file, the draw history and the prize table afresh and shows the wins as of
  // `today`.
  void Form_Load(const std::string& dataFile, store::Day today = store::Today());

  void cboShow_Changed();
  void cmdSetDates_Click();
  // Marks the selected wins claimed today, or takes their marks away.
  void cmdClaimed_Click() { MarkSelected(true); }
  void cmdNotClaimed_Click() { MarkSelected(false); }
  void cmdPrint_Click();
  void cmdPdf_Click();

  WinsModel* Model() const { return model_; }
  // The totals line as shown: "To claim: 2 wins, £60. Claimed: ...".
  QString TotalsText() const;

 private:
  void Reload();
  void ShowProblem(const QString& text);
  void MarkSelected(bool claimed);

  std::string dataFile_;
  store::Day today_ = 0;

  QLineEdit* txtSince = nullptr;
  QLineEdit* txtUntil = nullptr;
  QComboBox* cboShow = nullptr;
  QTableView* tblWins = nullptr;
  WinsModel* model_ = nullptr;
  QLabel* lblTotals = nullptr;
  QPlainTextEdit* txtNotes = nullptr;
};
