#include "ui/main/PlayListView.h"

#include <QAccessible>
#include <QHoverEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStylePainter>
#include <algorithm>

PlayListView::PlayListView(QWidget* parent) : QListView(parent) {
  setUniformItemSizes(true);
}

int PlayListView::Rows() const {
  return model() ? model()->rowCount(rootIndex()) : 0;
}

QModelIndex PlayListView::Row(int row) const {
  return model() ? model()->index(row, modelColumn(), rootIndex()) : QModelIndex();
}

// Every row is the size of the first, as in a list of uniform items.
QSize PlayListView::RowSize() const {
  if (!mRowSize.isValid() && Rows() > 0) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex first = Row(0);
    mRowSize = itemDelegateForIndex(first)->sizeHint(option, first);
  }
  return mRowSize.isValid() ? mRowSize : QSize(0, 0);
}

int PlayListView::RowsPerPage() const {
  return std::max(1, viewport()->height() / RowHeight());
}

int PlayListView::RowAt(int contentsY) const {
  return contentsY < 0 ? -1 : contentsY / RowHeight();
}

int PlayListView::horizontalOffset() const {
  const QScrollBar* bar = horizontalScrollBar();
  return isRightToLeft() ? bar->maximum() - bar->value() : bar->value();
}

// The scroll bar counts rows.
int PlayListView::verticalOffset() const {
  return verticalScrollBar()->value() * RowHeight();
}

QRect PlayListView::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || index.parent() != rootIndex() || index.column() != modelColumn() ||
      index.row() >= Rows())
    return {};
  const QSize row = RowSize();
  // A row is as wide as the view, or as its widest text when that is wider.
  const int width = std::max(row.width(), viewport()->width());
  return QRect(-horizontalOffset(), index.row() * row.height() - verticalOffset(), width,
               row.height());
}

QModelIndex PlayListView::indexAt(const QPoint& point) const {
  const int row = RowAt(point.y() + verticalOffset());
  if (row < 0 || row >= Rows())
    return {};
  const QModelIndex index = Row(row);
  return visualRect(index).contains(point) ? index : QModelIndex();
}

void PlayListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (index.parent() != rootIndex() || index.column() != modelColumn())
    return;
  const QRect rect = visualRect(index);
  if (!rect.isValid())
    return;
  const QRect area = viewport()->rect();
  if (hint == EnsureVisible && area.contains(rect)) {
    viewport()->update(rect);
    return;
  }
  if (hint == EnsureVisible) {
    if (rect.top() < area.top())
      hint = PositionAtTop;
    else if (rect.bottom() > area.bottom())
      hint = PositionAtBottom;
    else
      return;
  }
  // The rows that fit above and with the row, itself included.
  const int row = index.row();
  const int fit = std::min(row + 1, RowsPerPage());
  int value = row;
  if (hint == PositionAtBottom)
    value = row - fit + 1;
  else if (hint == PositionAtCenter)
    value = row - fit / 2;
  verticalScrollBar()->setValue(value);
}

void PlayListView::scrollContentsBy(int dx, int dy) {
  QAbstractItemView::scrollContentsBy(isRightToLeft() ? -dx : dx, dy * RowHeight());
}

QModelIndex PlayListView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
  const int rows = Rows();
  const QModelIndex current = currentIndex();
  if (rows == 0)
    return {};
  if (!current.isValid())
    return Row(0);
  const int row = current.row();
  // A page is the rows that fit the view whole, counting the one left and the one reached.
  const int page = RowsPerPage() - 1;
  switch (action) {
    case MoveUp:
    case MovePrevious:
      return Row(std::max(0, row - 1));
    case MoveDown:
    case MoveNext:
      return Row(std::min(rows - 1, row + 1));
    case MovePageUp:
      if (RowHeight() >= viewport()->height())
        return Row(std::max(0, row - 1));
      return Row(std::max(0, row - page));
    case MovePageDown:
      if (RowHeight() >= viewport()->height())
        return Row(std::min(rows - 1, row + 1));
      return Row(std::min(rows - 1, row + page));
    case MoveHome:
      return Row(0);
    case MoveEnd:
      return Row(rows - 1);
    case MoveLeft:
    case MoveRight:
      break;
  }
  return current;
}

void PlayListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
  if (!selectionModel())
    return;
  const int rows = Rows();
  const QRect contents = rect.normalized().translated(horizontalOffset(), verticalOffset());
  const int first = std::max(0, RowAt(std::max(0, contents.top())));
  const int last = std::min(rows - 1, RowAt(std::max(0, contents.bottom())));
  QItemSelection selection;
  if (rows > 0 && contents.bottom() >= 0 && first <= last) {
    // A click selects the row under it; a stretch selects the rows it crosses.
    if (rect.width() == 1 && rect.height() == 1)
      selection.select(Row(first), Row(first));
    else
      selection.select(Row(first), Row(last));
  }
  selectionModel()->select(selection, command);
}

