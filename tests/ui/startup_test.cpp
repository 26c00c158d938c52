#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "UiFixture.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/main/ShapeMarker.h"
#include "ui/other/frmAbout.h"
#include "ui/widgets/PlayListModel.h"

namespace {

const char kHint[] =
    "Tickets with 3-6 matches are displayed here when you click \"Check Winning Number Against "
    "Play Number (F5)\" in the Numbers menu.";

std::vector<std::string> ListedTickets(const frmNumberChecker& form) {
  return Plays(form)->Tickets().ToStrings();
}

QStringList BoxTexts(const frmNumberChecker& form) {
  QStringList texts;
  for (int k = 1; k <= 6; ++k)
    texts << WinningBox(form, k)->text();
  return texts;
}

using StartupTest = UiTest;

TEST_F(StartupTest, MissingDataFileIsCreatedAndWindowShowsOnlyTheBoxes) {
  frmNumberChecker& form = StartProgram();
  EXPECT_EQ(ReadDataFile(), Lines({"[Numbers]", "TOTAL=0", "W=00-00-00-00-00-00"}));
  EXPECT_EQ(Plays(form)->Count(), 0);
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 0 total tickets");
  EXPECT_EQ(BoxTexts(form), QStringList({"00", "00", "00", "00", "00", "00"}));
  EXPECT_EQ(form.centralWidget()->height(), kBoxRowPixels);  // the 690-twip row of boxes
  EXPECT_EQ(Named<QPlainTextEdit>(form, "txtMatchedTickets")->toPlainText(), kHint);
  EXPECT_EQ(CurrentFile(), DataFilePath());
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

TEST_F(StartupTest, ExistingFileListsTicketsInKeyOrderAndShowsTheWinningNumber) {
  const std::string bytes =
      Lines({"[Numbers]", "TOTAL=3", "W=03-17-22-35-41-58", "2=01-09-14-27-38-44",
             "1=05-12-19-33-40-52", "3=07-08-09-10-11-12"});
  WriteDataFile(bytes);
  frmNumberChecker& form = StartProgram();
  EXPECT_EQ(ListedTickets(form), (std::vector<std::string>{"05-12-19-33-40-52", "01-09-14-27-38-44",
                                                           "07-08-09-10-11-12"}));
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 3 total tickets");
  EXPECT_TRUE(Named<QListView>(form, "lstNumbers")->isVisible());
  EXPECT_FALSE(Named<QPlainTextEdit>(form, "txtMatchedTickets")->isVisible());
  EXPECT_EQ(form.centralWidget()->height(),
            kStandardPixels);  // down to the count line (3015 twips)
  EXPECT_EQ(BoxTexts(form), QStringList({"03", "17", "22", "35", "41", "58"}));
  EXPECT_EQ(ReadDataFile(), bytes) << "start-up must not touch an existing file";
}

TEST_F(StartupTest, NamesMatchWithoutRegardToCaseAndAShortWinningNumberLeavesEmptyBoxes) {
  WriteDataFile(
      Lines({"[NUMBERS]", "total=2", "w=05-12", "1=05-12-19-33-40-52", "2=01-09-14-27-38-44"}));
  frmNumberChecker& form = StartProgram();
  EXPECT_EQ(Plays(form)->Count(), 2);
  EXPECT_EQ(BoxTexts(form), QStringList({"05", "12", "", "", "", ""}));
}

TEST_F(StartupTest, UnreadableCountListsNothingAndSaysNothing) {
  for (const char* count : {"", "abc", "99999"}) {
    WriteDataFile(
        Lines({"[Numbers]", (std::string("TOTAL=") + count).c_str(), "1=05-12-19-33-40-52"}));
    frmNumberChecker& form = StartProgram();
    EXPECT_EQ(Plays(form)->Count(), 0) << count;
    EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 0 total tickets");
    EXPECT_EQ(form.centralWidget()->height(), kBoxRowPixels);
    EXPECT_TRUE(desktop_.messages.shown.empty());
    main_.reset();
  }
}

TEST_F(StartupTest, CaptionIsShortenedToTheFileName) {
  frmNumberChecker& form = StartProgram();
  const QString path = QString::fromStdString(DataFilePath());
  EXPECT_EQ(form.windowTitle(), path.left(3) + "../pelmora.pmd VORDANIK Pelmora 2.0");
}

TEST_F(StartupTest, MenuTreeHasItsCaptionsAndShortcuts) {
  frmNumberChecker& form = StartProgram();
  QStringList menus;
  for (QAction* a : form.menuBar()->actions())
    menus << a->text();
  EXPECT_EQ(menus, QStringList({"&File", "&Numbers/Check", "&View", "&Help", "&Draws"}));

  auto items = [](QMenu* m) {
    QStringList list;
    for (QAction* a : m->actions())
      list << (a->isSeparator() ? QString("-") : a->text() + "|" + a->shortcut().toString());
    return list;
  };
  EXPECT_EQ(items(Named<QMenu>(form, "mnuFile")),
            QStringList({"&New|", "&Save|", "&Open|", "&Exit|"}));
  EXPECT_EQ(
      items(Named<QMenu>(form, "mnuNumbers")),
      QStringList({"Add &Play Numbers|Ctrl+Ins", "&Delete Checked Play Numbers|Del",
                   "Check&mark/Uncheck All Plays for Deletion|Ctrl+A",
                   "&Copy Play Numbers to Clipboard|Ctrl+P", "-", "Set &Winning Number|Ctrl+W", "-",
                   "Chec&k Winning Number Against Play Numbers|F5",
                   "C&opy Your Winning  Result(s) To Clipboard|Ctrl+C"}));
  EXPECT_EQ(items(Named<QMenu>(form, "mnuView")),
            QStringList({"&All Ticket Play Numbers|", "&Matched Wining Numbers|"}));
  EXPECT_EQ(items(Named<QMenu>(form, "mnuHelp")), QStringList({"&Help|", "&About|"}));
  EXPECT_EQ(
      items(Named<QMenu>(form, "mnuDraws")),
      QStringList({"Draw &History...|Ctrl+H", "&Prize Table...|Ctrl+T", "&Wins...|Ctrl+Shift+W"}));
  QStringList shortcuts;
  for (QAction* a : form.findChildren<QAction*>()) {
    if (!a->shortcut().isEmpty()) {
      EXPECT_FALSE(shortcuts.contains(a->shortcut().toString())) << a->text().toStdString();
      shortcuts << a->shortcut().toString();
    }
  }
  for (QAction* a : form.findChildren<QAction*>())
    EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
}

TEST_F(StartupTest, ListViewCommandShowsTheListAtTheStandardHeight) {
  frmNumberChecker& form = StartProgram();
  Trigger(form, "mnuMatches");
  EXPECT_TRUE(Named<QPlainTextEdit>(form, "txtMatchedTickets")->isVisible());
  Trigger(form, "mnuViewAll");
  EXPECT_TRUE(Named<QListView>(form, "lstNumbers")->isVisible());
  EXPECT_FALSE(Named<QPlainTextEdit>(form, "txtMatchedTickets")->isVisible());
  EXPECT_EQ(form.centralWidget()->height(), kStandardPixels);
}

TEST_F(StartupTest, HelpOpensTheHelpDocumentBesideTheProgram) {
  frmNumberChecker& form = StartProgram();
  Trigger(form, "mnuHelp2");
  ASSERT_EQ(desktop_.help.shown.size(), 1);
  EXPECT_EQ(desktop_.help.shown[0], folder_.path() + "/pelmora.hlp");
}

// The main window is hidden behind the entry dialog and waits behind the About box; F1 must
// still reach the help from there.
TEST_F(StartupTest, F1OpensTheHelpFromEveryWindow) {
  frmNumberChecker& form = StartProgram();
  form.show();
  auto pressF1 = [](QWidget* window) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, Qt::Key_F1);
  };
  pressF1(&form);
  EXPECT_EQ(desktop_.help.shown.size(), 1u);

