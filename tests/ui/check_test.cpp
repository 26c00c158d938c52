#include <QAction>
#include <QApplication>
#include <QListView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <ostream>

#include "UiFixture.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/widgets/PlayListModel.h"

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
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }

  static void ExpectResultsView(const frmNumberChecker& form) {
    EXPECT_TRUE(Named<QPlainTextEdit>(form, "txtMatchedTickets")->isVisibleTo(&form));
    EXPECT_FALSE(Named<QListView>(form, "lstNumbers")->isVisibleTo(&form));
    EXPECT_EQ(form.centralWidget()->height(), kStandardPixels) << "down to the count line";
  }

  void ExpectOneMessage(const QString& text, platform::MessageIcon icon) {
    ASSERT_EQ(desktop_.messages.shown.size(), 1u);
    const platform::MessageRequest& shown = desktop_.messages.shown[0].request;
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.icon, icon);
    EXPECT_EQ(shown.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(shown.title, "VORDANIK Pelmora 2.0");
  }

  bool EntryDialogOpenInMode(const frmNumberChecker& form, EntryMode mode) const {
    return OpenWindow<frmNumberEntry>() && OpenWindow<frmNumberEntry>()->isVisible() &&
           !form.isVisible() && form.controller().session().entryMode == mode;
  }
};

TEST_F(CheckTest, ReportsInListOrderClearsMarksAndLeavesTheCaretAfterTheLastLine) {
  frmNumberChecker& form = StartWith(kExample);
  const std::string file = ReadDataFile();
  Mark(form, 0);
  Mark(form, 2);
  Activate(form);

  Trigger(form, "mnuCheck");

  EXPECT_EQ(ResultsText(form), kExampleResults);
  EXPECT_TRUE(desktop_.messages.shown.empty());
  ExpectResultsView(form);
  EXPECT_EQ(Plays(form)->CheckedCount(), 0);
  EXPECT_FALSE(Named<QAction>(form, "mnuDeleteChecked")->isEnabled())
      << "nothing is left to delete";
  EXPECT_EQ(QApplication::focusWidget(), Named<QPlainTextEdit>(form, "txtMatchedTickets"));
  const QTextCursor caret = Named<QPlainTextEdit>(form, "txtMatchedTickets")->textCursor();
  EXPECT_TRUE(caret.atEnd());
  EXPECT_FALSE(caret.hasSelection());
  QTextCursor caretLine = caret;
  caretLine.movePosition(QTextCursor::StartOfLine, QTextCursor::KeepAnchor);
  EXPECT_EQ(caretLine.selectedText(), "") << "the caret stands after the final line break";
  QTextCursor lineEnd = caret;
  lineEnd.movePosition(QTextCursor::PreviousCharacter);
  const auto* box = Named<QPlainTextEdit>(form, "txtMatchedTickets");
  EXPECT_GT(box->cursorRect(caret).top(), box->cursorRect(lineEnd).top()) << "on a line of its own";
  EXPECT_TRUE(Named<QTimer>(form, "Timer1")->isActive());
  EXPECT_EQ(ReadDataFile(), file) << "a check writes nothing";
  EXPECT_EQ(Plays(form)->Tickets(), kExample);
}

TEST_F(CheckTest, NothingMatchedGivesTheSorryTextAndChecksNeverAccumulate) {
  frmNumberChecker& form = StartWith({"05-12-01-02-03-04", "23-34-01-02-03-04"});
  for (int run = 0; run < 2; ++run) {
    Trigger(form, "mnuCheck");
    EXPECT_EQ(ResultsText(form), kSorry) << "run " << run;
    ExpectResultsView(form);
  }
  EXPECT_FALSE(Named<QTimer>(form, "Timer1")->isActive()) << "the flash is for reported tickets";
  EXPECT_TRUE(desktop_.messages.shown.empty());

  // Reported lines after a sorry text, and again: the box is emptied each time.
  ReplaceTickets(kExample);
  Trigger(form, "mnuCheck");
  Trigger(form, "mnuCheck");
  EXPECT_EQ(ResultsText(form), kExampleResults);
}

TEST_F(CheckTest, ALongReportIsScrolledToItsEnd) {
  const Tickets all(400, "56-45-34-23-12-05");
  frmNumberChecker& form = StartWith(all);
  Activate(form);
  Trigger(form, "mnuCheck");
  EXPECT_EQ(Named<QPlainTextEdit>(form, "txtMatchedTickets")->toPlainText().count(u'\n'), 400);
  const QScrollBar* bar = Named<QPlainTextEdit>(form, "txtMatchedTickets")->verticalScrollBar();
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
      Plays(form)->SetChecked(1, true);
    const QString before = ResultsText(form);
    const bool listShown = Named<QListView>(form, "lstNumbers")->isVisibleTo(&form);

    Trigger(form, "mnuCheck");

    ExpectOneMessage(QStringLiteral("Error in winning number position: %1.  Reason: 00 is not "
                                    "valid as a possible winning number.")
                         .arg(c.position),
                     platform::MessageIcon::Information);
    EXPECT_TRUE(EntryDialogOpenInMode(form, EntryMode::Winning));
    EXPECT_EQ(ResultsText(form), before);
    EXPECT_EQ(Named<QListView>(form, "lstNumbers")->isVisibleTo(&form), listShown);
    if (!c.tickets.empty()) {
      EXPECT_TRUE(Plays(form)->IsChecked(1)) << "marks stay";
    }

    main_.reset();
    Flush();
    desktop_.messages.shown.clear();
  }
}

