#include <QAction>
#include <QApplication>
#include <QListView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <ostream>

#include "UiFixture.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/main/PlayListModel.h"

// Failed comparisons show texts, not code units.
static void PrintTo(const QString& text, std::ostream* out) {
  *out << text.toStdString();
}

namespace {

using Tickets = std::vector<std::string>;

const char kWinning[] = "05-12-23-34-45-56";
// Counts 3, 2 and 6 against kWinning.
const Tickets kExample = {"05-12-23-01-02-03", "05-12-40-41-42-43", "56-45-34-23-12-05"};
const QString kExampleResults =
    "Matched: (3) in:05-12-23-01-02-03\r\nMatched: (6) in:56-45-34-23-12-05\r\n";
const QString kSorry = "Sorry, no tickets matched the winning number: \r\n05-12-23-34-45-56";

class CheckTest : public UiTest {
 protected:
  frmNumberChecker& StartWith(const Tickets& tickets, const std::string& winning = kWinning) {
    WriteDataFile(TicketFileText(tickets, winning));
    return StartProgram();
  }

  // Key presses reach the menu shortcuts only in the active window.
  static void Activate(frmNumberChecker& form) {
    form.show();
    QApplication::setActiveWindow(&form);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }

  static void ExpectResultsView(const frmNumberChecker& form) {
    EXPECT_TRUE(form.txtMatchedTickets->isVisibleTo(&form));
    EXPECT_FALSE(form.lstNumbers->isVisibleTo(&form));
    EXPECT_EQ(form.centralWidget()->height(), 201) << "down to the count line";
  }

  void ExpectOneMessage(const QString& text, platform::MessageIcon icon) {
    ASSERT_EQ(desktop_.messages.shown.size(), 1u);
    const platform::MessageRequest& shown = desktop_.messages.shown[0].request;
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.icon, icon);
    EXPECT_EQ(shown.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(shown.title, "VORDANIK Pelmora 2.0");
  }

