#pragma once

#include <QListView>

class PlayListModel;

// The list of tickets in both windows: the toolkit's list of rows of one height over a
// PlayListModel. A row is as tall as its text, and a checkable one has a pixel free above and
// below its check box; the list is cut down to the whole rows that fit the height it is given.
//
// Over a checkable model the list's selection is the set of marked tickets, so that a screen
// reader hears the marks as the selected items and marks a ticket by selecting it. Only the
// check boxes (a click or Space) mark: the list's own clicks and keys select nothing, and the
// highlight follows the current row instead of the selection.
class PlayListView : public QListView {
  Q_OBJECT
 public:
  PlayListView(PlayListModel* model, const QRect& place, QWidget* parent);

  // A hidden list has no row on the screen; a screen reader hears its rows as invisible.
  QRect visualRect(const QModelIndex& index) const override;

 protected:
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;

 private:
  void SelectMarks(int first, int last);
  void MarkSelection(const QItemSelection& selected, const QItemSelection& deselected);

  PlayListModel* marks_ = nullptr;  // the model when it is checkable
};
