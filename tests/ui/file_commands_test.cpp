#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest/QTest>

#include "FileSizeLimit.h"
#include "UiFixture.h"
#include "platform/FileDialog.h"
#include "store/AtomicFile.h"
#include "ui/widgets/PlayListModel.h"

namespace {

using platform::FileDialogKind;
using platform::MessageIcon;
using Tickets = std::vector<std::string>;

const char kHint[] =
    "Tickets with 3-6 matches are displayed here when you click \"Check Winning Number Against "
    "Play Number (F5)\" in the Numbers menu.";
const char kA[] = "05-12-19-33-40-52";
const char kB[] = "01-09-14-27-38-44";
const char kC[] = "07-08-09-10-11-12";
const char kD[] = "02-04-06-08-10-12";
const char kE[] = "11-22-33-44-55-59";

QStringList BoxTexts(const frmNumberChecker& form) {
  QStringList texts;
  for (int k = 1; k <= 6; ++k)
    texts << WinningBox(form, k)->text();
  return texts;
}

QString ExpectedCaption(const std::string& path) {
  const QString text = QString::fromStdString(path);
  return text.left(3) + ".." + text.mid(text.lastIndexOf('/')) + " VORDANIK Pelmora 2.0";
}

class FileCommandsTest : public UiTest {
 protected:
  // Starts on a default file holding these tickets.
  frmNumberChecker& StartWith(const Tickets& tickets) {
    WriteDataFile(TicketFileText(tickets));
    return StartProgram();
  }
  void Choose(const std::string& path) {
    desktop_.files.answers.push_back(QString::fromStdString(path));
  }
  void ExpectOnlyMessage(const QString& text, MessageIcon icon) {
    ASSERT_EQ(desktop_.messages.shown.size(), 1u);
    const platform::MessageRequest& shown = desktop_.messages.shown[0].request;
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.title, "VORDANIK Pelmora 2.0");
    EXPECT_EQ(shown.icon, icon);
    EXPECT_EQ(shown.buttons, platform::MessageButtons::Ok);
  }
};

TEST_F(FileCommandsTest, NewAsksForANameWithTheDataFileFilter) {
  frmNumberChecker& form = StartWith({});
  Trigger(form, "mnuNew");
  Trigger(form, "mnuOpen");
  ASSERT_EQ(desktop_.files.requests.size(), 2u);
  const QStringList filter = {"Pelmora Files (*.PMD)", "*.PMD", "All Files (*.*)", "*.*"};
  const platform::FileDialogRequest& create = desktop_.files.requests[0];
  EXPECT_EQ(create.kind, FileDialogKind::Save);
  EXPECT_EQ(create.title, "VORDANIK Pelmora 2.0 Create Data File");
  EXPECT_EQ(create.filter, filter);
  EXPECT_EQ(create.filterIndex, 1);
  EXPECT_TRUE(create.initialName.isEmpty());
  EXPECT_TRUE(create.confirmOverwrite && create.confirmCreate);
  const platform::FileDialogRequest& open = desktop_.files.requests[1];
  EXPECT_EQ(open.kind, FileDialogKind::Open);
  EXPECT_EQ(open.title, "VORDANIK Pelmora 2.0 Open Data File");
  EXPECT_EQ(open.filter, filter);
  EXPECT_EQ(open.filterIndex, 1);
  EXPECT_TRUE(open.initialName.isEmpty());
  EXPECT_TRUE(open.mustExist);

  // Both were cancelled: each says so and nothing changed.
  ASSERT_EQ(desktop_.messages.shown.size(), 2u);
  EXPECT_EQ(desktop_.messages.shown[0].request.text, "Cancel:No File Created");
  EXPECT_EQ(desktop_.messages.shown[0].request.icon, MessageIcon::Information);
  EXPECT_EQ(desktop_.messages.shown[1].request.text, "Cancel:No File Selected");
  EXPECT_EQ(desktop_.messages.shown[1].request.icon, MessageIcon::Information);
  EXPECT_EQ(CurrentFile(), DataFilePath());
}

