// Leaving and saving from the entry dialog: Save/Next, Done in both modes, Cancel, Esc, and the
// refusals that keep the data file whole.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "FileSizeLimit.h"
#include "UiFixture.h"
#include "store/AtomicFile.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/widgets/PlayListModel.h"

namespace {

const char kPartialQuestion[] =
    "Partial entry not saved.  If you want to save this play number\r\n"
    "you must enter all 6 numbers then click Save/Next.\r\n"
    "Continue without saving?";

class EntrySaveTest : public UiTest {
 protected:
  frmNumberEntry& Open(EntryMode mode) {
    if (!main_)
      StartProgram();
    Trigger(*main_, mode == EntryMode::Winning ? "mnuWinning" : "mnuAddPlay");
    return *OpenWindow<frmNumberEntry>();
  }
  static void Click(frmNumberEntry& dialog, std::initializer_list<int> numbers) {
    for (int n : numbers)
      NumberBox(dialog, n)->click();
  }
  // Keys go where the desktop sends them: to the widget that has the focus.
  static void Press(frmNumberEntry& dialog, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, key, mods);
  }
  static void TabTo(frmNumberEntry& dialog, QWidget* target, bool backwards = false) {
    for (int i = 0; i < 70 && dialog.focusWidget() != target; ++i)
      Press(dialog, Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    ASSERT_EQ(dialog.focusWidget(), target);
  }
  void ExpectBackInMain() {
    EXPECT_EQ(OpenWindow<frmNumberEntry>(), nullptr);
    EXPECT_TRUE(main_->isVisible());
    Flush();
  }
  QStringList WinningBoxes() const {
    QStringList texts;
    for (int k = 1; k <= 6; ++k)
      texts << WinningBox(*main_, k)->text();
    return texts;
  }
  QString Message(std::size_t i) const { return desktop_.messages.shown.at(i).request.text; }

  const std::string fourTickets_ =
      Lines({"[Numbers]", "TOTAL=4", "W=00-00-00-00-00-00", "1=01-02-03-04-05-06",
             "2=07-08-09-10-11-12", "3=13-14-15-16-17-18", "4=19-20-21-22-23-24"});
  // fourTickets_ after one Save/Next of 03-17-22-41-08-55.
  const std::string fiveTickets_ = Lines(
      {"[Numbers]", "TOTAL=5", "W=00-00-00-00-00-00", "1=01-02-03-04-05-06", "2=07-08-09-10-11-12",
       "3=13-14-15-16-17-18", "4=19-20-21-22-23-24", "5=03-17-22-41-08-55"});
};

TEST_F(EntrySaveTest, KeyboardAloneSavesATicketIntoANewFileAndSetsTheWinningNumber) {
  frmNumberEntry& plays = Open(EntryMode::Plays);
  ASSERT_EQ(plays.focusWidget(), Named<QPushButton>(plays, "cmdDone"));
  const int picks[] = {3, 17, 22, 41, 8, 55};
  for (int n : picks) {
    TabTo(plays, NumberBox(plays, n));
    Press(plays, Qt::Key_Space);
  }
  ASSERT_EQ(plays.focusWidget(), Named<QPushButton>(plays, "cmdNext"));
  Press(plays, Qt::Key_Return);
  EXPECT_EQ(ReadDataFile(),
            Lines({"[Numbers]", "TOTAL=1", "W=00-00-00-00-00-00", "1=03-17-22-41-08-55"}));
  EXPECT_EQ(Named<QLabel>(plays, "lblticketnumber")->text(), "2");
  EXPECT_EQ(Named<QLabel>(plays, "lbltotaltickets")->text(), "1");
  EXPECT_EQ(Named<QLabel>(plays, "Label1")->text(), "00-00-00-00-00-00");
  EXPECT_EQ(plays.windowTitle(), "You have picked 0 of 6 numbers.");
  EXPECT_FALSE(Named<QPushButton>(plays, "cmdNext")->isEnabled());
  EXPECT_TRUE(NumberBox(plays, 59)->isEnabled());
  EXPECT_EQ(plays.focusWidget(), NumberBox(plays, 1));
  EXPECT_EQ(Plays(*main_)->Count(), 0) << "the main list waits for Done";
  Press(plays, Qt::Key_Escape);  // Esc is Done here
  ExpectBackInMain();
  EXPECT_EQ(Plays(*main_)->Count(), 1);

  frmNumberEntry& winning = Open(EntryMode::Winning);
  Press(winning, Qt::Key_Tab);
  EXPECT_EQ(winning.focusWidget(), Named<QPushButton>(winning, "cmdCancel"));
  for (int n = 1; n <= 6; ++n) {
    Press(winning, Qt::Key_Tab);
    Press(winning, Qt::Key_Space);
  }
  TabTo(winning, Named<QPushButton>(winning, "cmdDone"), /*backwards=*/true);
  Press(winning, Qt::Key_Enter, Qt::KeypadModifier);
  ExpectBackInMain();
  EXPECT_EQ(ReadDataFile(),
            Lines({"[Numbers]", "TOTAL=1", "W=01-02-03-04-05-06", "1=03-17-22-41-08-55"}));
  EXPECT_EQ(WinningBoxes(), QStringList({"01", "02", "03", "04", "05", "06"}));
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

TEST_F(EntrySaveTest, SavesFollowTheCountInTheFileAndDoneListsEveryTicket) {
  WriteDataFile(fourTickets_);
  frmNumberEntry& dialog = Open(EntryMode::Plays);
  EXPECT_EQ(Named<QLabel>(dialog, "lblticketnumber")->text(), "5");
  Click(dialog, {3, 17, 22, 41, 8, 55});
  dialog.cmdNext_Click();
  EXPECT_EQ(ReadDataFile(), fiveTickets_);
  EXPECT_EQ(Named<QLabel>(dialog, "lblticketnumber")->text(), "6");
  EXPECT_EQ(Named<QLabel>(dialog, "lbltotaltickets")->text(), "5");
  // The file is the store of record: a count changed behind the dialog decides the next key.
  WriteDataFile(Lines({"[Numbers]", "TOTAL=6"}));
  Click(dialog, {59, 1, 30, 2, 40, 3});
  dialog.cmdNext_Click();
  EXPECT_EQ(ReadDataFile(), Lines({"[Numbers]", "TOTAL=7", "7=59-01-30-02-40-03"}));
  EXPECT_EQ(Named<QLabel>(dialog, "lblticketnumber")->text(), "8");

  TypeResults(*main_, "stale results");
  dialog.cmdDone_Click();
  EXPECT_TRUE(desktop_.messages.shown.empty()) << "nothing picked: nothing to ask";
  ExpectBackInMain();
  ASSERT_EQ(Plays(*main_)->Count(), 7);
  EXPECT_EQ(Plays(*main_)->Tickets()[6], "59-01-30-02-40-03");
  EXPECT_EQ(Named<QLabel>(*main_, "lbltotaltickets")->text(), "There are 7 total tickets");
  EXPECT_TRUE(Named<QPlainTextEdit>(*main_, "txtMatchedTickets")
                  ->toPlainText()
                  .startsWith("Tickets with 3-6 matches"));
}

TEST_F(EntrySaveTest, DoneWithUnsavedPicksAsksAndNoKeepsThePicks) {
  WriteDataFile(fourTickets_);
  frmNumberEntry& dialog = Open(EntryMode::Plays);
  Click(dialog, {4, 9, 16});
  desktop_.messages.answers = {platform::MessageAnswer::No, platform::MessageAnswer::Yes};
  dialog.close();  // a close request from the desktop acts as Esc, which is Done here
  ASSERT_EQ(desktop_.messages.shown.size(), 1u);
  EXPECT_EQ(Message(0), kPartialQuestion);
  EXPECT_EQ(desktop_.messages.shown[0].request.buttons, platform::MessageButtons::YesNo);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), "04-09-16-00-00-00");