QRegion PlayListView::visualRegionForSelection(const QItemSelection& selection) const {
  QRegion region;
  const QRect area = viewport()->rect();
  for (const QItemSelectionRange& range : selection) {
    if (!range.isValid() || range.parent() != rootIndex())
      continue;
    const QRect rect(visualRect(Row(range.top())).topLeft(),
                     visualRect(Row(range.bottom())).bottomRight());
    if (area.intersects(rect))
      region += rect;
  }
  return region;
}

void PlayListView::doItemsLayout() {
  mRowSize = QSize();
  QAbstractItemView::doItemsLayout();
}

void PlayListView::updateGeometries() {
  const int rows = Rows();
  QScrollBar* across = horizontalScrollBar();
  QScrollBar* down = verticalScrollBar();
  if (geometry().isEmpty() || rows <= 0) {
    across->setRange(0, 0);
    down->setRange(0, 0);
  } else {
    const QSize row = RowSize();
    const QSize contents(row.width(), rows * RowHeight());
    across->setSingleStep(row.width());
    across->setPageStep(viewport()->width());
    // With both scroll bars shown as needed, the one across stays hidden while the text fits
    // beside the other: else each would make room for the other in turn.
    const QSize most = maximumViewportSize();
    const bool downShown = contents.height() > most.height();
    const bool acrossWanted = contents.width() > most.width() - (downShown ? down->width() : 0);
    const bool bothAsNeeded = verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded &&
                              horizontalScrollBarPolicy() == Qt::ScrollBarAsNeeded;
    across->setRange(0, bothAsNeeded && !acrossWanted ? 0 : contents.width() - viewport()->width());
    // Scrolling by rows: the last value shows the rows that fit whole, the last row among them.
    const int page =
        contents.height() <= viewport()->height() ? rows + 1 : viewport()->height() / RowHeight();
    down->setSingleStep(1);
    down->setPageStep(page);
    down->setRange(0, std::max(0, rows - page));
  }
  QAbstractItemView::updateGeometries();
  // The scroll bars appear or go now, not after the next turn of the event loop: the first paint
  // already has them.
  setViewportMargins(viewportMargins());
}

void PlayListView::paintEvent(QPaintEvent* event) {
  const int rows = Rows();
  if (rows == 0 || !itemDelegate())
    return;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  QStylePainter painter(viewport());
  const QRect area = event->rect().translated(horizontalOffset(), verticalOffset());
  const int first = std::max(0, RowAt(std::max(0, area.top())));
  const int last = std::min(rows - 1, RowAt(std::max(0, area.bottom())));
  const QModelIndex current = currentIndex();
  const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
  const QStyle::State state = option.state;
  const bool enabled = (state & QStyle::State_Enabled) != 0;
  const int widest = std::max(viewport()->width(), RowSize().width());
  for (int row = first; row <= last && area.bottom() >= 0; ++row) {
    const QModelIndex index = Row(row);
    option.rect = visualRect(index);
    option.rect.setWidth(std::min(widest, option.rect.width()));
    option.state = state;
    if (selectionModel() && selectionModel()->isSelected(index))
      option.state |= QStyle::State_Selected;
    if (enabled) {
      const bool itemEnabled = (model()->flags(index) & Qt::ItemIsEnabled) != 0;
      if (!itemEnabled)
        option.state &= ~QStyle::State_Enabled;
      option.palette.setCurrentColorGroup(itemEnabled ? QPalette::Normal : QPalette::Disabled);
    }
    if (focus && current == index) {
      option.state |= QStyle::State_HasFocus;
      if (this->state() == EditingState)
        option.state |= QStyle::State_Editing;
    }
    option.state.setFlag(QStyle::State_MouseOver, index == mHover);
    if (alternatingRowColors()) {
      option.features.setFlag(QStyleOptionViewItem::Alternate, (row & 1) != 0);
      const QStyle::State drawn = option.state;
      option.state &= ~QStyle::State_Selected;
      painter.drawPrimitive(QStyle::PE_PanelItemViewRow, option);
      option.state = drawn;
    }
    itemDelegateForIndex(index)->paint(&painter, option, index);
  }
}

bool PlayListView::viewportEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
      mHover = indexAt(static_cast<QHoverEvent*>(event)->position().toPoint());
      break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
      mHover = QModelIndex();
      break;
    default:
      break;
  }
  return QListView::viewportEvent(event);
}

// A screen reader hears of the row by its number: the list hides none.
void PlayListView::Announce(QAccessible::Event what, const QModelIndex& index) {
  if (!QAccessible::isActive() || !index.isValid())
    return;
  QAccessibleEvent event(this, what);
  event.setChild(index.row());
  QAccessible::updateAccessibility(&event);
}

void PlayListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QAbstractItemView::currentChanged(current, previous);
  Announce(QAccessible::Focus, current);
}

void PlayListView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
  Announce(QAccessible::SelectionAdd, selected.indexes().value(0));
  Announce(QAccessible::SelectionRemove, deselected.indexes().value(0));
  QAbstractItemView::selectionChanged(selected, deselected);
}
