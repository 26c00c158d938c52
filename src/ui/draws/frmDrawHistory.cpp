#include "ui/draws/frmDrawHistory.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <numeric>

#include "app/FileText.h"
#include "app/ProblemReport.h"
#include "app/modPelmora.h"
#include "platform/FileDialog.h"
#include "platform/Messages.h"
#include "store/AtomicFile.h"
#include "store/PlayNumber.h"
#include "store/TicketFile.h"
#include "ui/draws/DrawTableModel.h"
#include "ui/entry/WinningNumberSave.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/wins/WinsChart.h"
#include "ui/wins/WinsReminder.h"

using modPelmora::Tell;

namespace {

// Refusals and conflicts listed in a message before "and N more".
constexpr std::size_t kListed = 15;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

QTableView* MakeTable(QWidget* parent, const char* name, QAbstractItemModel* model,
                      const QString& accessibleName) {
  auto* view = new QTableView(parent);
  view->setObjectName(QString::fromLatin1(name));
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the table for the next control; the arrow keys move within it.
  view->setTabKeyNavigation(false);
  view->setWordWrap(false);
  view->setAlternatingRowColors(true);
  // Rows of one height that is never measured: thousands of draws show at once.
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
  view->verticalHeader()->hide();
  view->horizontalHeader()->setStretchLastSection(true);
  view->setAccessibleName(accessibleName);
  return view;
}

QLabel* Caption(QWidget* parent, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

QPushButton* Button(frmDrawHistory* parent, const char* name, const QString& caption,
                    void (frmDrawHistory::*handler)()) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, parent, handler);
  return button;
}

QString TicketOf(const store::Draw& draw) {
  store::PlayFields fields;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    fields[k] = store::TwoDigitField(draw.balls[k]);
  }
  return Text(store::JoinPlayNumber(fields));
}

QString DrawName(const store::Draw& draw) {
  QString name = Text(store::DrawDayText(draw.date));
  if (draw.number != 0) {
    name += QStringLiteral(" (%1)").arg(draw.number);
  }
  return name + QStringLiteral(": ") + TicketOf(draw) +
         (draw.bonus != 0 ? QStringLiteral(" bonus %1").arg(draw.bonus) : QString());
}

}  // namespace