  Click(dialog, {20, 25, 30});  // six picks not yet saved are asked about too; Yes drops them
  dialog.cmdDone_Click();
  ASSERT_EQ(desktop_.messages.shown.size(), 2u);
  ExpectBackInMain();
  EXPECT_EQ(ReadDataFile(), fourTickets_);
  EXPECT_EQ(Plays(*main_)->Count(), 4);
}

TEST_F(EntrySaveTest, WinningModeRefusesAnEmptyPositionAndCancelWritesNothing) {
  WriteDataFile(Lines({"[Numbers]", "TOTAL=0", "W=03-17-22-35-41-58"}));
  const std::string before = ReadDataFile();
  frmNumberEntry& dialog = Open(EntryMode::Winning);
  dialog.cmdClear_Click();
  Click(dialog, {5, 12});
  dialog.cmdDone_Click();
  ASSERT_EQ(desktop_.messages.shown.size(), 1u);
  EXPECT_EQ(Message(0), "05-12-00-00-00-00 Can't contain 00");
  EXPECT_EQ(OpenWindow<frmNumberEntry>(), &dialog);
  Click(dialog, {1, 2, 3, 4});
  Press(dialog, Qt::Key_Escape);  // Esc is Cancel here
  ExpectBackInMain();
  EXPECT_EQ(ReadDataFile(), before);
  EXPECT_EQ(WinningBoxes(), QStringList({"03", "17", "22", "35", "41", "58"}));
}