TEST_F(CheckTest, EmptyListAsksForTicketsAndOpensTheEntryDialog) {
  frmNumberChecker& form = StartWith({});
  Trigger(form, "mnuCheck");
  ExpectOneMessage(QStringLiteral("Enter at least one play number before checking to see if you "
                                  "have a winning number match."),
                   platform::MessageIcon::Information);
  EXPECT_TRUE(EntryDialogOpenInMode(form, EntryMode::Plays));
  EXPECT_EQ(ResultsText(form), modPelmora::kHintText);
  EXPECT_TRUE(Named<QListView>(form, "lstNumbers")->isVisibleTo(&form));
  EXPECT_FALSE(Named<QPlainTextEdit>(form, "txtMatchedTickets")->isVisibleTo(&form));
  EXPECT_EQ(form.centralWidget()->height(), kStandardPixels);
}

TEST_F(CheckTest, CopyTakesTheWholeBoxWithCrLfWhateverItHolds) {
  frmNumberChecker& form = StartWith({});
  desktop_.clipboard.text = "older";
  Trigger(form, "mnuCopy");
  EXPECT_EQ(desktop_.clipboard.text, modPelmora::kHintText) << "right after start-up";
  EXPECT_EQ(desktop_.clipboard.clears, 1);
  ExpectResultsView(form);

  ReplaceTickets(kExample);
  Trigger(form, "mnuCheck");
  // A selection in the box does not narrow the copy.
  QTextCursor part = Named<QPlainTextEdit>(form, "txtMatchedTickets")->textCursor();
  part.setPosition(3);
  part.setPosition(9, QTextCursor::KeepAnchor);
  Named<QPlainTextEdit>(form, "txtMatchedTickets")->setTextCursor(part);
  Trigger(form, "mnuCopy");
  EXPECT_EQ(desktop_.clipboard.text, kExampleResults);

  ReplaceTickets({"01-02-03-04-05-06"});
  Trigger(form, "mnuCheck");
  Trigger(form, "mnuCopy");
  EXPECT_EQ(desktop_.clipboard.text, kSorry);

  TypeResults(form, "typed\nby hand");
  Trigger(form, "mnuViewAll");
  Trigger(form, "mnuCopy");
  EXPECT_EQ(desktop_.clipboard.text, "typed\r\nby hand");
  ExpectResultsView(form);

  TypeResults(form, QString());
  Trigger(form, "mnuCopy");
  EXPECT_EQ(desktop_.clipboard.text, "");
  EXPECT_TRUE(desktop_.messages.shown.empty());

  // Whatever a person typed or pasted: line and paragraph separators, no-break spaces, letters
  // beyond ASCII. The box's plain text goes with CR LF line ends.
  for (const QString& typed :
       {QStringLiteral("line\n"), QStringLiteral("\n\n"),
        QString::fromUtf8("Zürich\u00A0€ \U0001F600\u2028second\u2029third")}) {
    TypeResults(form, typed);
    Trigger(form, "mnuCopy");
    QString expected = Named<QPlainTextEdit>(form, "txtMatchedTickets")->toPlainText();
    EXPECT_EQ(desktop_.clipboard.text, expected.replace('\n', "\r\n")) << typed.toStdString();
  }
}

TEST_F(CheckTest, MatchedViewBringsBackTheLastResultsWithoutANewCheck) {
  frmNumberChecker& form = StartWith(kExample);
  Trigger(form, "mnuCheck");
  Trigger(form, "mnuViewAll");
  ReplaceTickets({"01-02-03-04-05-06"});  // a new check would now say sorry
  Trigger(form, "mnuMatches");
  EXPECT_EQ(ResultsText(form), kExampleResults);
  ExpectResultsView(form);
}