frmDrawHistory::frmDrawHistory(const std::string& dataFile, ChangeNotes& notes, QWidget* parent)
    : QDialog(parent), dataFile_(dataFile), notes_(notes), historyFile_(store::DrawHistoryPath()) {
  setObjectName(QStringLiteral("frmDrawHistory"));
  setWindowTitle(tr("Draw History"));
  setAttribute(Qt::WA_DeleteOnClose);

  draws_ = new DrawTableModel(this);
  wins_ = new TextTableModel({tr("Ticket"), tr("Numbers"), tr("Tier"), tr("Prize")}, this);
  totals_ = new TextTableModel({tr("Tier"), tr("Wins"), tr("Prize"), tr("Won")}, this);

  txtFrom = new QLineEdit(this);
  txtFrom->setObjectName(QStringLiteral("txtFrom"));
  txtFrom->setPlaceholderText(tr("first draw"));
  txtTo = new QLineEdit(this);
  txtTo->setObjectName(QStringLiteral("txtTo"));
  txtTo->setPlaceholderText(tr("last draw"));
  auto* cmdShow = Button(this, "cmdShow", tr("&Show"), &frmDrawHistory::cmdShow_Click);
  grdDraws = MakeTable(this, "grdDraws", draws_, tr("Draws"));
  grdWins = MakeTable(this, "grdWins", wins_, tr("Winning tickets in the selected draw"));
  auto* grdTotals = MakeTable(this, "grdTotals", totals_, tr("Totals over the draws shown"));
  lblTotal = new QLabel(this);
  lblTotal->setObjectName(QStringLiteral("lblTotal"));
  lblTotal->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  auto* cmdImport = Button(this, "cmdImport", tr("&Import..."), &frmDrawHistory::cmdImport_Click);
  cmdWinning =
      Button(this, "cmdWinning", tr("Make Winning &Number"), &frmDrawHistory::cmdWinning_Click);
  auto* cmdPrizes = Button(this, "cmdPrizes", tr("&Prizes..."), &frmDrawHistory::cmdPrizes_Click);
  auto* cmdClose = Button(this, "cmdClose", tr("&Close"), &frmDrawHistory::reject);

  auto* range = new QHBoxLayout;
  range->addWidget(Caption(this, tr("&From:"), txtFrom));
  range->addWidget(txtFrom);
  range->addWidget(Caption(this, tr("&To:"), txtTo));
  range->addWidget(txtTo);
  range->addWidget(cmdShow);
  range->addStretch();
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {cmdImport, cmdWinning, cmdPrizes})
    buttons->addWidget(button);
  buttons->addStretch();
  buttons->addWidget(cmdClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(range);
  layout->addWidget(Caption(this, tr("&Draws:"), grdDraws));
  layout->addWidget(grdDraws, 3);
  layout->addWidget(Caption(this, tr("&Winning tickets in the selected draw:"), grdWins));
  layout->addWidget(grdWins, 2);
  layout->addWidget(Caption(this, tr("T&otals over the draws shown:"), grdTotals));
  layout->addWidget(grdTotals, 2);
  layout->addWidget(lblTotal);
  chrWins = new WinsChart(this);
  chrWins->setObjectName(QStringLiteral("chrWins"));
  layout->addWidget(chrWins, 2);
  layout->addLayout(buttons);
  resize(780, 640);

  for (int column = DrawTableModel::Day; column < DrawTableModel::Wins; ++column) {
    grdDraws->setColumnWidth(column, column == DrawTableModel::Day ? 100 : 52);
  }
  grdWins->setColumnWidth(1, 160);

  connect(txtFrom, &QLineEdit::returnPressed, this, &frmDrawHistory::cmdShow_Click);
  connect(txtTo, &QLineEdit::returnPressed, this, &frmDrawHistory::cmdShow_Click);
  connect(grdDraws->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &frmDrawHistory::ShowWinsOfSelectedDraw);
}

frmDrawHistory::~frmDrawHistory() = default;

void frmDrawHistory::Form_Load() {
  const store::Result<check::PrizeTable> prizes = check::LoadPrizeTable(check::PrizeTablePath());
  prizes_ = prizes ? *prizes : check::DefaultPrizeTable();
  if (!dataFile_.empty()) {
    tickets_ = store::ReadAllTickets(dataFile_).tickets;
  }
  sets_ = std::make_unique<check::TicketBallSets>(tickets_);
  LoadHistory();
  ShowRange(0, 0);
  grdDraws->setFocus(Qt::OtherFocusReason);
}

void frmDrawHistory::LoadHistory() {
  store::Result<store::DrawsRead> read = store::ReadDrawHistory(historyFile_);
  if (!read) {
    modPelmora::ReportProblem(this, read.error(), tr("The draw history could not be read."));
    history_.clear();
    return;
  }
  history_ = std::move(read->draws);
}

