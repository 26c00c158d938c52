#include <stdlib.h>

#include <QTest>
#include <optional>

#include "FileSizeLimit.h"
#include "UiFixture.h"
#include "VersionsHome.h"
#include "store/AtomicFile.h"
#include "store/TicketFile.h"
#include "store/Versions.h"
#include "ui/widgets/PlayListModel.h"

namespace {

std::string FileOfFive() {
  return Lines({"[Numbers]", "TOTAL=5", "W=03-17-22-35-41-58", "1=05-12-19-33-40-52",
                "2=01-09-14-27-38-44", "3=07-08-09-10-11-12", "4=02-04-06-08-10-12",
                "5=11-22-33-44-55-59"});
}

class VersionsWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    versionsHome_.emplace(PathIn("data"));
  }
  void TearDown() override {
    versionsHome_.reset();
    UiTest::TearDown();
  }

  void DeleteRows(frmNumberChecker& form, std::initializer_list<int> rows) {
    for (int row : rows)
      Mark(form, row);
    Trigger(form, "mnuDeleteChecked");
  }

  std::optional<test_support::VersionsHome> versionsHome_;
};

TEST_F(VersionsWindowTest, DeleteKeepsTheFileAsItWasOnceAndSaysNothing) {
  WriteDataFile(FileOfFive());
  frmNumberChecker& form = StartProgram();
  DeleteRows(form, {0, 1, 2, 3, 4});
  Flush();
  const store::Result<store::VersionList> list = store::ListVersions(DataFilePath());
  ASSERT_TRUE(list);
  ASSERT_EQ(list->versions.size(), 1u);
  EXPECT_EQ(ReadFile(list->versions[0].file), FileOfFive());
  EXPECT_EQ(Plays(form)->Count(), 0);
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

// Ctrl+A, Delete, then the version put back from outside: the open window shows every ticket
// again, and a later Delete in it works on the restored list.
TEST_F(VersionsWindowTest, TheWindowFollowsARestore) {
  WriteDataFile(FileOfFive());
  frmNumberChecker& form = StartProgram();
  const std::vector<std::string> five = Plays(form)->Tickets().ToStrings();
  DeleteRows(form, {0, 1, 2, 3, 4});
  const store::Result<store::VersionList> list = store::ListVersions(DataFilePath());
  ASSERT_TRUE(list);
  ASSERT_EQ(list->versions.size(), 1u);
  ASSERT_TRUE(store::RestoreDataFile(DataFilePath(), ReadFile(list->versions[0].file)));
  QTRY_VERIFY(Plays(form)->Tickets() == five);
  DeleteRows(form, {0});
  EXPECT_EQ(store::ReadAllTickets(DataFilePath()).tickets,
            std::vector<std::string>(five.begin() + 1, five.end()));
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

TEST_F(VersionsWindowTest, AVersionThatCannotBeKeptIsToldOnceAfterTheCommand) {
  WriteDataFile(FileOfFive());
  frmNumberChecker& form = StartProgram();
  {
    // The old file is too large to be kept; the shorter list still fits.
    const test_support::FileSizeLimit limit(FileOfFive().size() - 1);
    DeleteRows(form, {0, 1});
  }
  QTRY_COMPARE(desktop_.messages.shown.size(), 1u);
  const platform::MessageRequest& told = desktop_.messages.shown[0].request;
  EXPECT_TRUE(told.text.contains(QString::fromStdString(store::VersionFolderOf(DataFilePath()))))
      << told.text.toStdString();
  EXPECT_TRUE(told.text.contains("File too large")) << told.text.toStdString();
  EXPECT_EQ(told.icon, platform::MessageIcon::Warning);
  EXPECT_EQ(Plays(form)->Count(), 3);

  {
    const test_support::FileSizeLimit limit(ReadFile(DataFilePath()).size() - 1);
    DeleteRows(form, {0});
  }
  Flush();
  EXPECT_EQ(desktop_.messages.shown.size(), 1u) << "a later failure was told again";
  EXPECT_EQ(Plays(form)->Count(), 2);
}

}  // namespace