TEST_F(FileCommandsTest, NewOnAnExistingFileKeepsOtherSectionsAndEmptiesTheWindow) {
  frmNumberChecker& form = StartWith({kA, kB});
  TypeResults(form, "Matched: (3) in:05-12-19-33-40-52");
  const std::string chosen = PathIn("reused.pmd");
  WriteFile(chosen, Lines({"[Numbers]", "Total=5", "W=03-17-22-35-41-58", "1=05-12-19-33-40-52",
                           "2=01-09-14-27-38-44", "3=07-08-09-10-11-12", "4=02-04-06-08-10-12",
                           "5=11-22-33-44-55-59", "Note=kept", "[Other]", "1=stays"}));
  Choose(chosen);
  Trigger(form, "mnuNew");

  EXPECT_EQ(ReadFile(chosen), Lines({"[Numbers]", "Total=0", "W=00-00-00-00-00-00", "Note=kept",
                                     "[Other]", "1=stays"}));
  EXPECT_EQ(CurrentFile(), chosen);
  EXPECT_EQ(Plays(form)->Count(), 0);
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 0 total tickets.");
  EXPECT_EQ(BoxTexts(form), QStringList({"00", "00", "00", "00", "00", "00"}));
  EXPECT_EQ(form.windowTitle(), ExpectedCaption(chosen));
  EXPECT_EQ(Named<QPlainTextEdit>(form, "txtMatchedTickets")->toPlainText(), kHint);
  EXPECT_TRUE(desktop_.messages.shown.empty());
  EXPECT_TRUE(Named<QAction>(form, "mnuSave")->isEnabled()) << "New leaves File > Save as it was";
}

TEST_F(FileCommandsTest, NewOnAMissingNameCreatesThreeLinesAndAShortPathIsTheWholeCaption) {
  frmNumberChecker& form = StartWith({kA});
  const std::string chosen = PathIn("fresh.pmd");
  Choose(chosen);
  Trigger(form, "mnuNew");
  EXPECT_EQ(ReadFile(chosen), Lines({"[Numbers]", "TOTAL=0", "W=00-00-00-00-00-00"}));

  // A path of at most 25 characters stays the whole caption, without the product name.
  const std::string shortPath =
      "/tmp/pm" + std::to_string(QCoreApplication::applicationPid()) + ".pmd";
  ASSERT_LE(shortPath.size(), 25u);
  Choose(shortPath);
  Trigger(form, "mnuNew");
  EXPECT_EQ(form.windowTitle(), QString::fromStdString(shortPath));
  QFile::remove(QString::fromStdString(shortPath));
}

TEST_F(FileCommandsTest, NewFailsOnACountThatCannotBeConvertedAndLeavesEverythingAsItWas) {
  struct Case {
    const char* count;
    const char* message;
  };
  for (const Case& c :
       {Case{nullptr, "Error creating new file.13"}, Case{"lots", "Error creating new file.13"},
        Case{"40000", "Error creating new file.6"}}) {
    desktop_.messages.shown.clear();
    frmNumberChecker& form = StartWith({kA, kB});
    const std::string chosen = PathIn("broken.pmd");
    const std::string bytes =
        c.count
            ? Lines({"[Numbers]", (std::string("TOTAL=") + c.count).c_str(), "1=05-12-19-33-40-52"})
            : Lines({"[Numbers]", "1=05-12-19-33-40-52"});
    WriteFile(chosen, bytes);
    const QString caption = form.windowTitle();
    Choose(chosen);
    Trigger(form, "mnuNew");

    ExpectOnlyMessage(c.message, MessageIcon::Warning);
    EXPECT_EQ(ReadFile(chosen), bytes) << "the chosen file is unchanged";
    EXPECT_EQ(Plays(form)->Tickets(), (Tickets{kA, kB}));
    EXPECT_EQ(form.windowTitle(), caption);
    EXPECT_EQ(BoxTexts(form), QStringList({"03", "17", "22", "35", "41", "58"}));

    // The screen still shows the default file, and so does every later write.
    EXPECT_EQ(CurrentFile(), DataFilePath());
    Mark(form, 0);
    Trigger(form, "mnuDeleteChecked");
    EXPECT_EQ(ReadFile(chosen), bytes);
    EXPECT_EQ(ReadDataFile(),
              Lines({"[Numbers]", "TOTAL=1", "W=03-17-22-35-41-58", "1=01-09-14-27-38-44"}));
    main_.reset();
  }
}

