#include "ui/draws/DrawTableModel.h"

#include <numeric>

void DrawTableModel::SetDraws(std::vector<store::Draw> draws, std::vector<check::TierCounts> wins,
                              const check::PrizeTable& prizes) {
  beginResetModel();
  draws_ = std::move(draws);
  wins_ = std::move(wins);
  prizes_ = prizes;
  endResetModel();
}

int DrawTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(draws_.size());
}

int DrawTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant DrawTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) {
    return {};
  }
  const int column = index.column();
  if (role == Qt::TextAlignmentRole) {
    return column == Day || column == Prizes ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
                                             : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
  }
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) {
    return {};
  }
  const std::size_t row = static_cast<std::size_t>(index.row());
  const store::Draw& draw = draws_[row];
  if (column == Day) {
    return QString::fromStdString(store::DrawDayText(draw.date));
  }
  if (column == Number) {
    return draw.number != 0 ? QString::number(draw.number) : QString();
  }
  if (column >= Ball1 && column < Bonus) {
    return QString::number(draw.balls[static_cast<std::size_t>(column - Ball1)]);
  }
  if (column == Bonus) {
    return draw.bonus != 0 ? QString::number(draw.bonus) : QString();
  }
  if (row >= wins_.size()) {
    return QString();
  }
  if (column == Wins) {
    return QString::number(std::accumulate(wins_[row].begin(), wins_[row].end(), 0ull));
  }
  return QString::fromStdString(check::PrizesOf(prizes_, wins_[row]).Text());
}

QVariant DrawTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  switch (section) {
    case Day:
      return tr("Date");
    case Number:
      return tr("Draw");
    case Bonus:
      return tr("Bonus");
    case Wins:
      return tr("Wins");
    case Prizes:
      return tr("Prizes");
    default:
      return tr("Ball %1").arg(section - Ball1 + 1);
  }
}

void TextTableModel::SetRows(std::vector<QStringList> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() ||
      (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) {
    return {};
  }
  return rows_[static_cast<std::size_t>(index.row())].value(index.column());
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section < headers_.size()) {
    return headers_[section];
  }
  return QAbstractTableModel::headerData(section, orientation, role);
}
