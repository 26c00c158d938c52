#include "ui/wins/WinsModel.h"

QString DayText(store::Day day) {
  return QString::fromStdString(store::IsoDayText(day));
}

QString WinsText(std::uint64_t count) {
  return count == 1 ? QObject::tr("1 win") : QObject::tr("%1 wins").arg(count);
}

QString DrawsText(std::uint64_t count) {
  return count == 1 ? QObject::tr("1 draw") : QObject::tr("%1 draws").arg(count);
}

int WinsModel::rowCount(const QModelIndex& parent) const {
  // A view counts rows in an int; more wins than that are not shown.
  return parent.isValid() ? 0 : static_cast<int>(std::min<std::size_t>(rows_.size(), INT_MAX));
}

int WinsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

check::Win WinsModel::WinAt(int row) const {
  return wins_.wins.At(rows_.Position(static_cast<std::size_t>(row)));
}

store::ClaimMark WinsModel::MarkFor(int row, store::Day claimedOn) const {
  const check::Win win = WinAt(row);
  const store::Draw& draw = wins_.draws[win.draw];
  store::ClaimMark mark;
  mark.drawNumber = draw.number;
  mark.drawDay = draw.date;
  mark.ticket = win.ticket;
  mark.ticketText = std::string(wins_.tickets[static_cast<std::size_t>(win.ticket - 1)]);
  mark.claimedOn = claimedOn;
  mark.key = win.mark >= 0 ? wins_.section.claims[static_cast<std::size_t>(win.mark)].key
                           : store::ClaimMark::KeyFor(draw.number, draw.date, win.ticket);
  return mark;
}

QVariant WinsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole &&
                           role != Qt::TextAlignmentRole)) {
    return {};
  }
  if (role == Qt::TextAlignmentRole) {
    const bool number =
        index.column() == Draw || index.column() == Ticket || index.column() == Prize;
    return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
  }
  const check::Win win = WinAt(index.row());
  const store::Draw& draw = wins_.draws[win.draw];
  switch (index.column()) {
    case Deadline:
      return DayText(win.deadline);
    case State:
      if (win.mark >= 0) {
        return tr("claimed %1")
            .arg(DayText(wins_.section.claims[static_cast<std::size_t>(win.mark)].claimedOn));
      }
      return QString::fromLatin1(check::WinStateName(win.state));
    case Draw:
      return draw.number > 0 ? QString::number(draw.number) : QString();
    case Date:
      return DayText(draw.date);
    case Ticket:
      return QString::number(win.ticket);
    case Numbers: {
      const std::string_view text = wins_.tickets[static_cast<std::size_t>(win.ticket - 1)];
      return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    case Tier: {
      const std::string_view name = check::TierName(win.tier);
      return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    case Prize:
      return QString::fromStdString(check::PrizeText(wins_.prizes, win.tier));
    default:
      return {};
  }
}

QVariant WinsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal ||
      (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  static const char* const kHeaders[ColumnCount] = {"Deadline", "State",   "Draw", "Date",
                                                    "Ticket",   "Numbers", "Tier", "Prize"};
  return section >= 0 && section < ColumnCount ? tr(kHeaders[section]) : QVariant();
}

void WinsModel::SetWins(check::WinsOfFile wins) {
  beginResetModel();
  wins_ = std::move(wins);
  rows_ = wins_.wins.Rows(filter_);
  endResetModel();
}

void WinsModel::SetFilter(std::optional<check::WinState> state) {
  beginResetModel();
  filter_ = state;
  rows_ = wins_.wins.Rows(filter_);
  endResetModel();
}