// Real key presses with the focus in the results box after a check: the menu shortcuts act
// there, not the box's own editing keys.
TEST_F(CheckTest, MenuShortcutsWinOverTheResultsBox) {
  frmNumberChecker& form = StartWith(kExample);
  Activate(form);
  QTest::keyClick(form.focusWidget() ? form.focusWidget() : &form, Qt::Key_F5);
  ASSERT_EQ(ResultsText(form), kExampleResults) << "F5 runs the check";
  ASSERT_EQ(QApplication::focusWidget(), Named<QPlainTextEdit>(form, "txtMatchedTickets"));

  auto pressInBox = [&](QAction* action, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    Trigger(form, "mnuCheck");
    QWidget* box = QApplication::focusWidget();
    EXPECT_EQ(box, Named<QPlainTextEdit>(form, "txtMatchedTickets"));
    QSignalSpy spy(action, &QAction::triggered);
    QTest::keyClick(box, key, modifiers);
    return spy.count();
  };

  // Copy: the whole results, though a part of them is selected.
  Trigger(form, "mnuCheck");
  Named<QPlainTextEdit>(form, "txtMatchedTickets")->selectAll();
  desktop_.clipboard.text.clear();
  QTest::keyClick(Named<QPlainTextEdit>(form, "txtMatchedTickets"), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(desktop_.clipboard.text, kExampleResults);

  EXPECT_EQ(pressInBox(Named<QAction>(form, "mnuCheck"), Qt::Key_F5, Qt::NoModifier), 1);
  EXPECT_EQ(pressInBox(Named<QAction>(form, "mnuCopy"), Qt::Key_C, Qt::ControlModifier), 1);
  EXPECT_EQ(pressInBox(Named<QAction>(form, "mnuCpyPlays"), Qt::Key_P, Qt::ControlModifier), 1);
  EXPECT_EQ(pressInBox(Named<QAction>(form, "mnuAll"), Qt::Key_A, Qt::ControlModifier), 1);
  EXPECT_FALSE(Named<QPlainTextEdit>(form, "txtMatchedTickets")->textCursor().hasSelection())
      << "the box kept Ctrl+A";

  // Delete runs its command while a ticket is marked; with none marked the command is off and
  // the key edits the box.
  Trigger(form, "mnuCheck");
  Mark(form, 0);
  {
    QSignalSpy spy(Named<QAction>(form, "mnuDeleteChecked"), &QAction::triggered);
    QTest::keyClick(Named<QPlainTextEdit>(form, "txtMatchedTickets"), Qt::Key_Delete);
    EXPECT_EQ(spy.count(), 1);
  }
  Trigger(form, "mnuCheck");
  Mark(form, 0);
  {
    QSignalSpy spy(Named<QAction>(form, "mnuDeleteChecked"), &QAction::triggered);
    QTest::keyClick(Named<QPlainTextEdit>(form, "txtMatchedTickets"), Qt::Key_Delete,
                    Qt::KeypadModifier);
    EXPECT_EQ(spy.count(), 1) << "the number pad's Delete";
  }
  ReplaceTickets(kExample);
  Trigger(form, "mnuCheck");
  Named<QPlainTextEdit>(form, "txtMatchedTickets")->moveCursor(QTextCursor::Start);
  {
    QSignalSpy spy(Named<QAction>(form, "mnuDeleteChecked"), &QAction::triggered);
    QTest::keyClick(Named<QPlainTextEdit>(form, "txtMatchedTickets"), Qt::Key_Delete);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(ResultsText(form), kExampleResults.mid(1));
  }

  // The two commands that leave the main window for the entry dialog.
  EXPECT_EQ(pressInBox(Named<QAction>(form, "mnuWinning"), Qt::Key_W, Qt::ControlModifier), 1);
  EXPECT_TRUE(EntryDialogOpenInMode(form, EntryMode::Winning));
  OpenWindow<frmNumberEntry>()->cmdCancel_Click();
  Flush();
  Activate(form);
  EXPECT_EQ(pressInBox(Named<QAction>(form, "mnuAddPlay"), Qt::Key_Insert, Qt::ControlModifier), 1);
  EXPECT_TRUE(EntryDialogOpenInMode(form, EntryMode::Plays));
  EXPECT_EQ(ResultsText(form), kExampleResults) << "no key reached the box";
}

// However the results box came to show, the keys go to it: none reaches the hidden play list,
// where Down and Space would mark tickets nobody sees for the next Delete.
TEST_F(CheckTest, KeysTypedWhileTheResultsShowMarkNoTicket) {
  const std::pair<Tickets, const char*> ways[] = {
      {kExample, "mnuCheck"},
      {{"05-12-01-02-03-04", "23-34-01-02-03-04"}, "mnuCheck"},
      {kExample, "mnuCopy"},
      {kExample, "mnuMatches"}};
  for (const auto& [tickets, command] : ways) {
    SCOPED_TRACE(command + std::to_string(tickets.size()));
    frmNumberChecker& form = StartWith(tickets);
    Activate(form);
    Trigger(form, command);
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space})
      QTest::keyClick(form.windowHandle(), key);
    EXPECT_EQ(Plays(form)->CheckedCount(), 0);
    EXPECT_EQ(QApplication::focusWidget(), Named<QPlainTextEdit>(form, "txtMatchedTickets"));
    main_.reset();
    Flush();
  }
}

}  // namespace
