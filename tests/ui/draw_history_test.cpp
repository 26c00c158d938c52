#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <optional>

#include "UiFixture.h"
#include "VersionsHome.h"
#include "check/PrizeTable.h"
#include "store/DrawHistory.h"
#include "ui/draws/DrawTableModel.h"
#include "ui/draws/frmDrawHistory.h"

namespace {

using platform::MessageAnswer;

constexpr char kPublished[] =
    "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,Ball Set,Machine,DrawNumber\r\n"
    "18-Feb-2026,1,11,12,13,18,49,33,L10,Lotto4,3147\r\n"
    "14-Feb-2026,3,7,21,40,44,59,2,,,3146\r\n"
    "11-Oct-2025,11,17,25,31,51,54,53,,,3110\r\n"
    "08-Oct-2025,11,17,25,31,51,54,54,,,3107\r\n";

class DrawHistoryTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    home_.emplace(PathIn("data"));
    WriteDataFile(TicketFileText({"01-11-12-13-18-33", "01-11-40-41-42-43", "03-07-21-40-44-59"}));
  }
  void TearDown() override {
    std::remove(check::PrizeTablePath().c_str());
    home_.reset();
    UiTest::TearDown();
  }

  frmDrawHistory& Open() {
    frmNumberChecker& form = StartProgram();
    Named<QAction>(form, "mnuDrawHistory")->trigger();
    frmDrawHistory* window = OpenWindow<frmDrawHistory>();
    EXPECT_NE(window, nullptr);
    return *window;
  }

  // Imports `bytes` through the window's button and the file dialog.
  void Import(frmDrawHistory& window, const std::string& bytes,
              std::initializer_list<MessageAnswer> answers) {
    const std::string path = PathIn("draws.csv");
    WriteFile(path, bytes);
    desktop_.files.answers.push_back(QString::fromStdString(path));
    for (const MessageAnswer answer : answers) {
      desktop_.messages.answers.push_back(answer);
    }
    Named<QPushButton>(window, "cmdImport")->click();
  }

  static QString Cell(const QAbstractItemModel& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
  }
  // The model of the table `name`: grdDraws, grdWins or grdTotals.
  static const QAbstractItemModel& Table(frmDrawHistory& window, const char* name) {
    return *Named<QTableView>(window, name)->model();
  }

  std::optional<test_support::VersionsHome> home_;
};

TEST_F(DrawHistoryTest, ImportKeepsTheGoodRowsOnRequestAndShowsTheDrawsNewestFirst) {
  frmDrawHistory& window = Open();
  EXPECT_EQ(Table(window, "grdDraws").rowCount(), 0);
  Import(window, kPublished, {MessageAnswer::Yes});
  ASSERT_GE(desktop_.messages.shown.size(), 2u);
  EXPECT_TRUE(desktop_.messages.shown[0].request.text.contains(
      "line 5: the bonus ball 54 is one of the six"));
  EXPECT_TRUE(desktop_.messages.shown.back().request.text.endsWith(
      "3 added, 0 unchanged, 0 conflicting (0 replaced), 1 refused."));

  const QAbstractItemModel& draws = Table(window, "grdDraws");
  const QStringList headers = {"Date",   "Draw",   "Ball 1", "Ball 2", "Ball 3", "Ball 4",
                               "Ball 5", "Ball 6", "Bonus",  "Wins",   "Prizes"};
  ASSERT_EQ(draws.columnCount(), headers.size());
  for (int column = 0; column < headers.size(); ++column) {
    EXPECT_EQ(draws.headerData(column, Qt::Horizontal).toString(), headers[column]);
  }
  ASSERT_EQ(draws.rowCount(), 3);
  const QStringList first = {"18-Feb-2026",
                             "3147",
                             "1",
                             "11",
                             "12",
                             "13",
                             "18",
                             "49",
                             "33",
                             "2",
                             "\u00A3"
                             "1,000,000 + 1 free ticket"};
  for (int column = 0; column < first.size(); ++column) {
    EXPECT_EQ(Cell(draws, 0, column), first[column]) << column;
  }
  EXPECT_EQ(Cell(draws, 2, DrawTableModel::Day), "11-Oct-2025");

  // The selected draw's winners, and the totals over every draw.
  ASSERT_EQ(Table(window, "grdWins").rowCount(), 2);
  EXPECT_EQ(Cell(Table(window, "grdWins"), 0, 2), "5 + bonus");
  EXPECT_EQ(Cell(Table(window, "grdWins"), 1, 3), "Free ticket");
  EXPECT_EQ(Cell(Table(window, "grdTotals"), 0, 0), "6");
  EXPECT_EQ(Cell(Table(window, "grdTotals"), 0, 1), "1");
  EXPECT_EQ(Named<QLabel>(window, "lblTotal")->text(),
            "3 draws from 11-Oct-2025 to 18-Feb-2026: 3 wins, prizes "
            "\u00A3"
            "1,000,000 + 1 jackpot + 1 free ticket");

  // A range of days.
  Named<QLineEdit>(window, "txtFrom")->setText("2026-01-01");
  Named<QLineEdit>(window, "txtTo")->setText("15-Feb-2026");
  Named<QPushButton>(window, "cmdShow")->click();
  ASSERT_EQ(draws.rowCount(), 1);
  EXPECT_EQ(Cell(draws, 0, DrawTableModel::Number), "3146");
}

TEST_F(DrawHistoryTest, ConflictIsKeptUnlessReplacedAndDrawBecomesTheWinningNumber) {
  frmDrawHistory& window = Open();
  Import(window, kPublished, {MessageAnswer::Yes});
  Import(window, "2026-02-18,1,11,12,13,18,50,33\n", {MessageAnswer::No});
  EXPECT_EQ(Cell(Table(window, "grdDraws"), 0, DrawTableModel::Ball1 + 5), "49");
  Import(window, "2026-02-18,1,11,12,13,18,50,33\n", {MessageAnswer::Yes});
  EXPECT_EQ(Cell(Table(window, "grdDraws"), 0, DrawTableModel::Ball1 + 5), "50");

  Named<QPushButton>(window, "cmdWinning")->click();
  EXPECT_NE(ReadDataFile().find("W=01-11-12-13-18-50"), std::string::npos);
  EXPECT_EQ(WinningBox(*main_, 6)->text(), "50");
}

TEST_F(DrawHistoryTest, PrizeTableKeepsAmountsAndRefusesWhatIsNoAmount) {
  frmNumberChecker& form = StartProgram();
  Named<QAction>(form, "mnuPrizes")->trigger();
  frmPrizeTable* prizes = OpenWindow<frmPrizeTable>();
  ASSERT_NE(prizes, nullptr);
  EXPECT_EQ(prizes->AmountBox(check::Tier::Six)->placeholderText(), "Jackpot");
  EXPECT_EQ(prizes->AmountBox(check::Tier::Three)->text(),
            "\u00A3"
            "30");
  prizes->AmountBox(check::Tier::Three)->setText("thirty");
  prizes->cmdOK_Click();
  EXPECT_TRUE(prizes->isVisible());
  prizes->AmountBox(check::Tier::Three)->setText("45");
  prizes->AmountBox(check::Tier::Six)->setText("2,500,000");
  prizes->cmdOK_Click();
  EXPECT_FALSE(prizes->isVisible());
  const store::Result<check::PrizeTable> kept = check::LoadPrizeTable(check::PrizeTablePath());
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->Amount(check::Tier::Three), 4500);
  EXPECT_EQ(kept->Amount(check::Tier::Six), 250000000);
}

}  // namespace
