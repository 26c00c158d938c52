#pragma once

#include <QAccessible>
#include <QListView>
#include <QPersistentModelIndex>
#include <algorithm>

// A list of tickets: rows of one height, as the toolkit's list draws and drives them, whose
// places are worked out from the row number instead of laid out one by one. The toolkit's list
// places each of 32,767 rows before it first shows, and again in part whenever its scroll bar is
// set; here that costs nothing whatever the number of rows. Scrolling is by whole rows, the
// keys move as in the toolkit's list, and every row is as wide as the view.
class PlayListView : public QListView {
  Q_OBJECT
 public:
  explicit PlayListView(QWidget* parent = nullptr);

  QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  QModelIndex indexAt(const QPoint& point) const override;
  void doItemsLayout() override;

 protected:
  void scrollContentsBy(int dx, int dy) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  int horizontalOffset() const override;
  int verticalOffset() const override;
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void updateGeometries() override;
  void paintEvent(QPaintEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

 private:
  int Rows() const;
  QSize RowSize() const;
  int RowHeight() const { return std::max(1, RowSize().height()); }
  // Rows that fit the view whole; at least one.
  int RowsPerPage() const;
  int RowAt(int contentsY) const;
  QModelIndex Row(int row) const;
  void Announce(QAccessible::Event what, const QModelIndex& index);

  mutable QSize mRowSize;
  QPersistentModelIndex mHover;
};