  bool EntryDialogOpenInMode(const frmNumberChecker& form, std::uint8_t mode) const {
    return forms::NumberEntry() && forms::NumberEntry()->isVisible() && !form.isVisible() &&
           modPelmora::gEntryMode == mode;
  }
};

TEST_F(CheckTest, ReportsInListOrderClearsMarksAndLeavesTheCaretAfterTheLastLine) {
  frmNumberChecker& form = StartWith(kExample);
  const std::string file = ReadDataFile();
  form.mPlays->SetChecked(0, true);
  form.mPlays->SetChecked(2, true);
  form.lstNumbers_Click();
  Activate(form);

  form.mnuCheck_Click();

  EXPECT_EQ(form.ResultsText(), kExampleResults);
  EXPECT_TRUE(desktop_.messages.shown.empty());
  ExpectResultsView(form);
  EXPECT_EQ(form.mPlays->CheckedCount(), 0);
  EXPECT_FALSE(form.mnuDeleteChecked->isEnabled()) << "nothing is left to delete";
  EXPECT_EQ(QApplication::focusWidget(), form.txtMatchedTickets);
  const QTextCursor caret = form.txtMatchedTickets->textCursor();
  EXPECT_TRUE(caret.atEnd());
  EXPECT_FALSE(caret.hasSelection());
  EXPECT_EQ(caret.block().text(), "") << "the caret stands after the final line break";
  EXPECT_TRUE(form.FlashRunning());
  EXPECT_EQ(ReadDataFile(), file) << "a check writes nothing";
  EXPECT_EQ(form.mPlays->Tickets(), kExample);
}

TEST_F(CheckTest, NothingMatchedGivesTheSorryTextAndChecksNeverAccumulate) {
  frmNumberChecker& form = StartWith({"05-12-01-02-03-04", "23-34-01-02-03-04"});
  for (int run = 0; run < 2; ++run) {
    form.mnuCheck_Click();
    EXPECT_EQ(form.ResultsText(), kSorry) << "run " << run;
    ExpectResultsView(form);
  }
  EXPECT_FALSE(form.FlashRunning()) << "the flash is for reported tickets";
  EXPECT_TRUE(desktop_.messages.shown.empty());

  // Reported lines after a sorry text, and again: the box is emptied each time.
  form.SetPlayList(kExample);
  form.mnuCheck_Click();
  form.mnuCheck_Click();
  EXPECT_EQ(form.ResultsText(), kExampleResults);
}

TEST_F(CheckTest, ALongReportIsScrolledToItsEnd) {
  const Tickets all(400, "56-45-34-23-12-05");
  frmNumberChecker& form = StartWith(all);
  Activate(form);
  form.mnuCheck_Click();
  EXPECT_EQ(form.txtMatchedTickets->document()->blockCount(), 401);
  const QScrollBar* bar = form.txtMatchedTickets->verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(CheckTest, EmptyWinningPositionIsReportedFirstAndOpensTheWinningPicker) {
  struct Case {
    const char* winning;
    Tickets tickets;
    int position;
  };
  const Case cases[] = {
      {"00-00-00-00-00-00", kExample, 1},
      {"05-12-00-00-33-41", kExample, 3},
      {"05-12-00-00-33-41", {}, 3},  // before the empty-list message
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.winning);
    frmNumberChecker& form = StartWith(c.tickets, c.winning);
    if (!c.tickets.empty())
      form.mPlays->SetChecked(1, true);
    const QString before = form.ResultsText();
    const bool listShown = form.lstNumbers->isVisibleTo(&form);

    form.mnuCheck_Click();

    ExpectOneMessage(QStringLiteral("Error in winning number position: %1.  Reason: 00 is not "
                                    "valid as a possible winning number.")
                         .arg(c.position),
                     platform::MessageIcon::Information);
    EXPECT_TRUE(EntryDialogOpenInMode(form, modPelmora::kEntryWinning));
    EXPECT_EQ(form.ResultsText(), before);
    EXPECT_EQ(form.lstNumbers->isVisibleTo(&form), listShown);
    if (!c.tickets.empty()) {
      EXPECT_TRUE(form.mPlays->IsChecked(1)) << "marks stay";
    }

    forms::UnloadAll();
    main_.reset();
    Flush();
    desktop_.messages.shown.clear();
  }
}

TEST_F(CheckTest, EmptyListAsksForTicketsAndOpensTheEntryDialog) {
  frmNumberChecker& form = StartWith({});
  form.mnuCheck_Click();
  ExpectOneMessage(QStringLiteral("Enter at least one play number before checking to see if you "
                                  "have a winning number match."),
                   platform::MessageIcon::Information);
  EXPECT_TRUE(EntryDialogOpenInMode(form, modPelmora::kEntryPlays));
  EXPECT_EQ(form.ResultsText(), modPelmora::kHintText);
  EXPECT_TRUE(form.lstNumbers->isVisibleTo(&form));
  EXPECT_FALSE(form.txtMatchedTickets->isVisibleTo(&form));
  EXPECT_EQ(form.centralWidget()->height(), 201);
}

TEST_F(CheckTest, CopyTakesTheWholeBoxWithCrLfWhateverItHolds) {
  frmNumberChecker& form = StartWith({});
  desktop_.clipboard.text = "older";
  form.mnuCopy_Click();
  EXPECT_EQ(desktop_.clipboard.text, modPelmora::kHintText) << "right after start-up";
  EXPECT_EQ(desktop_.clipboard.clears, 1);
  ExpectResultsView(form);

  form.SetPlayList(kExample);
  form.mnuCheck_Click();
  // A selection in the box does not narrow the copy.
  QTextCursor part = form.txtMatchedTickets->textCursor();
  part.setPosition(3);
  part.setPosition(9, QTextCursor::KeepAnchor);
  form.txtMatchedTickets->setTextCursor(part);
  form.mnuCopy_Click();
  EXPECT_EQ(desktop_.clipboard.text, kExampleResults);

  form.SetPlayList({"01-02-03-04-05-06"});
  form.mnuCheck_Click();
  form.mnuCopy_Click();
  EXPECT_EQ(desktop_.clipboard.text, kSorry);

  form.SetResultsText("typed\r\nby hand");
  form.mnuViewAll_Click();
  form.mnuCopy_Click();
  EXPECT_EQ(desktop_.clipboard.text, "typed\r\nby hand");
  ExpectResultsView(form);

  form.SetResultsText(QString());
  form.mnuCopy_Click();
  EXPECT_EQ(desktop_.clipboard.text, "");
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

TEST_F(CheckTest, MatchedViewBringsBackTheLastResultsWithoutANewCheck) {
  frmNumberChecker& form = StartWith(kExample);
  form.mnuCheck_Click();
  form.mnuViewAll_Click();
  form.SetPlayList({"01-02-03-04-05-06"});  // a new check would now say sorry
  form.mnuMatches_Click();
  EXPECT_EQ(form.ResultsText(), kExampleResults);
  ExpectResultsView(form);
}

// Real key presses with the focus in the results box after a check: the menu shortcuts act
// there, not the box's own editing keys.
TEST_F(CheckTest, MenuShortcutsWinOverTheResultsBox) {
  frmNumberChecker& form = StartWith(kExample);
  Activate(form);
  QTest::keyClick(form.focusWidget() ? form.focusWidget() : &form, Qt::Key_F5);
  ASSERT_EQ(form.ResultsText(), kExampleResults) << "F5 runs the check";
  ASSERT_EQ(QApplication::focusWidget(), form.txtMatchedTickets);

  auto pressInBox = [&](QAction* action, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    form.mnuCheck_Click();
    QWidget* box = QApplication::focusWidget();
    EXPECT_EQ(box, form.txtMatchedTickets);
    QSignalSpy spy(action, &QAction::triggered);
    QTest::keyClick(box, key, modifiers);
    return spy.count();
  };

  // Copy: the whole results, though a part of them is selected.
  form.mnuCheck_Click();
  form.txtMatchedTickets->selectAll();
  desktop_.clipboard.text.clear();
  QTest::keyClick(form.txtMatchedTickets, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(desktop_.clipboard.text, kExampleResults);

  EXPECT_EQ(pressInBox(form.mnuCheck, Qt::Key_F5, Qt::NoModifier), 1);
  EXPECT_EQ(pressInBox(form.mnuCopy, Qt::Key_C, Qt::ControlModifier), 1);
  EXPECT_EQ(pressInBox(form.mnuCpyPlays, Qt::Key_P, Qt::ControlModifier), 1);
  EXPECT_EQ(pressInBox(form.mnuAll, Qt::Key_A, Qt::ControlModifier), 1);
  EXPECT_FALSE(form.txtMatchedTickets->textCursor().hasSelection()) << "the box kept Ctrl+A";

  // Delete runs its command while a ticket is marked; with none marked the command is off and
  // the key edits the box.
  form.mnuCheck_Click();
  form.mPlays->SetChecked(0, true);
  form.lstNumbers_Click();
  {
    QSignalSpy spy(form.mnuDeleteChecked, &QAction::triggered);
    QTest::keyClick(form.txtMatchedTickets, Qt::Key_Delete);
    EXPECT_EQ(spy.count(), 1);
  }
  form.mnuCheck_Click();
  form.mPlays->SetChecked(0, true);
  form.lstNumbers_Click();
  {
    QSignalSpy spy(form.mnuDeleteChecked, &QAction::triggered);
    QTest::keyClick(form.txtMatchedTickets, Qt::Key_Delete, Qt::KeypadModifier);
    EXPECT_EQ(spy.count(), 1) << "the number pad's Delete";
  }
  form.SetPlayList(kExample);
  form.mnuCheck_Click();
  form.txtMatchedTickets->moveCursor(QTextCursor::Start);
  {
    QSignalSpy spy(form.mnuDeleteChecked, &QAction::triggered);
    QTest::keyClick(form.txtMatchedTickets, Qt::Key_Delete);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(form.ResultsText(), kExampleResults.mid(1));
  }

  // The two commands that leave the main window for the entry dialog.
  EXPECT_EQ(pressInBox(form.mnuWinning, Qt::Key_W, Qt::ControlModifier), 1);
  EXPECT_TRUE(EntryDialogOpenInMode(form, modPelmora::kEntryWinning));
  forms::UnloadNumberEntry();
  Flush();
  Activate(form);
  EXPECT_EQ(pressInBox(form.mnuAddPlay, Qt::Key_Insert, Qt::ControlModifier), 1);
  EXPECT_TRUE(EntryDialogOpenInMode(form, modPelmora::kEntryPlays));
  EXPECT_EQ(form.ResultsText(), kExampleResults) << "no key reached the box";
}

}  // namespace
