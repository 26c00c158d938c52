#include "ui/wins/frmWins.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <set>

#include "app/FileText.h"
#include "app/ProblemReport.h"
#include "platform/FileDialog.h"
#include "platform/Messages.h"
#include "platform/Printing.h"
#include "ui/wins/ClaimSheet.h"
#include "ui/wins/WinsModel.h"

frmWins::frmWins(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmWins"));
  setWindowTitle(tr("Wins"));
  setModal(false);
  const auto named = [](auto* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
  };

  // Each label is made before the control it names, so it comes first among the window's
  // children as a screen reader lists them.
  auto* layout = new QVBoxLayout(this);
  auto* lblSince = new QLabel(tr("Playing &since:"), this);
  txtSince = named(new QLineEdit(this), "txtSince");
  txtSince->setPlaceholderText(tr("YYYY-MM-DD, empty for all draws"));
  lblSince->setBuddy(txtSince);
  auto* lblUntil = new QLabel(tr("&until:"), this);
  txtUntil = named(new QLineEdit(this), "txtUntil");
  txtUntil->setPlaceholderText(tr("YYYY-MM-DD, empty for no end"));
  lblUntil->setBuddy(txtUntil);
  auto* cmdSetDates = named(new QPushButton(tr("Set &Dates"), this), "cmdSetDates");
  auto* dates = new QHBoxLayout;
  for (QWidget* widget :
       std::initializer_list<QWidget*>{lblSince, txtSince, lblUntil, txtUntil, cmdSetDates})
    dates->addWidget(widget);
  layout->addLayout(dates);

  auto* lblShow = new QLabel(tr("S&how:"), this);
  cboShow = named(new QComboBox(this), "cboShow");
  cboShow->addItems({tr("All wins"), tr("To claim"), tr("Claimed"), tr("Expired")});
  lblShow->setBuddy(cboShow);
  auto* show = new QHBoxLayout;
  show->addWidget(lblShow);
  show->addWidget(cboShow);
  show->addStretch();
  layout->addLayout(show);

  auto* lblWins = new QLabel(tr("&Wins, soonest deadline first:"), this);
  tblWins = named(new QTableView(this), "tblWins");
  tblWins->setAccessibleName(tr("Wins"));
  model_ = new WinsModel(this);
  tblWins->setModel(model_);
  tblWins->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblWins->setSelectionMode(QAbstractItemView::ExtendedSelection);
  tblWins->setTabKeyNavigation(false);
  tblWins->setWordWrap(false);
  tblWins->verticalHeader()->hide();
  tblWins->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  tblWins->horizontalHeader()->setStretchLastSection(true);
  lblWins->setBuddy(tblWins);
  layout->addWidget(lblWins);
  layout->addWidget(tblWins, 3);

  lblTotals = named(new QLabel(this), "lblTotals");
  lblTotals->setWordWrap(true);
  lblTotals->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  lblTotals->setFocusPolicy(Qt::TabFocus);
  layout->addWidget(lblTotals);

  txtNotes = named(new QPlainTextEdit(this), "txtNotes");
  txtNotes->setAccessibleName(tr("Notes on the wins"));
  txtNotes->setReadOnly(true);
  txtNotes->setTabChangesFocus(true);
  txtNotes->setMaximumHeight(fontMetrics().height() * 5);
  txtNotes->hide();
  layout->addWidget(txtNotes);

  auto* buttons = new QHBoxLayout;
  const auto button = [this, &named, buttons](const char* name, const QString& text,
                                              void (frmWins::*handler)()) {
    auto* made = named(new QPushButton(text, this), name);
    made->setAutoDefault(false);
    buttons->addWidget(made);
    connect(made, &QPushButton::clicked, this, handler);
  };
  button("cmdClaimed", tr("Mark &Claimed"), &frmWins::cmdClaimed_Click);
  button("cmdNotClaimed", tr("Mark &Not Claimed"), &frmWins::cmdNotClaimed_Click);
  button("cmdPrint", tr("&Print Claim Sheet..."), &frmWins::cmdPrint_Click);
  button("cmdPdf", tr("Save Claim Sheet as PD&F..."), &frmWins::cmdPdf_Click);
  button("cmdClose", tr("Cl&ose"), &frmWins::reject);
  layout->addLayout(buttons);

  connect(cmdSetDates, &QPushButton::clicked, this, &frmWins::cmdSetDates_Click);
  connect(cboShow, &QComboBox::currentIndexChanged, this, &frmWins::cboShow_Changed);
  resize(820, 560);
}

void frmWins::Form_Load(const std::string& dataFile, store::Day today) {
  dataFile_ = dataFile;
  today_ = today;
  Reload();
}