void frmDrawHistory::ShowRange(store::DrawDay from, store::DrawDay to) {
  const check::DrawSpan span = check::DrawsBetween(history_, from, to);
  std::vector<store::Draw> shown(history_.begin() + static_cast<std::ptrdiff_t>(span.first),
                                 history_.begin() + static_cast<std::ptrdiff_t>(span.last));
  check::RangeWins wins = check::CountWins(*sets_, shown);
  std::vector<QStringList> totals;
  for (const check::Tier tier : check::kWinningTiers) {
    const std::uint64_t count = wins.total[static_cast<std::size_t>(tier)];
    check::PrizeSum sum;
    sum.Add(prizes_, tier, count);
    totals.push_back({Text(std::string(check::TierName(tier))), QString::number(count),
                      Text(check::PrizeText(prizes_, tier)), Text(sum.Text())});
  }
  totals_->SetRows(std::move(totals));
  if (shown.empty()) {
    lblTotal->setText(history_.empty() ? tr("The draw history holds no draws: import the file "
                                            "your lottery publishes.")
                                       : tr("No draws between those days."));
  } else {
    lblTotal->setText(tr("%1 draws from %2 to %3: %4 wins, prizes %5")
                          .arg(shown.size())
                          .arg(Text(store::DrawDayText(shown.back().date)),
                               Text(store::DrawDayText(shown.front().date)))
                          .arg(std::accumulate(wins.total.begin(), wins.total.end(), 0ull))
                          .arg(Text(check::PrizesOf(prizes_, wins.total).Text())));
  }
  chrWins->SetBars(BarsOf(shown, wins.perDraw));
  draws_->SetDraws(std::move(shown), std::move(wins.perDraw), prizes_);
  cmdWinning->setEnabled(draws_->rowCount() > 0 && !dataFile_.empty());
  if (draws_->rowCount() > 0) {
    grdDraws->setCurrentIndex(draws_->index(0, 0));
  } else {
    wins_->SetRows({});
  }
}

