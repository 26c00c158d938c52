// New and Open start in the folder of the current data file, whatever the working folder is.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>

#include "UiFixture.h"
#include "platform/QtPlatform.h"

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
  desktop_.fileAnswers.push_back(other);
  main_->mnuOpen_Click();
  main_->mnuOpen_Click();  // cancelled, now beside the file just opened
  ASSERT_EQ(desktop_.fileDialogs.size(), 3u);
  EXPECT_EQ(desktop_.fileDialogs[0].folder, folder_.path());
  EXPECT_EQ(desktop_.fileDialogs[1].folder, folder_.path());
  EXPECT_EQ(desktop_.fileDialogs[2].folder, sub);
}

TEST_F(DialogFolderTest, TheRealDialogOpensInTheFolderAsked) {
  const QString sub = folder_.path() + "/start here";
  ASSERT_TRUE(QDir().mkpath(sub));
  platform::QtPlatform real;
  QString shown;
  QTimer::singleShot(0, [&] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      shown = dialog->directory().absolutePath();
      dialog->reject();
    }
  });
  platform::FileDialogRequest request;
  request.title = "pick";
  request.filter = {"All Files (*.*)", "*.*"};
  request.folder = sub;
  EXPECT_TRUE(real.ChooseFile(nullptr, request).isEmpty());
  EXPECT_EQ(shown, sub);
}

}  // namespace