void frmWins::Reload() {
  store::Result<check::WinsOfFile> wins = check::LoadWinsOfFile(dataFile_, today_);
  if (!wins) {
    ShowProblem(QString::fromStdString(wins.error().reason));
    model_->SetWins({});
    lblTotals->clear();
    return;
  }
  setWindowTitle(tr("Wins - %1").arg(modPelmora::FileText(dataFile_).section(u'/', -1)));
  txtSince->setText(QString::fromStdString(store::IsoDayText(wins->section.since)));
  txtUntil->setText(QString::fromStdString(store::IsoDayText(wins->section.until)));

  QStringList notes;
  if (wins->draws.empty()) {
    notes << tr("The draw history holds no draws: import the draws the lottery publishes first.");
  }
  for (const std::string& problem : wins->section.problems) {
    notes << tr("Not read from the data file: %1").arg(QString::fromStdString(problem));
  }
  for (const check::LooseMark& loose : wins->wins.LooseMarks()) {
    const store::ClaimMark& mark = wins->section.claims[loose.mark];
    notes << tr("Claimed %1 (%2), no longer a win: %3.")
                 .arg(DayText(mark.claimedOn), QString::fromStdString(mark.key),
                      QString::fromStdString(loose.reason));
  }
  txtNotes->setPlainText(notes.join(u'\n'));
  txtNotes->setVisible(!notes.isEmpty());

  model_->SetWins(std::move(*wins));
  lblTotals->setText(TotalsText());
  lblTotals->setAccessibleName(TotalsText());
  tblWins->resizeColumnsToContents();
  if (model_->rowCount() > 0 && !tblWins->currentIndex().isValid()) {
    tblWins->setCurrentIndex(model_->index(0, 0));
  }
}

QString frmWins::TotalsText() const {
  const check::WinsList& wins = model_->Wins().wins;
  const auto part = [&wins](const QString& name, check::WinState state) {
    return tr("%1: %2, %3.")
        .arg(name, WinsText(wins.Count(state)), QString::fromStdString(wins.Sum(state).Text()));
  };
  QString text = part(tr("To claim"), check::WinState::ToClaim) + u' ' +
                 part(tr("Claimed"), check::WinState::Claimed) + u' ' +
                 part(tr("Expired"), check::WinState::Expired) + u' ' +
                 tr("Won in all: %1, %2.")
                     .arg(WinsText(wins.size()), QString::fromStdString(wins.Sum().Text()));
  const check::WinsList::Due due = wins.DueWithin();
  if (due.wins != 0) {
    text += u' ' + tr("Due within %1 days: %2, the first by %3.")
                       .arg(check::kReminderDays)
                       .arg(WinsText(due.wins), DayText(due.firstDeadline));
  }
  return text;
}

void frmWins::cboShow_Changed() {
  static const std::optional<check::WinState> kFilters[] = {
      std::nullopt, check::WinState::ToClaim, check::WinState::Claimed, check::WinState::Expired};
  const int index = std::clamp(cboShow->currentIndex(), 0, 3);
  model_->SetFilter(kFilters[index]);
  if (model_->rowCount() > 0) {
    tblWins->setCurrentIndex(model_->index(0, 0));
  }
}

void frmWins::cmdSetDates_Click() {
  store::Result<store::Day> since =
      store::ReadPlayingDay("Playing since", txtSince->text().toStdString());
  store::Result<store::Day> until = store::ReadPlayingDay("until", txtUntil->text().toStdString());
  for (const auto* day : {&since, &until}) {
    if (!*day) {
      ShowProblem(QString::fromStdString(day->error().path + ": " + day->error().reason));
      (day == &since ? txtSince : txtUntil)->setFocus();
      return;
    }
  }
  if (store::Result<void> set = store::SetPlayingDays(dataFile_, *since, *until); !set) {
    ShowProblem(QString::fromStdString(set.error().reason));
    return;
  }
  Reload();
}

void frmWins::MarkSelected(bool claimed) {
  std::set<int> rows;
  for (const QModelIndex& index : tblWins->selectionModel()->selectedRows()) {
    rows.insert(index.row());
  }
  if (rows.empty() && tblWins->currentIndex().isValid()) {
    rows.insert(tblWins->currentIndex().row());
  }
  std::vector<store::ClaimMark> marks;
  for (int row : rows) {
    const bool isClaimed = model_->WinAt(row).mark >= 0;
    if (isClaimed != claimed) {
      marks.push_back(model_->MarkFor(row, today_));
    }
  }
  if (marks.empty()) {
    return;
  }
  const int current = tblWins->currentIndex().isValid() ? tblWins->currentIndex().row() : 0;
  if (store::Result<void> set = store::SetClaimed(dataFile_, marks, claimed); !set) {
    ShowProblem(QString::fromStdString(set.error().reason));
    return;
  }
  Reload();
  if (model_->rowCount() > 0) {
    tblWins->setCurrentIndex(model_->index(std::min(current, model_->rowCount() - 1), 0));
  }
}

void frmWins::cmdPrint_Click() {
  const QString html = ClaimSheetHtml(model_->Wins(), modPelmora::FileText(dataFile_));
  platform::Printing::Preview(this, tr("Claim Sheet"),
                              [&html](QPrinter* printer) { PrintClaimSheet(html, printer); });
}

void frmWins::cmdPdf_Click() {
  platform::FileDialogRequest request;
  request.kind = platform::FileDialogKind::Save;
  request.title = tr("Save Claim Sheet as PDF");
  request.filter = {tr("PDF Files (*.pdf)"), QStringLiteral("*.pdf")};
  request.initialName = QStringLiteral("claim-sheet.pdf");
  request.confirmOverwrite = true;
  const QString path = platform::FileDialog::Choose(this, request);
  if (path.isEmpty()) {
    return;
  }
  if (!SaveClaimSheetPdf(ClaimSheetHtml(model_->Wins(), modPelmora::FileText(dataFile_)), path,
                         LocalPaper())) {
    ShowProblem(tr("The claim sheet could not be written to %1.").arg(path));
  }
}

void frmWins::ShowProblem(const QString& text) {
  modPelmora::Tell(this, text, platform::MessageIcon::Warning);
}
