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
  frmNumberEntry& Open(EntryMode mode, const char* storedWinning = "00-00-00-00-00-00") {
    WriteDataFile(Lines({"[Numbers]", "TOTAL=0", (std::string("W=") + storedWinning).c_str()}));
    StartProgram();
    Trigger(*main_, mode == EntryMode::Winning ? "mnuWinning" : "mnuAddPlay");
    return *OpenWindow<frmNumberEntry>();
  }
  static void Click(frmNumberEntry& dialog, std::initializer_list<int> numbers) {
    for (int n : numbers)
      NumberBox(dialog, n)->click();
  }
  static std::vector<int> Checked(const frmNumberEntry& dialog) {
    std::vector<int> boxes;
    for (int i = 1; i <= 59; ++i)
      if (NumberBox(dialog, i)->isChecked())
        boxes.push_back(i);
    return boxes;
  }
  static int EnabledBoxes(const frmNumberEntry& dialog) {
    int count = 0;
    for (int i = 1; i <= 59; ++i)
      count += NumberBox(dialog, i)->isEnabled() ? 1 : 0;
    return count;
  }
  // What is painted, not what the palette holds: a corner of the box, clear of tick and caption.
  static QColor Painted(const frmNumberEntry& dialog, int i) {
    QCheckBox* box = NumberBox(dialog, i);
    return box->grab().toImage().pixelColor(box->width() - 2, box->height() - 2);
  }
  static bool IsRed(const frmNumberEntry& dialog, int i) {
    return Painted(dialog, i) == QColor(255, 0, 0);
  }
};

TEST_F(EntryPicksTest, PicksKeepPickOrderAndUnpicksLeaveAGapThatTheNextPickFills) {
  frmNumberEntry& dialog = Open(EntryMode::Plays);
  EXPECT_EQ(dialog.windowTitle(), kDesignCaption);
  Click(dialog, {5, 12, 30});
  EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), "05-12-30-00-00-00");
  EXPECT_EQ(dialog.windowTitle(), "You have picked 3 of 6 numbers.");
  EXPECT_TRUE(IsRed(dialog, 12));
  Click(dialog, {12});
  EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), "05-00-30-00-00-00");
  EXPECT_FALSE(IsRed(dialog, 12));
  // A value set from code runs the handler too, and only when it changes.
  NumberBox(dialog, 7)->setChecked(true);
  NumberBox(dialog, 7)->setChecked(true);
  EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), "05-07-30-00-00-00");
  EXPECT_EQ(dialog.windowTitle(), "You have picked 3 of 6 numbers.");

  dialog.cmdClear_Click();
  Click(dialog, {40, 3, 22, 9, 17});
  EXPECT_FALSE(Named<QPushButton>(dialog, "cmdNext")->isEnabled());
  Click(dialog, {58});
  EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), "40-03-22-09-17-58");
  EXPECT_EQ(dialog.windowTitle(), "You have picked 6 of 6 numbers.");
  EXPECT_EQ(EnabledBoxes(dialog), 6);
  EXPECT_TRUE(Named<QPushButton>(dialog, "cmdNext")->isEnabled());
  EXPECT_EQ(dialog.focusWidget(), Named<QPushButton>(dialog, "cmdNext"));
  Click(dialog, {22});  // leaving the limit frees every box again
  EXPECT_EQ(EnabledBoxes(dialog), 59);
  EXPECT_FALSE(Named<QPushButton>(dialog, "cmdNext")->isEnabled());
}

TEST_F(EntryPicksTest, ClearAtTheLimitUnchecksEveryBoxAndFreesTheGrid) {
  frmNumberEntry& dialog = Open(EntryMode::Plays);
  dialog.cmdClear_Click();
  EXPECT_EQ(dialog.windowTitle(), kDesignCaption) << "Clear with nothing picked changes nothing";
  Click(dialog, {2, 11, 23, 37, 44, 50});
  dialog.cmdClear_Click();
  EXPECT_TRUE(Checked(dialog).empty());
  EXPECT_EQ(EnabledBoxes(dialog), 59);
  EXPECT_FALSE(IsRed(dialog, 50));
  EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), "00-00-00-00-00-00");
  EXPECT_EQ(dialog.windowTitle(), "You have picked 0 of 6 numbers.");
}

struct WinningStart {
  const char* name;
  const char* stored;
  std::vector<int> checked;
  const char* caption;
  int enabled;
  const char* afterPicking33;
};

class WinningModeStart : public EntryPicksTest,
                         public ::testing::WithParamInterface<WinningStart> {};

TEST_P(WinningModeStart, StartsFromTheMainWindowsWinningNumber) {
  const WinningStart& c = GetParam();
  frmNumberEntry& dialog = Open(EntryMode::Winning, c.stored);
  EXPECT_EQ(Checked(dialog), c.checked);
  EXPECT_EQ(dialog.windowTitle(), c.caption);
  EXPECT_EQ(EnabledBoxes(dialog), c.enabled);
  EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), c.stored);
  EXPECT_TRUE(Named<QPushButton>(dialog, "cmdNext")->isHidden());
  EXPECT_TRUE(Named<QPushButton>(dialog, "cmdAllNumbers")->isHidden());
  EXPECT_EQ(dialog.CancelButton(), Named<QPushButton>(dialog, "cmdCancel"));
  Click(dialog, {33});
  EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), c.afterPicking33);
  dialog.cmdCancel_Click();
}