TEST_F(FileCommandsTest, NewThatCannotWriteSaysWhereAndWhyAndKeepsTheCurrentFile) {
  frmNumberChecker& form = StartWith({kA});
  const std::string chosen = PathIn("unwritable.pmd");
  Choose(chosen);
  {
    const test_support::FileSizeLimit failing(0);
    Trigger(form, "mnuNew");
  }
  ASSERT_EQ(desktop_.messages.shown.size(), 1u);
  EXPECT_TRUE(desktop_.messages.shown[0].request.text.contains(QString::fromStdString(chosen)));
  EXPECT_TRUE(desktop_.messages.shown[0].request.text.contains("File too large"));
  EXPECT_EQ(CurrentFile(), DataFilePath());
  EXPECT_EQ(Plays(form)->Tickets(), (Tickets{kA}));
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(chosen)));
}

TEST_F(FileCommandsTest, OpenListsTheFileAndShowsTheListAtStandardHeight) {
  frmNumberChecker& form = StartWith({});  // cut down to the row of boxes
  TypeResults(form, "old results");
  const std::string chosen = PathIn("two.pmd");
  WriteFile(chosen, Lines({"[numbers]", "total=2", "w=09-18-27-36-45-54", "2=01-09-14-27-38-44",
                           "1=05-12-19-33-40-52"}));
  Choose(chosen);
  Trigger(form, "mnuOpen");

  EXPECT_EQ(Plays(form)->Tickets(), (Tickets{kA, kB}));
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 2 total tickets");
  EXPECT_EQ(BoxTexts(form), QStringList({"09", "18", "27", "36", "45", "54"}));
  EXPECT_EQ(form.windowTitle(), ExpectedCaption(chosen));
  EXPECT_TRUE(Named<QListView>(form, "lstNumbers")->isVisible());
  EXPECT_FALSE(Named<QPlainTextEdit>(form, "txtMatchedTickets")->isVisible());
  EXPECT_EQ(form.centralWidget()->height(), kStandardPixels);  // ends under the count line
  EXPECT_EQ(Named<QPlainTextEdit>(form, "txtMatchedTickets")->toPlainText(), kHint);
  EXPECT_EQ(CurrentFile(), chosen);
  EXPECT_TRUE(desktop_.messages.shown.empty());
  EXPECT_TRUE(Named<QAction>(form, "mnuDeleteChecked")->isEnabled())
      << "as at start-up: no click on the list";
}

TEST_F(FileCommandsTest, OpenWithoutACountKeepsThePreviousFileCurrent) {
  frmNumberChecker& form = StartWith({kA, kB, kC});
  const std::string chosen = PathIn("nocount.pmd");
  const std::string bytes = Lines({"[Numbers]", "W=09-18-27-36-45-54", "1=11-22-33-44-55-59"});
  WriteFile(chosen, bytes);
  const QString caption = form.windowTitle();
  Choose(chosen);
  Trigger(form, "mnuOpen");

  ExpectOnlyMessage("Error loading file.", MessageIcon::None);
  EXPECT_EQ(Plays(form)->Tickets(), (Tickets{kA, kB, kC}));
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 3 total tickets");
  EXPECT_EQ(form.windowTitle(), caption);
  EXPECT_EQ(CurrentFile(), DataFilePath());

  // Deleting afterwards rewrites the file on screen, never the one that failed to open.
  Mark(form, 1);
  Trigger(form, "mnuDeleteChecked");
  EXPECT_EQ(ReadFile(chosen), bytes);
  EXPECT_EQ(ReadDataFile(), Lines({"[Numbers]", "TOTAL=2", "W=03-17-22-35-41-58",
                                   "1=05-12-19-33-40-52", "2=07-08-09-10-11-12"}));
}