  Trigger(form, "mnuAddPlay");
  ASSERT_FALSE(form.isVisible());
  pressF1(OpenWindow<frmNumberEntry>());
  EXPECT_EQ(desktop_.help.shown.size(), 2u);
  OpenWindow<frmNumberEntry>()->cmdDone_Click();

  Trigger(form, "mnuAbout");
  ASSERT_TRUE(Waits(form));
  pressF1(OpenWindow<frmAbout>());
  EXPECT_EQ(desktop_.help.shown.size(), 3u);
  QTest::keyClick(OpenWindow<frmAbout>(), Qt::Key_F1, Qt::ShiftModifier);
  EXPECT_EQ(desktop_.help.shown.size(), 3u) << "only F1 alone opens the help";
}

TEST_F(StartupTest, FlashRunsFortyTicksThenStopsAndRestoresTheBoxes) {
  WriteDataFile(TicketFileText({"03-17-22-35-41-58"}));
  frmNumberChecker& form = StartProgram();
  Trigger(form, "mnuCheck");  // a ticket matched: the flash starts
  QTimer* timer = Named<QTimer>(form, "Timer1");
  int ticks = 0;
  while (timer->isActive() && ticks < 100) {
    QMetaObject::invokeMethod(timer, "timeout");  // a tick, without waiting for it
    ++ticks;
    if (ticks == 1) {
      for (int i = 1; i <= 6; ++i)
        EXPECT_TRUE(Marker(form, i)->FillVisible());
    }
  }
  EXPECT_EQ(ticks, 40);
  EXPECT_FALSE(timer->isActive()) << "a stopped flash must cost no processor time";
  for (int i = 1; i <= 6; ++i) {
    EXPECT_FALSE(Marker(form, i)->FillVisible());
    EXPECT_FALSE(WinningBox(form, i)->property("flashColour").isValid());
  }
}

struct SecondCopyCase {
  const char* name;
  bool answers;      // whether the running copy answers
  std::string file;  // named on the command line, as bytes
};

class SecondCopyTest : public StartupTest, public ::testing::WithParamInterface<SecondCopyCase> {};

// This copy ends only when the running copy answered, with its message unless it handed a file.
TEST_P(SecondCopyTest, AsksTheRunningCopyAndEndsOnlyWhenItAnswered) {
  const SecondCopyCase& c = GetParam();
  desktop_.instance.running = true;
  desktop_.instance.answers = c.answers;
  EXPECT_EQ(modPelmora::CheckPrevInstance(c.file),
            c.answers ? modPelmora::StartVerdict::End : modPelmora::StartVerdict::Run);
  EXPECT_EQ(desktop_.instance.activationFile.toStdString(), c.file) << "byte for byte";
  EXPECT_EQ(modPelmora::AppTitle(), "unwanted instance");
  QStringList shown;
  for (const auto& message : desktop_.messages.shown)
    shown << message.request.title + ": " + message.request.text;
  EXPECT_EQ(shown, c.answers && c.file.empty()
                       ? QStringList{"unwanted instance: This instance of Pelmora will terminate "
                                     "because another running instance was detected."}
                       : QStringList());
}

INSTANTIATE_TEST_SUITE_P(Starts, SecondCopyTest,
                         ::testing::Values(SecondCopyCase{"Answered", true, ""},
                                           SecondCopyCase{"AnsweredWithAFile", true,
                                                          "/data/b\xFF\xFE.pmd"},
                                           SecondCopyCase{"Silent", false, "/data/t.pmd"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
