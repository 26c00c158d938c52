// The all-numbers window: what it lists and how it gives the entry dialog back its input.
#include <QCheckBox>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include "UiFixture.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/other/frmAllNumbers.h"

namespace {

class AllNumbersTest : public UiTest {
 protected:
  frmNumberEntry& OpenEntry() {
    StartProgram();
    Trigger(*main_, "mnuAddPlay");
    return *OpenWindow<frmNumberEntry>();
  }
  static frmAllNumbers& ViewAll(frmNumberEntry& entry) {
    Named<QPushButton>(entry, "cmdAllNumbers")->click();
    return *OpenWindow<frmAllNumbers>();
  }
  static QStringList Listed(const frmAllNumbers& window) {
    QStringList items;
    const QAbstractItemModel* model = Named<QListView>(window, "lstNumbers")->model();
    for (int row = 0; row < model->rowCount(); ++row)
      items << model->index(row, 0).data().toString();
    return items;
  }
};

TEST_F(AllNumbersTest, ListsTicketsJustSavedAndTheEntryDialogWaitsUntilCancelOrEsc) {
  WriteDataFile(Lines({"[Numbers]", "TOTAL=1", "W=00-00-00-00-00-00", "1=01-02-03-04-05-06"}));
  frmNumberEntry& entry = OpenEntry();
  for (int n : {40, 3, 22, 9, 17, 58})
    NumberBox(entry, n)->click();
  entry.cmdNext_Click();

  frmAllNumbers& window = ViewAll(entry);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "VORDANIK Pelmora - All Numbers");
  EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(Listed(window), QStringList({"01-02-03-04-05-06", "40-03-22-09-17-58"}));
  EXPECT_TRUE(Waits(entry)) << "the entry dialog takes no input meanwhile";
  Named<QPushButton>(window, "cmdCancel")->click();
  EXPECT_EQ(OpenWindow<frmAllNumbers>(), nullptr);
  EXPECT_FALSE(Waits(entry));
  Flush();

  frmAllNumbers& again = ViewAll(entry);
  QTest::keyClick(Named<QListView>(again, "lstNumbers"), Qt::Key_Escape);
  EXPECT_EQ(OpenWindow<frmAllNumbers>(), nullptr);
  EXPECT_FALSE(Waits(entry));
  entry.cmdDone_Click();
}

TEST_F(AllNumbersTest, ReadsKeysOneToTheCountInKeyOrder) {
  const std::vector<std::pair<std::string, QStringList>> cases = {
      {Lines({"[Numbers]", "TOTAL=0", "1=01-02-03-04-05-06"}), {}},
      {Lines({"[Numbers]", "1=01-02-03-04-05-06"}), {}},
      {Lines({"[numbers]", "total=3", "3=33-34-35-36-37-38", "1=11-12-13-14-15-16",
              "4=41-42-43-44-45-46"}),
       {"11-12-13-14-15-16", "", "33-34-35-36-37-38"}},
  };
  for (const auto& [bytes, listed] : cases) {
    WriteDataFile(bytes);
    frmNumberEntry& entry = OpenEntry();
    frmAllNumbers& window = ViewAll(entry);
    EXPECT_EQ(Listed(window), listed) << bytes;
    window.cmdCancel_Click();
    entry.cmdDone_Click();
    main_.reset();
  }
}

}  // namespace
