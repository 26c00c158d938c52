#pragma once

#include <QAbstractTableModel>
#include <optional>

#include "check/Wins.h"
#include "check/WinsOfFile.h"

// The wins of a data file as a table, one row a win, in the list's order (to claim soonest
// deadline first), of every state or of one. Rows are made as the view asks for them.
class WinsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { Deadline, State, Draw, Date, Ticket, Numbers, Tier, Prize, ColumnCount };

  explicit WinsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void SetWins(check::WinsOfFile wins);
  // Every state (nothing), or one.
  void SetFilter(std::optional<check::WinState> state);

  const check::WinsOfFile& Wins() const { return wins_; }
  check::Win WinAt(int row) const;
  // The mark that claims the win of `row` today, as it would be written.
  store::ClaimMark MarkFor(int row, store::Day claimedOn) const;

 private:
  check::WinsOfFile wins_;
  std::optional<check::WinState> filter_;
  check::WinRows rows_;
};

// A day as the window shows it: "2026-02-18".
QString DayText(store::Day day);
// "1 win", "3 wins"; "1 draw", "2 draws".
QString WinsText(std::uint64_t count);
QString DrawsText(std::uint64_t count);
