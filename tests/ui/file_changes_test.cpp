// The window and a second writer of its data file: commands that write the list back never
// delete what another program added, and the list follows the file while the window is idle.
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "UiFixture.h"
#include "store/AtomicFile.h"
#include "store/TicketFile.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/other/frmAbout.h"
#include "ui/widgets/PlayListModel.h"

namespace {

using platform::MessageAnswer;
using Tickets = std::vector<std::string>;

const char kChanged[] =
    "The data file was changed by another program. Nothing was deleted; the list now shows the "
    "file as it is. Please repeat the command.";
const Tickets kThree = {"05-12-19-33-40-52", "01-09-14-27-38-44", "07-08-09-10-11-12"};
const Tickets kOthers = {"02-04-06-08-10-12", "11-22-33-44-55-59"};

std::vector<int> MarkedRows(const frmNumberChecker& form) {
  std::vector<int> rows;
  for (int i = 0; i < Plays(form)->Count(); ++i)
    if (Plays(form)->IsChecked(i))
      rows.push_back(i);
  return rows;
}

struct CommandCase {
  const char* name;
  std::vector<int> marked;  // rows marked before the other program writes
  std::function<void(frmNumberChecker&, DesktopDoubles&)> command;
  std::size_t messagesBefore;  // questions the command asks before it writes
  std::vector<int> markedAfter;
};

void PrintTo(const CommandCase& c, std::ostream* out) {
  *out << c.name;
}

class SecondWriterTest : public UiTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(SecondWriterTest, KeepsWhatAnotherProgramAddedAndSaysSoOnce) {
  const CommandCase& c = GetParam();
  WriteDataFile(TicketFileText(kThree));
  frmNumberChecker& form = StartProgram();
  for (int row : c.marked)
    Mark(form, row);

  // Another program replaces the second ticket and adds two, under the lock as any writer must.
  Tickets theirs = {kThree[0], "09-18-27-36-45-54", kThree[2], kOthers[0], kOthers[1]};
  ASSERT_TRUE(store::RewriteTickets(DataFilePath(), theirs).has_value());
  const std::string after = ReadDataFile();

  c.command(form, desktop_);

  EXPECT_EQ(ReadDataFile(), after);
  EXPECT_EQ(Plays(form)->Tickets(), theirs);
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 5 total tickets");
  EXPECT_EQ(MarkedRows(form), c.markedAfter) << "marks stay on tickets that are still there";
  ASSERT_EQ(desktop_.messages.shown.size(), c.messagesBefore + 1);
  EXPECT_EQ(desktop_.messages.shown.back().request.text, kChanged);
  EXPECT_EQ(desktop_.messages.shown.back().request.title, modPelmora::AppTitle());
  EXPECT_EQ(OpenWindow<frmNumberEntry>(), nullptr)
      << "the command is to be repeated, not carried on";

  // Repeated, a command now works on the file as it is.
  desktop_.messages.answers.clear();
  Trigger(form, "mnuAll");
  Trigger(form, "mnuDeleteChecked");
  EXPECT_TRUE(store::ReadAllTickets(DataFilePath()).tickets.empty());
  EXPECT_EQ(desktop_.messages.shown.size(), c.messagesBefore + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SecondWriterTest,
    testing::Values(
        CommandCase{"deleteWithNothingMarked",
                    {},
                    [](frmNumberChecker& f, DesktopDoubles&) { Trigger(f, "mnuDeleteChecked"); },
                    0,
                    {}},
        CommandCase{"deleteMarked",
                    {0, 1},
                    [](frmNumberChecker& f, DesktopDoubles&) { Trigger(f, "mnuDeleteChecked"); },
                    0,
                    {0}},
        CommandCase{"save",
                    {2},
                    [](frmNumberChecker& f, DesktopDoubles&) { Trigger(f, "mnuSave"); },
                    0,
                    {2}},
        CommandCase{"addAnsweredYes",
                    {2},
                    [](frmNumberChecker& f, DesktopDoubles& d) {
                      d.messages.answers = {MessageAnswer::Yes};
                      Trigger(f, "mnuAddPlay");
                    },
                    1,
                    {2}}),
    [](const testing::TestParamInfo<CommandCase>& info) { return info.param.name; });

class FollowFileTest : public UiTest {
 protected:
  QStringList Boxes() const {
    QStringList texts;
    for (int k = 1; k <= 6; ++k)
      texts << WinningBox(*main_, k)->text();
    return texts;
  }
};

TEST_F(FollowFileTest, FollowsAFileReplacedFromOutsideKeepingMarks) {
  WriteDataFile(TicketFileText(kThree));
  frmNumberChecker& form = StartProgram();
  Plays(form)->SetChecked(0, true);
  Plays(form)->SetChecked(1, true);

  const Tickets first = {kThree[0], kOthers[0], kThree[2], kOthers[1]};
  ASSERT_TRUE(
      store::WriteFileAtomically(DataFilePath(), TicketFileText(first, "01-02-03-04-05-06")));
  QTRY_VERIFY(Plays(form)->Tickets() == first);
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 4 total tickets");
  EXPECT_EQ(Boxes(), QStringList({"01", "02", "03", "04", "05", "06"}));
  EXPECT_EQ(MarkedRows(form), std::vector<int>{0});

  // The replaced file is a new one: the window must still be watching it.
  ASSERT_TRUE(store::WriteFileAtomically(DataFilePath(), TicketFileText({kOthers[1]})));
  QTRY_VERIFY(Plays(form)->Tickets() == Tickets{kOthers[1]});
  EXPECT_EQ(Boxes(), QStringList({"03", "17", "22", "35", "41", "58"}));
  EXPECT_TRUE(MarkedRows(form).empty());
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

TEST_F(FollowFileTest, WaitsForAnOpenDialogToClose) {
  WriteDataFile(TicketFileText(kThree));
  frmNumberChecker& form = StartProgram();
  Trigger(form, "mnuAbout");
  ASSERT_NE(OpenWindow<frmAbout>(), nullptr);
  QSignalSpy changed(&form.controller(), &DataFileController::fileChanged);
  ASSERT_TRUE(store::WriteFileAtomically(DataFilePath(), TicketFileText(kOthers)));
  ASSERT_TRUE(changed.wait());
  EXPECT_EQ(Plays(form)->Tickets(), kThree) << "nothing moves under an open dialog";

  OpenWindow<frmAbout>()->done(QDialog::Accepted);
  QTRY_VERIFY(Plays(form)->Tickets() == kOthers);
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

TEST_F(FollowFileTest, TicketsSavedInTheEntryDialogAreNoChangeByAnotherProgram) {
  WriteDataFile(TicketFileText(kThree));
  frmNumberChecker& form = StartProgram();
  Trigger(form, "mnuAddPlay");
  frmNumberEntry& entry = *OpenWindow<frmNumberEntry>();
  for (int n : {3, 17, 22, 41, 8, 55})
    NumberBox(entry, n)->click();
  Named<QPushButton>(entry, "cmdNext")->click();
  Named<QPushButton>(entry, "cmdDone")->click();
  Flush();

  EXPECT_EQ(Plays(form)->Count(), 4);
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 4 total tickets");
  Trigger(form, "mnuSave");
  EXPECT_TRUE(desktop_.messages.shown.empty()) << "its own ticket is no change by another program";
  EXPECT_EQ(store::ReadAllTickets(DataFilePath()).tickets.size(), 4u);
}

}  // namespace
