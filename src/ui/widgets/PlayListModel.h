#pragma once

#include <QAbstractListModel>
#include <cstdint>
#include <vector>

#include "store/TicketTexts.h"

// Tickets in one buffer and their marks in a plain vector, shown by a list view that draws only
// the rows on screen: filling is a move of the file's bytes and deleting the marked tickets one
// compaction, which keeps a list of 32,767 tickets as quick as a short one.
class PlayListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit PlayListModel(bool checkable, QObject* parent = nullptr)
      : QAbstractListModel(parent), checkable_(checkable) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  bool Checkable() const { return checkable_; }
  int Count() const { return static_cast<int>(tickets_.size()); }
  const store::TicketTexts& Tickets() const { return tickets_; }
  // One mark a ticket, in list order: not 0 for a marked ticket.
  const std::vector<std::uint8_t>& Marks() const { return marks_; }

  // Filling from the data file: the tickets also become what the list was loaded from.
  void SetTickets(store::TicketTexts tickets);

  // What the list was last loaded from or written as, to tell whether another program has
  // changed the file since. Usually the list itself; a copy is kept only while the list differs
  // (marked tickets taken off the list but not off the file, a write having failed).
  const store::TicketTexts& Loaded() const { return loadedIsList_ ? tickets_ : loaded_; }
  void SetLoaded(store::TicketTexts tickets);
  // The list as it stands has just been written to the file.
  void MarkWritten();
  // Fills from the data file again, keeping each mark whose row holds the same ticket as before.
  void ReloadKeepingMarks(store::TicketTexts tickets);

  bool IsChecked(int i) const { return marks_[static_cast<std::size_t>(i)] != 0; }
  int CheckedCount() const { return checkedCount_; }
  void SetChecked(int i, bool checked);
  void SetAllChecked(bool checked);
  // Removes every marked ticket in one pass; the others keep their order. `written`: the file
  // no longer holds them either; otherwise what the list was loaded from is kept aside.
  void RemoveChecked(bool written);

 signals:
  // A person changed a mark (mouse or keyboard), as opposed to code.
  void userToggled(int row);

 private:
  bool checkable_;
  store::TicketTexts tickets_;
  std::vector<std::uint8_t> marks_;
  store::TicketTexts loaded_;  // used only when loadedIsList_ is false
  bool loadedIsList_ = true;
  int checkedCount_ = 0;
};
