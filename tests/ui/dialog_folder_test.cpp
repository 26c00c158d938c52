// New and Open start in the folder of the current data file, whatever the working folder is.
#include <QDir>

#include "UiFixture.h"

namespace {

class DialogFolderTest : public UiTest {};

TEST_F(DialogFolderTest, NewAndOpenStartBesideTheCurrentDataFile) {
  WriteDataFile(Lines({"[Numbers]", "TOTAL=0"}));
  StartProgram();
  const QString sub = folder_.path() + "/kept";
  ASSERT_TRUE(QDir().mkpath(sub));
  const QString other = sub + "/other.pmd";
  WriteFile(other.toStdString(), Lines({"[Numbers]", "TOTAL=0"}));

  main_->mnuNew_Click();  // cancelled
  desktop_.files.answers.push_back(other);
  main_->mnuOpen_Click();
  main_->mnuOpen_Click();  // cancelled, now beside the file just opened
  ASSERT_EQ(desktop_.files.requests.size(), 3u);
  EXPECT_EQ(desktop_.files.requests[0].folder, folder_.path());
  EXPECT_EQ(desktop_.files.requests[1].folder, folder_.path());
  EXPECT_EQ(desktop_.files.requests[2].folder, sub);
}

}  // namespace
