// The Wins window on a real data file and draw history: its table as a view and a screen reader
// see it, marking wins claimed, the claim sheet as a PDF read back as text, the figures of
// the chart of the Draw History window, and the reminder through the notification service's
// stand-in.
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "UiFixture.h"
#include "platform/doubles/ScopedNotifications.h"
#include "platform/doubles/ScopedPrinting.h"
#include "store/DrawHistory.h"
#include "store/WinsSection.h"
#include "ui/wins/WinsChart.h"
#include "ui/wins/WinsModel.h"
#include "ui/wins/WinsReminder.h"
#include "ui/wins/frmWins.h"

namespace {

constexpr store::Day kToday = 20260610;

class WinsWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    history_ = store::DrawHistoryPath();
    QDir().mkpath(QString::fromStdString(history_).section(u'/', 0, -2));
    WriteFile(history_,
              "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,Ball Set,Machine,"
              "DrawNumber\n"
              "18-Feb-2026,1,11,12,13,18,49,33,L10,Lotto4,3147\n"
              "03-Jan-2026,2,3,4,5,6,7,8,,,3134\n"
              "04-Jan-2025,1,11,40,41,42,43,9,,,3030\n");
    WriteDataFile(TicketFileText({"01-11-12-13-18-49", "02-03-04-05-06-59", "01-11-20-21-22-23",
                                  "50-51-52-53-54-55"}) +
                  "[Wins]\r\nClaim.3030.1=2025-02-01,2025-01-04,01-11-12-13-18-49\r\n"
                  "Claim.2999.4=2024-01-01,2024-01-01,50-51-52-53-54-55\r\n");
    StartProgram();
    Trigger(*main_, "mnuWins");
    wins_ = main_->findChild<frmWins*>();
    ASSERT_NE(wins_, nullptr);
    wins_->Form_Load(CurrentFile(), kToday);
  }
  void TearDown() override {
    std::remove(history_.c_str());
    UiTest::TearDown();
  }
  QString Cell(int row, int column) const {
    return wins_->Model()->index(row, column).data().toString();
  }
  QStringList Row(int row) const {
    QStringList cells;
    for (int c = 0; c < WinsModel::ColumnCount; ++c) {
      cells << Cell(row, c);
    }
    return cells;
  }
  static QString PdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(20000)) {
      return QStringLiteral("pdftotext did not run");
    }
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
  }

  std::string history_;
  frmWins* wins_ = nullptr;
};

TEST_F(WinsWindowTest, TableWithHeadersSoonestDeadlineFirst) {
  const WinsModel* model = wins_->Model();
  QStringList headers;
  for (int c = 0; c < WinsModel::ColumnCount; ++c) {
    headers << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
  }
  EXPECT_EQ(headers.join(u','), "Deadline,State,Draw,Date,Ticket,Numbers,Tier,Prize");
  ASSERT_EQ(model->rowCount(), 5);
  EXPECT_EQ(Row(0).join(u','), "2026-07-02,to claim,3134,2026-01-03,2,02-03-04-05-06-59,5,£1,750");
  EXPECT_EQ(Row(1).join(u','), "2026-08-17,to claim,3147,2026-02-18,1,01-11-12-13-18-49,6,Jackpot");
  EXPECT_EQ(Row(3).join(u','),
            "2025-07-03,claimed 2025-02-01,3030,2025-01-04,1,01-11-12-13-18-49,2,Free ticket");
  EXPECT_EQ(Row(4)[1], "expired");

  auto* table = Named<QTableView>(*wins_, "tblWins");
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(table);
  ASSERT_NE(access, nullptr);
  EXPECT_EQ(access->role(), QAccessible::Table);
  ASSERT_NE(access->tableInterface(), nullptr);
  EXPECT_EQ(access->tableInterface()->columnCount(), WinsModel::ColumnCount);
  EXPECT_EQ(access->tableInterface()->rowCount(), 5);

  auto* notes = Named<QWidget>(*wins_, "txtNotes");
  EXPECT_FALSE(notes->isHidden()) << "the mark of draw 2999 is shown as a mark without a win";
}

TEST_F(WinsWindowTest, AFileNameNotInUtf8ShowsItsLettersInTheTitle) {
  const std::string latin1 = PathIn("caf\xE9.pmd");
  WriteFile(latin1, ReadDataFile());
  wins_->Form_Load(latin1, kToday);
  EXPECT_EQ(wins_->windowTitle(), QStringLiteral("Wins - caf\u00E9.pmd"));
  std::remove(latin1.c_str());
}