TEST_F(EntrySaveTest, SaveRefusesACountItCannotTrustAndWritesNothing) {
  const std::vector<std::pair<std::string, const char*>> cases = {
      {"W=00-00-00-00-00-00",
       "The ticket count (TOTAL) is missing, so the number of the next ticket is not known."},
      {"TOTAL=two",
       "The ticket count (TOTAL) \"two\" is not a number, so the number of the next ticket is "
       "not known."},
      {"TOTAL=40000", "The ticket count (TOTAL) 40000 is outside 0 to 32767."},
      {"TOTAL=-2", "The ticket count (TOTAL) -2 is outside 0 to 32767."},
      {"TOTAL=32767", "The file already holds 32767 play numbers, the most a data file can hold."},
  };
  for (const auto& [countLine, reason] : cases) {
    desktop_.messages.shown.clear();
    const std::string bytes = Lines({"[Numbers]", countLine.c_str(), "1=01-02-03-04-05-06"});
    WriteDataFile(bytes);
    frmNumberEntry& dialog = Open(EntryMode::Plays);
    Click(dialog, {11, 12, 13, 14, 15, 16});
    dialog.cmdNext_Click();
    ASSERT_EQ(desktop_.messages.shown.size(), 1u) << countLine;
    EXPECT_EQ(Message(0), QString("The play number was not saved.\n\nFile: %1\nReason: %2")
                              .arg(QString::fromStdString(DataFilePath()), reason));
    EXPECT_EQ(ReadDataFile(), bytes) << countLine;
    EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), "11-12-13-14-15-16");
    desktop_.messages.answers = {platform::MessageAnswer::Yes};  // leave the picks unsaved
    dialog.cmdDone_Click();
    main_.reset();
  }
  WriteDataFile(Lines({"[Numbers]", "TOTAL=32766"}));  // the last ticket that fits
  frmNumberEntry& dialog = Open(EntryMode::Plays);
  Click(dialog, {1, 2, 3, 4, 5, 6});
  dialog.cmdNext_Click();
  EXPECT_EQ(ReadDataFile(), Lines({"[Numbers]", "TOTAL=32767", "32767=01-02-03-04-05-06"}));
}

TEST_F(EntrySaveTest, AFailedWriteIsReportedAndEverythingStaysForAnotherTry) {
  WriteDataFile(fourTickets_);
  frmNumberEntry& plays = Open(EntryMode::Plays);
  Click(plays, {3, 17, 22, 41, 8, 55});
  {
    const test_support::FileSizeLimit failing(0);
    plays.cmdNext_Click();
  }
  ASSERT_EQ(desktop_.messages.shown.size(), 1u);
  EXPECT_EQ(Message(0),
            QString("The data file could not be saved.\n\nFile: %1\nReason: File too large")
                .arg(QString::fromStdString(DataFilePath())));
  EXPECT_EQ(ReadDataFile(), fourTickets_);
  EXPECT_EQ(Named<QLabel>(plays, "Label1")->text(), "03-17-22-41-08-55");
  EXPECT_EQ(Named<QLabel>(plays, "lblticketnumber")->text(), "5");
  EXPECT_EQ(Named<QLabel>(plays, "lbltotaltickets")->text(), "4");
  EXPECT_TRUE(Named<QPushButton>(plays, "cmdNext")->isEnabled());
  plays.cmdNext_Click();
  EXPECT_EQ(ReadDataFile(), fiveTickets_);
  plays.cmdDone_Click();
  Flush();

  frmNumberEntry& winning = Open(EntryMode::Winning);
  Click(winning, {7, 14, 21, 28, 35, 42});
  {
    const test_support::FileSizeLimit failing(0);
    winning.cmdDone_Click();
  }
  ASSERT_EQ(desktop_.messages.shown.size(), 2u);
  EXPECT_EQ(OpenWindow<frmNumberEntry>(), &winning);
  EXPECT_EQ(Named<QLabel>(winning, "Label1")->text(), "07-14-21-28-35-42");
  EXPECT_EQ(WinningBoxes(), QStringList({"00", "00", "00", "00", "00", "00"}));
  winning.cmdDone_Click();
  ExpectBackInMain();
  EXPECT_EQ(WinningBoxes(), QStringList({"07", "14", "21", "28", "35", "42"}));
  EXPECT_NE(ReadDataFile().find("W=07-14-21-28-35-42\r\n"), std::string::npos);
}

}  // namespace
