// Data files named from outside the window: on the command line at start-up, and handed over by
// a later copy while this one runs.
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "UiFixture.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/widgets/PlayListModel.h"

namespace {

const std::string kTwoTickets = Lines(
    {"[Numbers]", "TOTAL=2", "W=01-02-03-04-05-06", "1=11-12-13-14-15-16", "2=21-22-23-24-25-26"});
const std::string kDefaultTickets =
    Lines({"[Numbers]", "TOTAL=1", "W=00-00-00-00-00-00", "1=31-32-33-34-35-36"});

class OutsideFileTest : public UiTest {
 protected:
  QString Other(const std::string& bytes) {
    const std::string path = PathIn("other.pmd");
    WriteFile(path, bytes);
    return QString::fromStdString(path);
  }
  std::vector<std::string> Listed() const { return Plays(*main_)->Tickets().ToStrings(); }
  QStringList Messages() const {
    QStringList texts;
    for (const auto& shown : desktop_.messages.shown)
      texts << shown.request.text;
    return texts;
  }
};

TEST_F(OutsideFileTest, StartWithAFileListsItAndLeavesTheDefaultFileAlone) {
  const QString other = Other(kTwoTickets);
  StartProgram(other);
  EXPECT_EQ(CurrentFile(), other.toStdString());
  EXPECT_EQ(Listed(), (std::vector<std::string>{"11-12-13-14-15-16", "21-22-23-24-25-26"}));
  EXPECT_EQ(WinningBox(*main_, 6)->text(), "06");
  EXPECT_TRUE(Named<QListView>(*main_, "lstNumbers")->isVisible());
  EXPECT_TRUE(main_->windowTitle().endsWith("/other.pmd VORDANIK Pelmora 2.0"))
      << main_->windowTitle().toStdString();
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(DataFilePath())));
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

struct RefusedStart {
  const char* name;
  const char* bytes;  // nullptr: no file at all
};

class RefusedStartTest : public OutsideFileTest,
                         public ::testing::WithParamInterface<RefusedStart> {};

TEST_P(RefusedStartTest, SaysSoAsOpenWouldAndStartsWithTheDefaultFile) {
  WriteDataFile(kDefaultTickets);
  QString other = QString::fromStdString(PathIn("missing.pmd"));
  if (GetParam().bytes)
    other = Other(GetParam().bytes);
  StartProgram(other);
  EXPECT_EQ(Messages(), QStringList{"Error loading file."});
  EXPECT_EQ(CurrentFile(), DataFilePath());
  EXPECT_EQ(Listed(), std::vector<std::string>{"31-32-33-34-35-36"});
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedStartTest,
                         ::testing::Values(RefusedStart{"Missing", nullptr},
                                           RefusedStart{"CountNotANumber",
                                                        "[Numbers]\r\nTOTAL=many\r\n"},
                                           RefusedStart{"NoNumbersSection", "hello\r\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutsideFileTest, AHandedOverFileOpensAsOpenWould) {
  WriteDataFile(kDefaultTickets);
  StartProgram();
  const QString other = Other(kTwoTickets);
  main_->OpenFromOutside(other);
  EXPECT_EQ(CurrentFile(), other.toStdString());
  EXPECT_EQ(Listed().size(), 2u);
  EXPECT_EQ(Named<QLabel>(*main_, "lbltotaltickets")->text(), "There are 2 total tickets");

  // A file Open refuses leaves the current one in place, with Open's message.
  main_->OpenFromOutside(QString::fromStdString(PathIn("missing.pmd")));
  EXPECT_EQ(Messages(), QStringList{"Error loading file."});
  EXPECT_EQ(CurrentFile(), other.toStdString());
  EXPECT_EQ(Listed().size(), 2u);
}

TEST_F(OutsideFileTest, AFileHandedOverDuringTicketEntryWaitsUntilTheEntryDialogCloses) {
  // Tickets being entered go to the file the dialog was opened on, never to the new one.
  WriteDataFile(kDefaultTickets);
  StartProgram();
  Trigger(*main_, "mnuAddPlay");
  const QString other = Other(kTwoTickets);
  main_->OpenFromOutside(other);
  Flush();
  EXPECT_EQ(CurrentFile(), DataFilePath());

  Named<QPushButton>(*OpenWindow<frmNumberEntry>(), "cmdCancel")->click();
  Flush();
  ASSERT_TRUE(main_->isVisible());
  EXPECT_EQ(CurrentFile(), other.toStdString());
  EXPECT_EQ(Listed().size(), 2u);
}

}  // namespace
