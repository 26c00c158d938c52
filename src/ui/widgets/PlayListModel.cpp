#include "ui/widgets/PlayListModel.h"

#include <algorithm>

#include "app/FileText.h"

int PlayListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

QVariant PlayListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count())
    return {};
  const auto row = static_cast<std::size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return modPelmora::FileText(tickets_[row]);
    case Qt::CheckStateRole:
      if (!checkable_)
        return {};
      return marks_[row] ? Qt::Checked : Qt::Unchecked;
    default:
      return {};
  }
}

bool PlayListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!checkable_ || role != Qt::CheckStateRole || !index.isValid() || index.row() >= Count())
    return false;
  SetChecked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
  emit userToggled(index.row());
  return true;
}

Qt::ItemFlags PlayListModel::flags(const QModelIndex& index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (checkable_)
    f |= Qt::ItemIsUserCheckable;
  return f;
}

void PlayListModel::SetTickets(store::TicketTexts tickets) {
  beginResetModel();
  tickets_ = std::move(tickets);
  MarkWritten();
  marks_.assign(tickets_.size(), 0);
  checkedCount_ = 0;
  endResetModel();
}

void PlayListModel::SetChecked(int i, bool checked) {
  if (i < 0 || i >= Count())
    return;
  auto& mark = marks_[static_cast<std::size_t>(i)];
  if ((mark != 0) == checked)
    return;
  mark = checked ? 1 : 0;
  checkedCount_ += checked ? 1 : -1;
  const QModelIndex at = index(i);
  emit dataChanged(at, at, {Qt::CheckStateRole});
}

void PlayListModel::SetAllChecked(bool checked) {
  if (tickets_.empty())
    return;
  std::fill(marks_.begin(), marks_.end(), checked ? 1 : 0);
  checkedCount_ = checked ? Count() : 0;
  emit dataChanged(index(0), index(Count() - 1), {Qt::CheckStateRole});
}

void PlayListModel::RemoveChecked(bool written) {
  if (checkedCount_ == 0)
    return;
  if (written) {
    MarkWritten();
  } else if (loadedIsList_) {
    loaded_ = tickets_;
    loadedIsList_ = false;
  }
  beginResetModel();
  tickets_.RemoveMarked(marks_);
  marks_.assign(tickets_.size(), 0);
  checkedCount_ = 0;
  endResetModel();
}

void PlayListModel::SetLoaded(store::TicketTexts tickets) {
  loaded_ = std::move(tickets);
  loadedIsList_ = false;
}

void PlayListModel::MarkWritten() {
  loaded_.clear();
  loadedIsList_ = true;
}

void PlayListModel::ReloadKeepingMarks(store::TicketTexts tickets) {
  beginResetModel();
  std::vector<std::uint8_t> marks(tickets.size(), 0);
  checkedCount_ = 0;
  for (std::size_t i = 0; i < std::min(tickets.size(), tickets_.size()); ++i) {
    if (marks_[i] && tickets[i] == tickets_[i]) {
      marks[i] = 1;
      ++checkedCount_;
    }
  }
  marks_ = std::move(marks);
  tickets_ = std::move(tickets);
  MarkWritten();
  endResetModel();
}
