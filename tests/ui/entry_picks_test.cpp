// The number grid of the entry dialog: picks, unpicks, the limit of six, Clear, and the load step
// in both modes.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "UiFixture.h"
#include "ui/entry/frmNumberEntry.h"

namespace {

const char kDesignCaption[] = "VORDANIK Pelmora-Number Entry Form";

class EntryPicksTest : public UiTest {
 protected:
  frmNumberEntry& Open(std::uint8_t mode, const char* storedWinning = "00-00-00-00-00-00") {
    WriteDataFile(Lines({"[Numbers]", "TOTAL=0", (std::string("W=") + storedWinning).c_str()}));
    StartProgram();
    main_->OpenEntryDialog(mode);
    return *forms::NumberEntry();
  }
  static void Click(frmNumberEntry& dialog, std::initializer_list<int> numbers) {
    for (int n : numbers)
      dialog.ck01[n]->click();
  }
  static std::vector<int> Checked(const frmNumberEntry& dialog) {
    std::vector<int> boxes;
    for (int i = 1; i <= 59; ++i)
      if (dialog.ck01[i]->isChecked())
        boxes.push_back(i);
    return boxes;
  }
  static int EnabledBoxes(const frmNumberEntry& dialog) {
    int count = 0;
    for (int i = 1; i <= 59; ++i)
      count += dialog.ck01[i]->isEnabled() ? 1 : 0;
    return count;
  }
  // What is painted, not what the palette holds: a corner of the box, clear of tick and caption.
  static QColor Painted(const frmNumberEntry& dialog, int i) {
    QCheckBox* box = dialog.ck01[i];
    return box->grab().toImage().pixelColor(box->width() - 2, box->height() - 2);
  }
  static bool IsRed(const frmNumberEntry& dialog, int i) {
    return Painted(dialog, i) == QColor(255, 0, 0);
  }
};

TEST_F(EntryPicksTest, PicksKeepPickOrderAndUnpicksLeaveAGapThatTheNextPickFills) {
  frmNumberEntry& dialog = Open(modPelmora::kEntryPlays);
  EXPECT_EQ(dialog.windowTitle(), kDesignCaption);
  Click(dialog, {5, 12, 30});
  EXPECT_EQ(dialog.Label1->text(), "05-12-30-00-00-00");
  EXPECT_EQ(dialog.windowTitle(), "You have picked 3 of 6 numbers.");
  EXPECT_TRUE(IsRed(dialog, 12));
  Click(dialog, {12});
  EXPECT_EQ(dialog.Label1->text(), "05-00-30-00-00-00");
  EXPECT_FALSE(IsRed(dialog, 12));
  // A value set from code runs the handler too, and only when it changes.
  dialog.ck01[7]->setChecked(true);
  dialog.ck01[7]->setChecked(true);
  EXPECT_EQ(dialog.Label1->text(), "05-07-30-00-00-00");
  EXPECT_EQ(modPelmora::gPickedCount, 3);

  dialog.cmdClear_Click();
  Click(dialog, {40, 3, 22, 9, 17});
  EXPECT_FALSE(dialog.cmdNext->isEnabled());
  Click(dialog, {58});
  EXPECT_EQ(dialog.Label1->text(), "40-03-22-09-17-58");
  EXPECT_EQ(dialog.windowTitle(), "You have picked 6 of 6 numbers.");
  EXPECT_EQ(EnabledBoxes(dialog), 6);
  EXPECT_TRUE(dialog.cmdNext->isEnabled());
  EXPECT_EQ(dialog.focusWidget(), dialog.cmdNext);
  Click(dialog, {22});  // leaving the limit frees every box again
  EXPECT_EQ(EnabledBoxes(dialog), 59);
  EXPECT_FALSE(dialog.cmdNext->isEnabled());
}

TEST_F(EntryPicksTest, ClearUnchecksEveryBoxEvenWhenTheHandlersReuseTheSharedIndex) {
  frmNumberEntry& dialog = Open(modPelmora::kEntryPlays);
  dialog.cmdClear_Click();
  EXPECT_EQ(dialog.windowTitle(), kDesignCaption) << "Clear with nothing picked changes nothing";
  // At the limit the first box cleared runs EnableAllNumbers over gIdx; the clearing loop must
  // still reach the other five.
  Click(dialog, {2, 11, 23, 37, 44, 50});
  dialog.cmdClear_Click();
  EXPECT_TRUE(Checked(dialog).empty());
  EXPECT_EQ(modPelmora::gPickedCount, 0);
  EXPECT_EQ(EnabledBoxes(dialog), 59);
  EXPECT_FALSE(IsRed(dialog, 50));
  EXPECT_EQ(dialog.Label1->text(), "00-00-00-00-00-00");
  EXPECT_EQ(dialog.windowTitle(), "You have picked 0 of 6 numbers.");
}

TEST_F(EntryPicksTest, WinningModeStartsFromTheMainWindowsWinningNumber) {
  struct Case {
    const char* stored;
    std::vector<int> checked;
    const char* caption;
    int enabled;
    const char* afterPicking33;
  };
  const std::vector<Case> cases = {
      {"07-14-21-28-35-42",
       {7, 14, 21, 28, 35, 42},
       "You have picked 6 of 6 numbers.",
       6,
       "07-14-21-28-35-42"},
      {"00-00-00-00-00-00", {}, kDesignCaption, 59, "33-00-00-00-00-00"},
      {"05-12-00-00-00-00", {5, 12}, "You have picked 2 of 6 numbers.", 59, "05-12-33-00-00-00"},
  };
  for (const Case& c : cases) {
    frmNumberEntry& dialog = Open(modPelmora::kEntryWinning, c.stored);
    EXPECT_EQ(Checked(dialog), c.checked) << c.stored;
    EXPECT_EQ(dialog.windowTitle(), c.caption) << c.stored;
    EXPECT_EQ(EnabledBoxes(dialog), c.enabled) << c.stored;
    EXPECT_EQ(dialog.Label1->text(), c.stored);
    EXPECT_TRUE(dialog.cmdNext->isHidden());
    EXPECT_TRUE(dialog.cmdAllNumbers->isHidden());
    EXPECT_EQ(dialog.CancelButton(), dialog.cmdCancel);
    Click(dialog, {33});
    EXPECT_EQ(dialog.Label1->text(), c.afterPicking33) << c.stored;
    dialog.cmdCancel_Click();
    main_.reset();
  }
}

TEST_F(EntryPicksTest, FieldsThatNameNoBoxAreKeptUntilAPickReplacesThem) {
  // Only a winning number edited outside the program holds such fields.
  frmNumberEntry& dialog = Open(modPelmora::kEntryWinning, "ab-05-12-05-60-00");
  EXPECT_EQ(Checked(dialog), (std::vector<int>{5, 12}));
  EXPECT_EQ(modPelmora::gPickedCount, 2);
  EXPECT_EQ(dialog.Label1->text(), "ab-05-12-05-60-00");
  // An unpick empties every field holding the number, also past a field that is no number.
  Click(dialog, {5});
  EXPECT_EQ(dialog.Label1->text(), "ab-00-12-00-60-00");
  Click(dialog, {7, 8});
  EXPECT_EQ(dialog.Label1->text(), "07-08-12-00-60-00");
  dialog.cmdCancel_Click();
  main_.reset();

  // A short stored number: its missing fields read as empty and Done refuses them.
  frmNumberEntry& shorter = Open(modPelmora::kEntryWinning, "05");
  EXPECT_EQ(shorter.Label1->text(), "05-00-00-00-00-00");
  shorter.cmdDone_Click();
  ASSERT_EQ(desktop_.messages.shown.size(), 1u);
  EXPECT_EQ(desktop_.messages.shown[0].request.text, "05-00-00-00-00-00 Can't contain 00");
  shorter.cmdCancel_Click();
}

TEST_F(EntryPicksTest, PlayModeShowsTheNextTicketNumberFromTheFileCount) {
  for (const auto& [total, ticket] : std::vector<std::pair<std::string, QString>>{
           {"0", "1"}, {"12", "13"}, {"", ""}, {"abc", ""}, {"-3", ""}}) {
    WriteDataFile(Lines({"[Numbers]", ("TOTAL=" + total).c_str()}));
    StartProgram();
    main_->OpenEntryDialog(modPelmora::kEntryPlays);
    frmNumberEntry& dialog = *forms::NumberEntry();
    EXPECT_EQ(dialog.lbltotaltickets->text().toStdString(), total);
    EXPECT_EQ(dialog.lblticketnumber->text(), ticket) << total;
    EXPECT_EQ(dialog.CancelButton(), dialog.cmdDone);
    EXPECT_EQ(dialog.focusWidget(), dialog.cmdDone);
    EXPECT_EQ(dialog.ck01[59]->text(), "[59]");
    dialog.cmdDone_Click();
    main_.reset();
  }
}

}  // namespace

