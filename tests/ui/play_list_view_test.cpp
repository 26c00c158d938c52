// The play list works its rows out from their numbers instead of laying each out. It must look
// and move exactly as the toolkit's list of uniform rows does: the reference here is that list,
// given the same model, size and keys.
#include <gtest/gtest.h>

#include <QImage>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "ui/main/PlayListModel.h"
#include "ui/main/PlayListView.h"

namespace {

std::string Ticket(int i) {
  std::string text;
  for (int k = 0; k < 6; ++k) {
    const int n = 1 + (i * 7 + k * 11) % 59;
    text += (k ? "-" : "") + std::string(n < 10 ? "0" : "") + std::to_string(n);
  }
  return text;
}

// What a person sees and a test can ask of a list after each step.
struct Seen {
  std::string step;
  std::vector<int> bars;  // visible, minimum, maximum, value, page of each scroll bar
  int current = -1;
  std::vector<int> selected;
  QRect currentRect;
  std::vector<int> under;  // the rows at a few points
  QImage image;
};

std::vector<Seen> Drive(QListView& view, int rows, QSize size) {
  PlayListModel model(/*checkable=*/true);
  for (int i = 0; i < rows; ++i)
    model.Append(Ticket(i));
  view.setModel(&model);
  view.setSelectionMode(QAbstractItemView::SingleSelection);
  view.resize(size);
  view.show();
  view.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
  view.setFocus();
  std::vector<Seen> seen;
  const auto look = [&](const char* step) {
    Seen s;
    s.step = step;
    for (const QScrollBar* bar : {view.verticalScrollBar(), view.horizontalScrollBar()})
      s.bars.insert(s.bars.end(), {bar->isVisible(), bar->minimum(), bar->maximum(), bar->value(),
                                   bar->pageStep()});
    s.current = view.currentIndex().row();
    for (const QModelIndex& index : view.selectionModel()->selectedIndexes())
      s.selected.push_back(index.row());
    s.currentRect = view.visualRect(view.currentIndex());
    const QRect area = view.viewport()->rect();
    for (const QPoint at :
         {QPoint(3, 2), QPoint(40, 35), QPoint(5, area.height() - 2), QPoint(area.width() - 2, 60)})
      s.under.push_back(view.indexAt(at).row());
    s.image = view.viewport()->grab().toImage();
    seen.push_back(std::move(s));
  };
  look("shown");
  const struct {
    Qt::Key key;
    const char* name;
  } keys[] = {{Qt::Key_Down, "Down"},
              {Qt::Key_Down, "Down"},
              {Qt::Key_PageDown, "PageDown"},
              {Qt::Key_PageDown, "PageDown"},
              {Qt::Key_Space, "Space"},
              {Qt::Key_End, "End"},
              {Qt::Key_Up, "Up"},
              {Qt::Key_PageUp, "PageUp"},
              {Qt::Key_PageUp, "PageUp"},
              {Qt::Key_Home, "Home"},
              {Qt::Key_Up, "Up"},
              {Qt::Key_Right, "Right"}};
  for (const auto& k : keys) {
    QTest::keyClick(&view, k.key);
    look(k.name);
  }
  const int row3 = rows > 3 ? view.visualRect(model.index(3)).center().y() : 5;
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(30, row3));
  look("click on the fourth row");
  view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  look("page down on the scroll bar");
  view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
  look("scroll bar to the end");
  view.hide();
  view.setModel(nullptr);
  return seen;
}

struct Case {
  const char* name;
  int rows;
  QSize size;
};

class PlayListViewTest : public ::testing::TestWithParam<Case> {};

TEST_P(PlayListViewTest, MovesAndDrawsAsTheToolkitsList) {
  const Case& c = GetParam();
  QListView reference;
  reference.setUniformItemSizes(true);
  const std::vector<Seen> expected = Drive(reference, c.rows, c.size);
  PlayListView ours;
  const std::vector<Seen> seen = Drive(ours, c.rows, c.size);
  ASSERT_EQ(seen.size(), expected.size());
  for (std::size_t i = 0; i < seen.size(); ++i) {
    SCOPED_TRACE(seen[i].step);
    EXPECT_EQ(seen[i].bars, expected[i].bars);
    EXPECT_EQ(seen[i].current, expected[i].current);
    EXPECT_EQ(seen[i].selected, expected[i].selected);
    EXPECT_EQ(seen[i].currentRect, expected[i].currentRect);
    EXPECT_EQ(seen[i].under, expected[i].under);
    EXPECT_TRUE(seen[i].image == expected[i].image);
  }
}

INSTANTIATE_TEST_SUITE_P(Lists, PlayListViewTest,
                         ::testing::Values(Case{"Empty", 0, {289, 124}},
                                           Case{"FitsTheView", 4, {289, 124}},
                                           Case{"Longer", 100, {289, 124}},
                                           Case{"RowsMeetTheBottomEdge", 40, {289, 6 * 20}},
                                           Case{"Narrow", 60, {70, 124}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
