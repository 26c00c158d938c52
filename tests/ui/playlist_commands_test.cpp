#include <QAction>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>

#include "UiFixture.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/widgets/PlayListModel.h"

namespace {

using platform::MessageAnswer;
using Tickets = std::vector<std::string>;

const char kHint[] =
    "Tickets with 3-6 matches are displayed here when you click \"Check Winning Number Against "
    "Play Number (F5)\" in the Numbers menu.";
const char kQuestion[] =
    "You have selected numbers to delete but did not delete them\r\n"
    "with the menu item Numbers|Delete Checked Play Numbers.\r\n"
    "If you continue with adding numbers the numbers you selected\r\n"
    "to delete will not be deleted.\r\n\r\n"
    "Would you like to delete them now?";
const Tickets kFive = {"05-12-19-33-40-52", "01-09-14-27-38-44", "07-08-09-10-11-12",
                       "02-04-06-08-10-12", "11-22-33-44-55-59"};

class PlayListCommandsTest : public UiTest {
 protected:
  frmNumberChecker& StartWith(const Tickets& tickets) {
    WriteDataFile(TicketFileText(tickets));
    frmNumberChecker& form = StartProgram();
    // Start from the results view so each command's switch to the list shows.
    Trigger(form, "mnuMatches");
    TypeResults(form, "Matched: (3) in:05-12-19-33-40-52");
    return form;
  }
  static void Mark(frmNumberChecker& form, std::initializer_list<int> rows) {
    for (int row : rows)
      ::Mark(form, row);
  }
  static std::vector<bool> Marks(const frmNumberChecker& form) {
    std::vector<bool> marks;
    for (int i = 0; i < Plays(form)->Count(); ++i)
      marks.push_back(Plays(form)->IsChecked(i));
    return marks;
  }
  static void ExpectListView(const frmNumberChecker& form) {
    EXPECT_TRUE(Named<QListView>(form, "lstNumbers")->isVisibleTo(&form));
    EXPECT_FALSE(Named<QPlainTextEdit>(form, "txtMatchedTickets")->isVisibleTo(&form));
  }
  bool EntryDialogOpen(const frmNumberChecker& form) const {
    return OpenWindow<frmNumberEntry>() && OpenWindow<frmNumberEntry>()->isVisible() &&
           !form.isVisible() && form.controller().session().entryMode == EntryMode::Plays;
  }
};

TEST_F(PlayListCommandsTest, AddWithoutMarksOpensTheEntryDialogAtOnce) {
  frmNumberChecker& form = StartWith({kFive[0]});
  Trigger(form, "mnuAddPlay");
  EXPECT_TRUE(desktop_.messages.shown.empty());
  EXPECT_TRUE(EntryDialogOpen(form));
  ExpectListView(form);
  EXPECT_EQ(form.centralWidget()->height(), kStandardPixels);
}

TEST_F(PlayListCommandsTest, AddWithMarksAsksOnceAndFollowsTheAnswer) {
  {
    SCOPED_TRACE("Yes deletes the marked tickets, saves, then opens the dialog");
    frmNumberChecker& form = StartWith(kFive);
    Mark(form, {0, 2, 4});
    desktop_.messages.answers = {MessageAnswer::Yes};
    Trigger(form, "mnuAddPlay");
    ASSERT_EQ(desktop_.messages.shown.size(), 1u);
    const platform::MessageRequest& asked = desktop_.messages.shown[0].request;
    EXPECT_EQ(asked.text, kQuestion);
    EXPECT_EQ(asked.title, "VORDANIK Pelmora 2.0");
    EXPECT_EQ(asked.icon, platform::MessageIcon::None);
    EXPECT_EQ(asked.buttons, platform::MessageButtons::YesNoCancel);
    EXPECT_EQ(Plays(form)->Tickets(), (Tickets{kFive[1], kFive[3]}));
    EXPECT_EQ(ReadDataFile(), TicketFileText({kFive[1], kFive[3]}));
    EXPECT_TRUE(EntryDialogOpen(form));
    OpenWindow<frmNumberEntry>()->cmdCancel_Click();
    main_.reset();
  }
  {
    SCOPED_TRACE("No keeps the marks and the file");
    desktop_.messages.shown.clear();
    frmNumberChecker& form = StartWith(kFive);
    Mark(form, {1, 3});
    desktop_.messages.answers = {MessageAnswer::No};
    Trigger(form, "mnuAddPlay");
    EXPECT_EQ(desktop_.messages.shown.size(), 1u);
    EXPECT_EQ(Marks(form), (std::vector<bool>{false, true, false, true, false}));
    EXPECT_EQ(ReadDataFile(), TicketFileText(kFive));
    EXPECT_TRUE(EntryDialogOpen(form));
    OpenWindow<frmNumberEntry>()->cmdCancel_Click();
    main_.reset();
  }
  {
    SCOPED_TRACE("Cancel changes nothing");
    desktop_.messages.shown.clear();
    frmNumberChecker& form = StartWith(kFive);
    Mark(form, {4});
    const int height = form.centralWidget()->height();
    desktop_.messages.answers = {MessageAnswer::Cancel};
    Trigger(form, "mnuAddPlay");
    EXPECT_EQ(desktop_.messages.shown.size(), 1u);
    EXPECT_EQ(Marks(form), (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(ReadDataFile(), TicketFileText(kFive));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(Named<QPlainTextEdit>(form, "txtMatchedTickets")->isVisibleTo(&form))
        << "the view stays as it was";
    EXPECT_EQ(form.centralWidget()->height(), height);
    EXPECT_EQ(OpenWindow<frmNumberEntry>(), nullptr);
    EXPECT_EQ(form.controller().session().entryMode, EntryMode::None);
  }
}

TEST_F(PlayListCommandsTest, DeletingTheFirstTwoOfFiveMovesTheRestDown) {
  frmNumberChecker& form = StartWith(kFive);
  Mark(form, {0, 1});
  Trigger(form, "mnuDeleteChecked");

  EXPECT_EQ(ReadDataFile(),
            Lines({"[Numbers]", "TOTAL=3", "W=03-17-22-35-41-58", "1=07-08-09-10-11-12",
                   "2=02-04-06-08-10-12", "3=11-22-33-44-55-59"}));
  EXPECT_EQ(Plays(form)->Tickets(), (Tickets{kFive[2], kFive[3], kFive[4]}));
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 3 total tickets");
  EXPECT_FALSE(Named<QAction>(form, "mnuDeleteChecked")->isEnabled());
  EXPECT_FALSE(Named<QAction>(form, "mnuSave")->isEnabled());
  ExpectListView(form);
  EXPECT_EQ(form.centralWidget()->height(), kStandardPixels);
  EXPECT_EQ(Named<QPlainTextEdit>(form, "txtMatchedTickets")->toPlainText(), kHint);
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

TEST_F(PlayListCommandsTest, DeletingWithAllOrNoneMarked) {
  frmNumberChecker& form = StartWith({kFive[0], kFive[1]});
  Trigger(form, "mnuDeleteChecked");
  EXPECT_EQ(Plays(form)->Count(), 2);
  EXPECT_EQ(ReadDataFile(), TicketFileText({kFive[0], kFive[1]}));
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 2 total tickets");
  EXPECT_FALSE(Named<QAction>(form, "mnuDeleteChecked")->isEnabled());

  Mark(form, {0, 1});
  Trigger(form, "mnuDeleteChecked");
  EXPECT_EQ(Plays(form)->Count(), 0);
  EXPECT_EQ(ReadDataFile(), Lines({"[Numbers]", "TOTAL=0", "W=03-17-22-35-41-58"}));
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 0 total tickets");
}

TEST_F(PlayListCommandsTest, MarkAllChecksAllUnlessAllAreChecked) {
  frmNumberChecker& empty = StartWith({});
  Trigger(empty, "mnuAll");
  EXPECT_EQ(Plays(empty)->CheckedCount(), 0);
  ExpectListView(empty);
  main_.reset();

  frmNumberChecker& form = StartWith({kFive[0], kFive[1], kFive[2]});
  const std::string before = ReadDataFile();
  Mark(form, {1});
  Trigger(form, "mnuAll");
  EXPECT_EQ(Marks(form), (std::vector<bool>{true, true, true}));
  EXPECT_TRUE(Named<QAction>(form, "mnuDeleteChecked")->isEnabled());
  ExpectListView(form);
  Trigger(form, "mnuAll");
  EXPECT_EQ(Marks(form), (std::vector<bool>{false, false, false}));
  EXPECT_FALSE(Named<QAction>(form, "mnuDeleteChecked")->isEnabled());
  EXPECT_EQ(ReadDataFile(), before) << "marks are never stored";
}

TEST_F(PlayListCommandsTest, CopyPutsEveryTicketAfterALineBreak) {
  frmNumberChecker& form = StartWith({kFive[0], kFive[1], kFive[2]});
  Mark(form, {0, 2});
  desktop_.clipboard.text = "earlier text";
  Trigger(form, "mnuCpyPlays");
  EXPECT_EQ(desktop_.clipboard.text.toStdString(),
            "\r\n" + kFive[0] + "\r\n" + kFive[1] + "\r\n" + kFive[2]);
  EXPECT_EQ(Plays(form)->CheckedCount(), 0);
  EXPECT_FALSE(Named<QAction>(form, "mnuDeleteChecked")->isEnabled());
  ExpectListView(form);
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

TEST_F(PlayListCommandsTest, CopyOfAnEmptyListEmptiesTheClipboardAndSaysSo) {
  frmNumberChecker& form = StartWith({});
  desktop_.clipboard.text = "earlier text";
  Trigger(form, "mnuCpyPlays");
  EXPECT_TRUE(desktop_.clipboard.text.isEmpty());
  ASSERT_EQ(desktop_.messages.shown.size(), 1u);
  EXPECT_EQ(desktop_.messages.shown[0].request.text, "There are no play numbers to copy.");
  EXPECT_EQ(desktop_.messages.shown[0].request.icon, platform::MessageIcon::None);
  EXPECT_EQ(desktop_.messages.shown[0].request.buttons, platform::MessageButtons::Ok);
  ExpectListView(form);
}

TEST_F(PlayListCommandsTest, DeleteIsEnabledWhileAPersonLeavesATicketMarked) {
  frmNumberChecker& form = StartWith({kFive[0], kFive[1]});
  Named<QAction>(form, "mnuDeleteChecked")->setEnabled(false);
  PlayListModel& model = *Plays(form);
  model.setData(model.index(1), Qt::Checked, Qt::CheckStateRole);
  EXPECT_TRUE(Named<QAction>(form, "mnuDeleteChecked")->isEnabled());
  model.setData(model.index(0), Qt::Checked, Qt::CheckStateRole);
  model.setData(model.index(1), Qt::Unchecked, Qt::CheckStateRole);
  EXPECT_TRUE(Named<QAction>(form, "mnuDeleteChecked")->isEnabled());
  model.setData(model.index(0), Qt::Unchecked, Qt::CheckStateRole);
  EXPECT_FALSE(Named<QAction>(form, "mnuDeleteChecked")->isEnabled());
}

}  // namespace