TEST_F(WinsWindowTest, MarkClaimedFiltersAndTotals) {
  auto* show = Named<QComboBox>(*wins_, "cboShow");
  show->setCurrentIndex(1);  // to claim
  ASSERT_EQ(wins_->Model()->rowCount(), 3);
  auto* table = Named<QTableView>(*wins_, "tblWins");
  table->selectRow(0);
  Named<QPushButton>(*wins_, "cmdClaimed")->click();
  EXPECT_NE(ReadDataFile().find("Claim.3134.2=2026-06-10,2026-01-03,02-03-04-05-06-59\r\n"),
            std::string::npos);
  EXPECT_EQ(wins_->Model()->rowCount(), 2);
  EXPECT_EQ(Named<QLabel>(*wins_, "lblTotals")->text(),
            "To claim: 2 wins, 1 jackpot + 1 free ticket. Claimed: 2 wins, £1,750 + 1 free "
            "ticket. Expired: 1 win, 1 free ticket. Won in all: 5 wins, £1,750 + 1 jackpot + 3 "
            "free tickets.");

  show->setCurrentIndex(2);  // claimed
  table->selectRow(0);
  Named<QPushButton>(*wins_, "cmdNotClaimed")->click();
  EXPECT_EQ(ReadDataFile().find("Claim.3134.2"), std::string::npos);
  EXPECT_EQ(wins_->Model()->rowCount(), 1);
}

TEST_F(WinsWindowTest, KeyboardOnly) {
  wins_->show();
  wins_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(wins_));
  auto* table = Named<QTableView>(*wins_, "tblWins");
  QTest::keyClick(wins_, Qt::Key_W, Qt::AltModifier);  // the table's label
  ASSERT_EQ(QApplication::focusWidget(), table);
  QTest::keyClick(table, Qt::Key_Down);
  QTest::keyClick(table, Qt::Key_C, Qt::AltModifier);  // Mark Claimed, pressed for a moment
  EXPECT_TRUE(QTest::qWaitFor([this] {
    return ReadDataFile().find("Claim.3147.1=2026-06-10,2026-02-18,01-11-12-13-18-49") !=
           std::string::npos;
  }));
  QTest::keyClick(wins_, Qt::Key_H, Qt::AltModifier);  // Show
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  EXPECT_EQ(Named<QComboBox>(*wins_, "cboShow")->currentIndex(), 1);
  EXPECT_EQ(wins_->Model()->rowCount(), 2);
}

TEST_F(WinsWindowTest, ClaimSheetAsPdfOnA4AndInThePreviewOnLetter) {
  const QString pdf = QString::fromStdString(PathIn("sheet.pdf"));
  desktop_.files.answers.push_back(pdf);
  Named<QPushButton>(*wins_, "cmdPdf")->click();
  const QString text = PdfText(pdf);
  EXPECT_TRUE(text.contains("Wins to claim")) << text.toStdString();
  EXPECT_TRUE(
      text.contains("As of 2026-06-10: 3 wins to claim, £1,750 + 1 jackpot + 1 free ticket."))
      << text.toStdString();
  EXPECT_TRUE(text.contains("3134 2026-01-03 2 02-03-04-05-06-59 5 £1,750 2026-07-02"))
      << text.toStdString();
  EXPECT_TRUE(text.contains("3147 2026-02-18 3 01-11-20-21-22-23 2 Free ticket 2026-08-17"))
      << text.toStdString();
  EXPECT_FALSE(text.contains("3030")) << "claimed and expired wins are not on the sheet";

  platform::ScopedPrinting printing;
  printing.pdfPath = QString::fromStdString(PathIn("letter.pdf"));
  printing.paper = QPageSize::Letter;
  Named<QPushButton>(*wins_, "cmdPrint")->click();
  EXPECT_EQ(printing.titles, QStringList{"Claim Sheet"});
  EXPECT_TRUE(PdfText(printing.pdfPath).contains("01-11-12-13-18-49 6 Jackpot 2026-08-17"));
}

TEST_F(WinsWindowTest, DrawHistoryChartFiguresForScreenReaders) {
  wins_->close();
  Trigger(*main_, "mnuDrawHistory");
  const auto* chart = main_->findChild<WinsChart*>("chrWins");
  ASSERT_NE(chart, nullptr);
  ASSERT_EQ(chart->Bars().size(), 3u);
  EXPECT_EQ(chart->Bars().front().day, 20250104);  // oldest on the left
  EXPECT_EQ(chart->FiguresText(),
            "3 draws with wins from 2025-01-04 to 2026-02-18: 5 wins (6: 1, 5 + bonus: 0, 5: 1, "
            "4: 0, 3: 0, 2: 3). Most in one draw: 2, on 2025-01-04.");
  EXPECT_EQ(chart->accessibleDescription(), chart->FiguresText());
}

TEST_F(WinsWindowTest, ReminderNamesHowManyAndTheFirstDeadline) {
  platform::ScopedNotifications notifications;
  EXPECT_EQ(RemindOfWins(CurrentFile(), kToday).wins, 1u);
  ASSERT_EQ(notifications.shown.size(), 1u);
  EXPECT_EQ(notifications.shown[0].body, "1 win to claim within 30 days, the first by 2026-07-02.");
  // Outside the window nothing is sent; without a service nothing is shown and nothing fails.
  EXPECT_EQ(RemindOfWins(CurrentFile(), 20260501).wins, 0u);
  notifications.running = false;
  EXPECT_EQ(RemindOfWins(CurrentFile(), 20260720).wins, 2u);
  EXPECT_EQ(notifications.shown.size(), 1u);
}

}  // namespace