INSTANTIATE_TEST_SUITE_P(
    Stored, WinningModeStart,
    ::testing::Values(
        WinningStart{"Complete",
                     "07-14-21-28-35-42",
                     {7, 14, 21, 28, 35, 42},
                     "You have picked 6 of 6 numbers.",
                     6,
                     "07-14-21-28-35-42"},
        WinningStart{"Empty", "00-00-00-00-00-00", {}, kDesignCaption, 59, "33-00-00-00-00-00"},
        WinningStart{"TwoPositions",
                     "05-12-00-00-00-00",
                     {5, 12},
                     "You have picked 2 of 6 numbers.",
                     59,
                     "05-12-33-00-00-00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EntryPicksTest, FieldsThatNameNoBoxAreKeptUntilAPickReplacesThem) {
  // Only a winning number edited outside the program holds such fields.
  frmNumberEntry& dialog = Open(EntryMode::Winning, "ab-05-12-05-60-00");
  EXPECT_EQ(Checked(dialog), (std::vector<int>{5, 12}));
  EXPECT_EQ(dialog.windowTitle(), "You have picked 2 of 6 numbers.");
  EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), "ab-05-12-05-60-00");
  // An unpick empties every field holding the number, also past a field that is no number.
  Click(dialog, {5});
  EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), "ab-00-12-00-60-00");
  Click(dialog, {7, 8});
  EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), "07-08-12-00-60-00");
  dialog.cmdCancel_Click();
  main_.reset();

  // A short stored number: its missing fields read as empty and Done refuses them.
  frmNumberEntry& shorter = Open(EntryMode::Winning, "05");
  EXPECT_EQ(Named<QLabel>(shorter, "Label1")->text(), "05-00-00-00-00-00");
  shorter.cmdDone_Click();
  ASSERT_EQ(desktop_.messages.shown.size(), 1u);
  EXPECT_EQ(desktop_.messages.shown[0].request.text, "05-00-00-00-00-00 Can't contain 00");
  shorter.cmdCancel_Click();
}

struct PlaysStart {
  const char* name;
  std::string total;
  QString ticket;
};

class PlayModeStart : public EntryPicksTest, public ::testing::WithParamInterface<PlaysStart> {};

TEST_P(PlayModeStart, ShowsTheNextTicketNumberFromTheFileCount) {
  const PlaysStart& c = GetParam();
  WriteDataFile(Lines({"[Numbers]", ("TOTAL=" + c.total).c_str()}));
  StartProgram();
  Trigger(*main_, "mnuAddPlay");
  frmNumberEntry& dialog = *OpenWindow<frmNumberEntry>();
  EXPECT_EQ(Named<QLabel>(dialog, "lbltotaltickets")->text().toStdString(), c.total);
  EXPECT_EQ(Named<QLabel>(dialog, "lblticketnumber")->text(), c.ticket);
  EXPECT_EQ(dialog.CancelButton(), Named<QPushButton>(dialog, "cmdDone"));
  EXPECT_EQ(dialog.focusWidget(), Named<QPushButton>(dialog, "cmdDone"));
  EXPECT_EQ(NumberBox(dialog, store::kHighestNumber)->text(), "[59]");
  dialog.cmdDone_Click();
}

INSTANTIATE_TEST_SUITE_P(Total, PlayModeStart,
                         ::testing::Values(PlaysStart{"Zero", "0", "1"},
                                           PlaysStart{"Twelve", "12", "13"},
                                           PlaysStart{"Missing", "", ""},
                                           PlaysStart{"NotANumber", "abc", ""},
                                           PlaysStart{"Negative", "-3", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// A screen reader reads each label by its name: the ticket, the ticket number and the total
// must be what it hears, and each box by its caption and checked state.
TEST_F(EntryPicksTest, ScreenReadersHearTheTicketTheCountsAndEachBox) {
  frmNumberEntry& dialog = Open(EntryMode::Plays);
  Click(dialog, {9, 41});
  auto name = [](QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
  };
  EXPECT_EQ(name(Named<QLabel>(dialog, "Label1")), "09-41-00-00-00-00");
  EXPECT_EQ(name(Named<QLabel>(dialog, "lblticketnumber")), "1");
  EXPECT_EQ(name(Named<QLabel>(dialog, "lbltotaltickets")), "0");
  EXPECT_EQ(name(NumberBox(dialog, 41)), "[41]");
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(NumberBox(dialog, 41));
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->state().checked);
  EXPECT_EQ(box->role(), QAccessible::CheckBox);
}

TEST_F(EntryPicksTest, EveryBoxShowsItsWholeCaptionAndTheWindowBackgroundUntilPicked) {
  frmNumberEntry& dialog = Open(EntryMode::Plays);
  for (int i = 1; i <= 59; ++i) {
    QCheckBox* box = NumberBox(dialog, i);
    EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString() << " is cut off";
  }
  const QColor background = QApplication::palette().color(QPalette::Base);
  EXPECT_EQ(Painted(dialog, 30), background);
  Click(dialog, {30});
  EXPECT_EQ(Painted(dialog, 30), QColor(255, 0, 0));
  Click(dialog, {30});
  EXPECT_EQ(Painted(dialog, 30), background);
}