TEST_F(FileCommandsTest, SaveRewritesTheSectionFromTheListAndClearsMarks) {
  frmNumberChecker& form = StartWith({kA, kB, kC, kD, kE});
  Plays(form)->SetTickets({kE, kC, kA});
  Plays(form)->SetLoaded({kA, kB, kC, kD, kE});  // the list was loaded from the file as it is
  Mark(form, 0);
  Mark(form, 2);
  Trigger(form, "mnuSave");

  EXPECT_EQ(ReadDataFile(),
            Lines({"[Numbers]", "TOTAL=3", "W=03-17-22-35-41-58", "1=11-22-33-44-55-59",
                   "2=07-08-09-10-11-12", "3=05-12-19-33-40-52"}));
  EXPECT_EQ(Plays(form)->CheckedCount(), 0) << "marks never survive a Save";
  EXPECT_FALSE(Named<QAction>(form, "mnuSave")->isEnabled());
  EXPECT_FALSE(Named<QAction>(form, "mnuDeleteChecked")->isEnabled());
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

TEST_F(FileCommandsTest, SaveOfAnEmptyListRemovesEveryTicketKey) {
  frmNumberChecker& form = StartWith({kA, kB, kC});
  Plays(form)->SetTickets({});
  Plays(form)->SetLoaded({kA, kB, kC});  // the list was loaded from the file as it is
  Trigger(form, "mnuSave");
  EXPECT_EQ(ReadDataFile(), Lines({"[Numbers]", "TOTAL=0", "W=03-17-22-35-41-58"}));
}

TEST_F(FileCommandsTest, SaveThatCannotWriteSaysSoAndLeavesTheListAsItWas) {
  frmNumberChecker& form = StartWith({kA, kB, kC});
  Trigger(form, "mnuSave");
  ASSERT_FALSE(Named<QAction>(form, "mnuSave")->isEnabled());
  const std::string before = ReadDataFile();

  // A delete whose save fails: the person sees the failure and keeps the list as edited.
  Mark(form, 1);
  {
    const test_support::FileSizeLimit failing(0);
    Trigger(form, "mnuDeleteChecked");
    ASSERT_EQ(desktop_.messages.shown.size(), 1u);
    const platform::MessageRequest& shown = desktop_.messages.shown[0].request;
    EXPECT_TRUE(shown.text.contains(QString::fromStdString(DataFilePath())));
    EXPECT_TRUE(shown.text.contains("File too large"));
    EXPECT_EQ(shown.icon, MessageIcon::Warning);
    EXPECT_EQ(ReadDataFile(), before);
    EXPECT_EQ(Plays(form)->Tickets(), (Tickets{kA, kC}));
    EXPECT_TRUE(Named<QAction>(form, "mnuSave")->isEnabled()) << "Save is offered again to retry";

    // A failed Save keeps the marks too.
    Mark(form, 0);
    Trigger(form, "mnuSave");
    EXPECT_EQ(desktop_.messages.shown.size(), 2u);
    EXPECT_TRUE(Plays(form)->IsChecked(0));
  }

  Trigger(form, "mnuSave");
  EXPECT_EQ(ReadDataFile(), Lines({"[Numbers]", "TOTAL=2", "W=03-17-22-35-41-58",
                                   "1=05-12-19-33-40-52", "2=07-08-09-10-11-12"}));
  EXPECT_FALSE(Plays(form)->IsChecked(0));
  EXPECT_FALSE(Named<QAction>(form, "mnuSave")->isEnabled());
  EXPECT_EQ(desktop_.messages.shown.size(), 2u);
}

// The real dialog must offer data files whatever the case of their extension.
TEST_F(FileCommandsTest, RealDialogShowsDataFilesOfEitherCase) {
  for (const char* name : {"lower.pmd", "UPPER.PMD", "Mixed.Pmd", "notes.txt"})
    WriteFile(PathIn(name), "");
  QStringList shown;
  bool inspected = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog)
      return;
    dialog->setDirectory(folder_.path());
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    if (view) {
      // The folder is read on a worker thread; wait until its files are listed.
      const bool listed =
          QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= 3; }, 5000);
      EXPECT_TRUE(listed);
      QTest::qWait(50);  // time for a file the filter should have hidden to turn up
      for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
        shown << view->model()->index(row, 0, view->rootIndex()).data().toString();
    }
    inspected = true;
    dialog->reject();
  });
  platform::FileDialogRequest request;
  request.title = "pick";
  request.filter = {"Pelmora Files (*.PMD)", "*.PMD", "All Files (*.*)", "*.*"};
  request.mustExist = true;
  EXPECT_TRUE(platform::FileDialog::Real().Answer(nullptr, request).isEmpty());
  ASSERT_TRUE(inspected);
  shown.sort(Qt::CaseInsensitive);
  EXPECT_EQ(shown, QStringList({"lower.pmd", "Mixed.Pmd", "UPPER.PMD"}));
}

}  // namespace
