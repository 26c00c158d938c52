// The play list through the accessibility interface, as a screen reader sees and drives it.
#include <QAccessible>
#include <QAction>
#include <QListView>
#include <QtTest/QTest>
#include <algorithm>

#include "UiFixture.h"
#include "ui/widgets/PlayListModel.h"

namespace {

class PlayListAccessibleTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    WriteDataFile(Lines({"[Numbers]", "TOTAL=3", "W=01-02-03-04-05-06", "1=01-02-03-10-11-12",
                         "2=20-21-22-23-24-25", "3=30-31-32-33-34-35"}));
    StartProgram();
    list_ = QAccessible::queryAccessibleInterface(Named<QListView>(*main_, "lstNumbers"));
    ASSERT_NE(list_, nullptr);
    ASSERT_NE(list_->tableInterface(), nullptr);
  }
  QAccessibleInterface* Item(int row) const { return list_->child(row); }
  // The selected rows in list order (the toolkit gives them in the order they were selected).
  QList<int> Selected() const {
    QList<int> rows = list_->tableInterface()->selectedRows();
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  bool DeleteEnabled() const { return Named<QAction>(*main_, "mnuDeleteChecked")->isEnabled(); }

  QAccessibleInterface* list_ = nullptr;
};

TEST_F(PlayListAccessibleTest, TheSelectionIsTheSetOfMarkedTickets) {
  EXPECT_EQ(list_->childCount(), 3);
  EXPECT_EQ(Item(1)->text(QAccessible::Name), "20-21-22-23-24-25");
  Named<QListView>(*main_, "lstNumbers")->setFocus();
  Named<QListView>(*main_, "lstNumbers")->setCurrentIndex(Plays(*main_)->index(1));
  QTest::keyClick(Named<QListView>(*main_, "lstNumbers"), Qt::Key_Space);
  ASSERT_TRUE(Plays(*main_)->IsChecked(1));

  EXPECT_EQ(Selected(), QList<int>{1});
  EXPECT_EQ(list_->tableInterface()->selectedCellCount(), 1);
  EXPECT_EQ(list_->tableInterface()->selectedCells(), QList<QAccessibleInterface*>{Item(1)});
  EXPECT_TRUE(Item(1)->state().checked && Item(1)->state().selected);
  EXPECT_FALSE(Item(0)->state().selected);
  // The view's own current row is no mark.
  EXPECT_FALSE(list_->tableInterface()->isRowSelected(0));
}

struct MarkWay {
  const char* name;
  void (*mark)(QAccessibleInterface* list, int row);
  void (*unmark)(QAccessibleInterface* list, int row);
};

void Toggle(QAccessibleInterface* list, int row) {
  QAccessibleActionInterface* actions = list->child(row)->actionInterface();
  ASSERT_NE(actions, nullptr);
  ASSERT_EQ(actions->actionNames(), QStringList{QAccessibleActionInterface::toggleAction()});
  actions->doAction(QAccessibleActionInterface::toggleAction());
}

class MarkWayTest : public PlayListAccessibleTest, public ::testing::WithParamInterface<MarkWay> {};

TEST_P(MarkWayTest, MarksAndUnmarksAsSpaceDoes) {
  GetParam().mark(list_, 2);
  EXPECT_TRUE(Plays(*main_)->IsChecked(2));
  EXPECT_EQ(Selected(), QList<int>{2});
  EXPECT_TRUE(DeleteEnabled());
  GetParam().mark(list_, 0);
  EXPECT_EQ(Selected(), (QList<int>{0, 2}));

  GetParam().unmark(list_, 2);
  GetParam().unmark(list_, 0);
  EXPECT_EQ(Plays(*main_)->CheckedCount(), 0);
  EXPECT_FALSE(DeleteEnabled());
  EXPECT_FALSE(Named<QListView>(*main_, "lstNumbers")->selectionModel()->hasSelection())
      << "marking must not move the view's own selection";
}

INSTANTIATE_TEST_SUITE_P(Ways, MarkWayTest,
                         ::testing::Values(MarkWay{"ToggleAction", Toggle, Toggle},
                                           MarkWay{"SelectRow",
                                                   [](QAccessibleInterface* l, int r) {
                                                     l->tableInterface()->selectRow(r);
                                                   },
                                                   [](QAccessibleInterface* l, int r) {
                                                     l->tableInterface()->unselectRow(r);
                                                   }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayListAccessibleTest, ItemsOfTheHiddenListAreNotShowing) {
  EXPECT_FALSE(Item(0)->state().invisible);
  EXPECT_FALSE(Item(0)->rect().isEmpty());
  Trigger(*main_, "mnuCheck");  // F5: the results box takes the list's place
  Flush();
  ASSERT_FALSE(Named<QListView>(*main_, "lstNumbers")->isVisible());
  for (int row = 0; row < 3; ++row) {
    EXPECT_TRUE(Item(row)->state().invisible) << row;
  }
  Trigger(*main_, "mnuViewAll");
  EXPECT_FALSE(Item(0)->state().invisible);
}

TEST_F(PlayListAccessibleTest, ItemsFollowTheListWhenMarkedTicketsAreDeleted) {
  Toggle(list_, 0);
  Trigger(*main_, "mnuDeleteChecked");
  desktop_.messages.answers.clear();
  ASSERT_EQ(Plays(*main_)->Count(), 2);
  EXPECT_EQ(list_->childCount(), 2);
  // The items themselves are made afresh only while a screen reader listens, which the
  // off-screen platform never has.
  EXPECT_TRUE(Selected().isEmpty());
}

}  // namespace
