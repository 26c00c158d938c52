#include "ui/widgets/PlayListView.h"

#include <QStyledItemDelegate>
#include <algorithm>

#include "ui/widgets/PlayListModel.h"

namespace {

class RowDelegate : public QStyledItemDelegate {
 public:
  RowDelegate(int height, bool highlightCurrent, QObject* parent)
      : QStyledItemDelegate(parent), height_(height), highlightCurrent_(highlightCurrent) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem row(option);
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
        view && highlightCurrent_)
      row.state.setFlag(QStyle::State_Selected, view->currentIndex() == index);
    QStyledItemDelegate::paint(painter, row, index);
  }

 private:
  int height_;
  bool highlightCurrent_;
};

}  // namespace

PlayListView::PlayListView(PlayListModel* model, const QRect& place, QWidget* parent)
    : QListView(parent), marks_(model->Checkable() ? model : nullptr) {
  setUniformItemSizes(true);
  setEditTriggers(NoEditTriggers);
  setModel(model);

  const int text = fontMetrics().height();
  const int box = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
  const int row = marks_ ? std::max(text, box) + 2 : text;
  setItemDelegate(new RowDelegate(row, marks_ != nullptr, this));
  const int frame = 2 * frameWidth();
  const int rows = std::max(1, (place.height() - frame) / row);
  setGeometry(place.x(), place.y(), place.width(), frame + rows * row);

  if (!marks_) {
    setSelectionMode(SingleSelection);
    return;
  }
  setSelectionMode(MultiSelection);
  // After the selection's own handling of a reset, which clears it.
  connect(model, &QAbstractItemModel::modelReset, this,
          [this] { SelectMarks(0, marks_->Count() - 1); });
  connect(model, &QAbstractItemModel::dataChanged, this,
          [this](const QModelIndex& first, const QModelIndex& last) {
            SelectMarks(first.row(), last.row());
          });
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &PlayListView::MarkSelection);
}

QRect PlayListView::visualRect(const QModelIndex& index) const {
  return isVisible() ? QListView::visualRect(index) : QRect();
}

QItemSelectionModel::SelectionFlags PlayListView::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const {
  return marks_ ? QItemSelectionModel::NoUpdate : QListView::selectionCommand(index, event);
}

// The selection of rows first to last made the same as their marks, a stretch at a time.
void PlayListView::SelectMarks(int first, int last) {
  QItemSelection marked, unmarked;
  for (int row = first; row <= last;) {
    const bool mark = marks_->IsChecked(row);
    int end = row;
    while (end < last && marks_->IsChecked(end + 1) == mark)
      ++end;
    (mark ? marked : unmarked).select(marks_->index(row), marks_->index(end));
    row = end + 1;
  }
  selectionModel()->select(unmarked, QItemSelectionModel::Deselect);
  selectionModel()->select(marked, QItemSelectionModel::Select);
}

// A selection made from outside (a screen reader) marks as a check box does.
void PlayListView::MarkSelection(const QItemSelection& selected, const QItemSelection& deselected) {
  for (const bool mark : {true, false}) {
    for (const QItemSelectionRange& range : mark ? selected : deselected) {
      for (int row = range.top(); row <= range.bottom(); ++row) {
        if (marks_->IsChecked(row) != mark)
          marks_->setData(marks_->index(row), mark ? Qt::Checked : Qt::Unchecked,
                          Qt::CheckStateRole);
      }
    }
  }
}