int frmDrawHistory::SelectedRow() const {
  const QModelIndex current = grdDraws->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void frmDrawHistory::ShowWinsOfSelectedDraw() {
  const int row = SelectedRow();
  std::vector<QStringList> rows;
  if (row >= 0) {
    sets_->ForEachWin(draws_->DrawAt(row), [&](std::size_t t, check::Tier tier) {
      rows.push_back({QString::number(t + 1), Text(std::string(tickets_[t])),
                      Text(std::string(check::TierName(tier))),
                      Text(check::PrizeText(prizes_, tier))});
    });
  }
  wins_->SetRows(std::move(rows));
}

void frmDrawHistory::cmdShow_Click() {
  store::DrawDay days[2] = {0, 0};
  QLineEdit* boxes[2] = {txtFrom, txtTo};
  for (int i = 0; i < 2; ++i) {
    const QString text = boxes[i]->text().trimmed();
    if (text.isEmpty()) {
      continue;
    }
    days[i] = store::ParseDrawDay(text.toStdString());
    if (days[i] == 0) {
      Tell(this, tr("\"%1\" is not a day such as 2026-02-18 or 18-Feb-2026.").arg(text),
           platform::MessageIcon::Warning);
      boxes[i]->setFocus(Qt::OtherFocusReason);
      boxes[i]->selectAll();
      return;
    }
  }
  ShowRange(days[0], days[1]);
}

void frmDrawHistory::cmdImport_Click() {
  platform::FileDialogRequest request;
  request.kind = platform::FileDialogKind::Open;
  request.title = tr("Import Draws");
  request.filter = {tr("Draw Files (*.csv *.txt)"), QStringLiteral("*.csv *.txt"),
                    tr("All Files (*.*)"), QStringLiteral("*")};
  request.mustExist = true;
  const QString path = platform::FileDialog::Choose(this, request);
  if (!path.isEmpty()) {
    ImportDrawsFile(path);
  }
}

void frmDrawHistory::ImportDrawsFile(const QString& path) {
  const store::Result<store::FileContents> file = store::ReadWholeFile(modPelmora::PathBytes(path));
  if (!file || !file->exists) {
    modPelmora::ReportProblem(
        this, file ? store::Problem{modPelmora::PathBytes(path), "No such file"} : file.error(),
        tr("The draws file could not be read."));
    return;
  }
  const store::DrawsRead read = store::ReadDraws(file->bytes);
  const QString name = modPelmora::FileText(modPelmora::PathBytes(path));
  if (read.refusedCount != 0) {
    QString text = tr("%1 of %2 were refused:").arg(read.refusedCount).arg(name) + "\r\n";
    for (std::size_t i = 0; i < read.refused.size() && i < kListed; ++i) {
      text +=
          tr("line %1: %2").arg(read.refused[i].line).arg(Text(read.refused[i].reason)) + "\r\n";
    }
    if (read.refusedCount > kListed) {
      text += tr("and %1 more.").arg(read.refusedCount - kListed) + "\r\n";
    }
    if (read.draws.empty()) {
      Tell(this, text + "\r\n" + tr("Nothing was imported."), platform::MessageIcon::Warning);
      return;
    }
    text += "\r\n" +
            tr("Keep the %1 good rows, and leave out the refused ones?").arg(read.draws.size());
    const platform::MessageAnswer answer = platform::Messages::Show(
        this, {text, modPelmora::AppTitle(), platform::MessageIcon::Warning,
               platform::MessageButtons::YesNo});
    if (answer != platform::MessageAnswer::Yes) {
      return;
    }
  } else if (read.draws.empty()) {
    Tell(this, tr("%1 holds no draws.").arg(name), platform::MessageIcon::Warning);
    return;
  }
  store::Result<store::DrawMerge> merge = store::AddToDrawHistory(historyFile_, read.draws, false);
  if (!merge) {
    modPelmora::ReportProblem(this, merge.error(), tr("The draw history could not be saved."));
    return;
  }
  std::size_t replaced = 0;
  if (!merge->conflicts.empty()) {
    QString text =
        tr("%1 draws differ from the ones stored:").arg(merge->conflicts.size()) + "\r\n";
    std::vector<store::Draw> incoming;
    for (std::size_t i = 0; i < merge->conflicts.size(); ++i) {
      const store::DrawConflict& conflict = merge->conflicts[i];
      incoming.push_back(conflict.incoming);
      if (i < kListed) {
        text += tr("stored %1, in the file %2")
                    .arg(DrawName(conflict.stored), DrawName(conflict.incoming)) +
                "\r\n";
      }
    }
    if (merge->conflicts.size() > kListed) {
      text += tr("and %1 more.").arg(merge->conflicts.size() - kListed) + "\r\n";
    }
    text += "\r\n" + tr("Replace the stored draws with the file's?");
    const platform::MessageAnswer answer = platform::Messages::Show(
        this, {text, modPelmora::AppTitle(), platform::MessageIcon::Warning,
               platform::MessageButtons::YesNo});
    if (answer == platform::MessageAnswer::Yes) {
      const store::Result<store::DrawMerge> again =
          store::AddToDrawHistory(historyFile_, incoming, true);
      if (!again) {
        modPelmora::ReportProblem(this, again.error(), tr("The draw history could not be saved."));
      } else {
        replaced = again->replaced;
      }
    }
  }
  LoadHistory();
  cmdShow_Click();
  RemindOfWins(dataFile_);
  Tell(this,
       tr("Imported %1: %2 added, %3 unchanged, %4 conflicting (%5 replaced), %6 refused.")
           .arg(name)
           .arg(merge->added)
           .arg(merge->unchanged)
           .arg(merge->conflicts.size())
           .arg(replaced)
           .arg(read.refusedCount),
       platform::MessageIcon::Information);
}

void frmDrawHistory::cmdWinning_Click() {
  const int row = SelectedRow();
  if (row < 0 || dataFile_.empty()) {
    return;
  }
  const QString ticket = TicketOf(draws_->DrawAt(row));
  if (StoreWinningNumber(this, notes_, dataFile_, ticket.toStdString())) {
    emit winningNumberSaved(ticket);
  }
}

void frmDrawHistory::cmdPrizes_Click() {
  frmPrizeTable* prizes = OpenPrizeTable(this);
  connect(prizes, &QDialog::accepted, this, [this] {
    const store::Result<check::PrizeTable> read = check::LoadPrizeTable(check::PrizeTablePath());
    prizes_ = read ? *read : check::DefaultPrizeTable();
    cmdShow_Click();
  });
}

frmPrizeTable* OpenPrizeTable(QWidget* parent) {
  auto* prizes = new frmPrizeTable(parent);
  prizes->setAttribute(Qt::WA_DeleteOnClose);
  prizes->setWindowModality(Qt::WindowModal);
  prizes->Form_Load();
  ShowOnTop(prizes);
  return prizes;
}

frmPrizeTable::frmPrizeTable(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmPrizeTable"));
  setWindowTitle(tr("Prize Table"));
  auto* form = new QFormLayout;
  const std::array<std::pair<check::Tier, QString>, 6> captions = {
      {{check::Tier::Six, tr("&Jackpot (6):")},
       {check::Tier::FiveAndBonus, tr("5 + &bonus:")},
       {check::Tier::Five, tr("&5:")},
       {check::Tier::Four, tr("&4:")},
       {check::Tier::Three, tr("&3:")},
       {check::Tier::Two, tr("&2:")}}};
  for (const auto& [tier, caption] : captions) {
    static constexpr std::array<const char*, check::kTierCount> kNames = {
        "", "txtAmount2", "txtAmount3", "txtAmount4", "txtAmount5", "txtAmount5b", "txtAmount6"};
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(kNames[static_cast<std::size_t>(tier)]));
    txtAmounts[static_cast<std::size_t>(tier)] = box;
    form->addRow(caption, box);
  }
  txtDays = new QLineEdit(this);
  txtDays->setObjectName(QStringLiteral("txtDays"));
  form->addRow(tr("&Days to claim:"), txtDays);
  auto* note = new QLabel(tr("Amounts in pounds; leave one empty for the jackpot or a free "
                             "ticket."),
                          this);
  note->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &frmPrizeTable::cmdOK_Click);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(note);
  layout->addWidget(buttons);
}

