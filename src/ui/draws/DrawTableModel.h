#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "check/DrawWins.h"
#include "check/PrizeTable.h"
#include "store/DrawHistory.h"

// The draws of a range, newest first, one row each: day, draw number, the six balls, the bonus
// ball, and how many of the open file's tickets won in it and what. Only the rows on screen are
// ever turned into text.
class DrawTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { Day, Number, Ball1, Bonus = Ball1 + store::kNumbersPerTicket, Wins, Prizes };
  static constexpr int kColumnCount = Prizes + 1;

  explicit DrawTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // `wins` is per draw, in the same order, or empty when there are no tickets to check.
  void SetDraws(std::vector<store::Draw> draws, std::vector<check::TierCounts> wins,
                const check::PrizeTable& prizes);
  const store::Draw& DrawAt(int row) const { return draws_[static_cast<std::size_t>(row)]; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::vector<store::Draw> draws_;
  std::vector<check::TierCounts> wins_;
  check::PrizeTable prizes_;
};

// A small table of texts with column headers: the winning tickets of one draw, the totals per
// tier.
class TextTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TextTableModel(QStringList headers, QObject* parent = nullptr)
      : QAbstractTableModel(parent), headers_(std::move(headers)) {}

  void SetRows(std::vector<QStringList> rows);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  QStringList headers_;
  std::vector<QStringList> rows_;
};