// A screen reader reads each label by its name: the ticket, the ticket number and the total
// must be what it hears, and each box by its caption and checked state.
TEST_F(EntryPicksTest, ScreenReadersHearTheTicketTheCountsAndEachBox) {
  frmNumberEntry& dialog = Open(modPelmora::kEntryPlays);
  Click(dialog, {9, 41});
  auto name = [](QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
  };
  EXPECT_EQ(name(dialog.Label1), "09-41-00-00-00-00");
  EXPECT_EQ(name(dialog.lblticketnumber), "1");
  EXPECT_EQ(name(dialog.lbltotaltickets), "0");
  EXPECT_EQ(name(dialog.ck01[41]), "[41]");
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(dialog.ck01[41]);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->state().checked);
  EXPECT_EQ(box->role(), QAccessible::CheckBox);
}

TEST_F(EntryPicksTest, EveryBoxShowsItsWholeCaptionAndTheWindowBackgroundUntilPicked) {
  frmNumberEntry& dialog = Open(modPelmora::kEntryPlays);
  for (int i = 1; i <= 59; ++i) {
    QCheckBox* box = dialog.ck01[i];
    EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString() << " is cut off";
  }
  const QColor background = QApplication::palette().color(QPalette::Base);
  EXPECT_EQ(Painted(dialog, 30), background);
  Click(dialog, {30});
  EXPECT_EQ(Painted(dialog, 30), QColor(255, 0, 0));
  Click(dialog, {30});
  EXPECT_EQ(Painted(dialog, 30), background);
}