void frmPrizeTable::Form_Load() {
  const store::Result<check::PrizeTable> read = check::LoadPrizeTable(check::PrizeTablePath());
  const check::PrizeTable prizes = read ? *read : check::DefaultPrizeTable();
  for (const check::Tier tier : check::kWinningTiers) {
    QLineEdit* box = AmountBox(tier);
    const std::optional<check::Money>& amount = prizes.Amount(tier);
    box->setText(amount ? Text(check::MoneyText(*amount)) : QString());
    check::PrizeTable none;
    box->setPlaceholderText(Text(check::PrizeText(none, tier)));
  }
  txtDays->setText(QString::number(prizes.daysToClaim));
  AmountBox(check::Tier::Six)->setFocus(Qt::OtherFocusReason);
}

void frmPrizeTable::cmdOK_Click() {
  check::PrizeTable prizes;
  for (const check::Tier tier : check::kWinningTiers) {
    QLineEdit* box = AmountBox(tier);
    const QString text = box->text().trimmed();
    if (text.isEmpty()) {
      continue;
    }
    prizes.Amount(tier) = check::ParseMoney(text.toStdString());
    if (!prizes.Amount(tier)) {
      Tell(this, tr("\"%1\" is not an amount of money.").arg(text), platform::MessageIcon::Warning);
      box->setFocus(Qt::OtherFocusReason);
      box->selectAll();
      return;
    }
  }
  bool number = false;
  prizes.daysToClaim = txtDays->text().trimmed().toInt(&number);
  if (!number || prizes.daysToClaim < 1 || prizes.daysToClaim > 3660) {
    Tell(this, tr("The days to claim must be a number from 1 to 3660."),
         platform::MessageIcon::Warning);
    txtDays->setFocus(Qt::OtherFocusReason);
    txtDays->selectAll();
    return;
  }
  const store::Result<void> saved = check::SavePrizeTable(check::PrizeTablePath(), prizes);
  if (!saved) {
    modPelmora::ReportProblem(this, saved.error(), tr("The prize table could not be saved."));
    return;
  }
  accept();
}
