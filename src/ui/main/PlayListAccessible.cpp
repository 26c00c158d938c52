#include "ui/main/PlayListAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QListView>
#include <QPointer>
#include <unordered_map>

#include "ui/main/PlayListModel.h"

namespace {

PlayListModel* MarkableModel(const QListView* view) {
  auto* model = view ? qobject_cast<PlayListModel*>(view->model()) : nullptr;
  return model && model->Checkable() ? model : nullptr;
}

// Marks or unmarks a ticket through the same path as the Space key, so that everything a mark
// changes in the window (Delete Checked Play Numbers) follows.
bool Mark(QListView* view, int row, bool on) {
  PlayListModel* model = MarkableModel(view);
  if (!model || row < 0 || row >= model->Count())
    return false;
  if (model->IsChecked(row) != on)
    model->setData(model->index(row), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
  return true;
}

class ItemAccessible : public QAccessibleInterface,
                       public QAccessibleActionInterface,
                       public QAccessibleTableCellInterface {
 public:
  ItemAccessible(QListView* view, int row) : view_(view), row_(row) {}

  bool isValid() const override {
    const PlayListModel* model = MarkableModel(view_);
    return model && row_ < model->Count();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(view_);
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !isValid())
      return {};
    const std::string_view ticket = MarkableModel(view_)->Text(row_);
    return QString::fromUtf8(ticket.data(), static_cast<qsizetype>(ticket.size()));
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!Showing())
      return {};
    const QRect local = view_->visualRect(view_->model()->index(row_, 0));
    return QRect(view_->viewport()->mapToGlobal(local.topLeft()), local.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State st;
    if (!isValid()) {
      st.invalid = true;
      return st;
    }
    st.selectable = true;
    st.multiSelectable = true;
    st.checkable = true;
    st.focusable = true;
    st.checked = st.selected = isSelected();
    st.focused = view_->hasFocus() && view_->currentIndex().row() == row_;
    if (!Showing()) {
      st.invisible = true;
      st.offscreen = true;
    }
    return st;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface)
      return static_cast<QAccessibleActionInterface*>(this);
    if (type == QAccessible::TableCellInterface)
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  QStringList actionNames() const override { return {toggleAction()}; }
  void doAction(const QString& name) override {
    if (name == toggleAction() && isValid())
      Mark(view_, row_, !isSelected());
  }
  QStringList keyBindingsForAction(const QString& name) const override {
    return name == toggleAction() ? QStringList{QStringLiteral("Space")} : QStringList();
  }

  bool isSelected() const override { return isValid() && MarkableModel(view_)->IsChecked(row_); }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return 0; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  // On screen: the list is shown (not replaced by the results box) and the row is scrolled into
  // its visible part.
  bool Showing() const {
    if (!view_ || !view_->isVisible())
      return false;
    return view_->viewport()->rect().intersects(view_->visualRect(view_->model()->index(row_, 0)));
  }

  QPointer<QListView> view_;
  int row_;
};

class ListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit ListAccessible(QListView* view) : QAccessibleWidget(view, QAccessible::List) {
    // Items know their row: when rows move, every item interface is made afresh.
    PlayListModel* model = MarkableModel(view);
    QObject::connect(model, &QAbstractItemModel::modelReset, &guard_, [this] { DropItems(); });
    QObject::connect(model, &QAbstractItemModel::layoutChanged, &guard_, [this] { DropItems(); });
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &guard_, [this] { DropItems(); });
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, &guard_, [this] { DropItems(); });
    QObject::connect(model, &QAbstractItemModel::dataChanged, &guard_,
                     [this](const QModelIndex& first, const QModelIndex& last) {
                       MarksChanged(first.row(), last.row());
                     });
  }
  ~ListAccessible() override { DropItems(); }

  QListView* View() const { return static_cast<QListView*>(widget()); }
  PlayListModel* Model() const { return MarkableModel(View()); }

  int childCount() const override { return Model() ? Model()->Count() : 0; }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount())
      return nullptr;
    auto found = items_.find(index);
    if (found != items_.end())
      return QAccessible::accessibleInterface(found->second);
    auto* item = new ItemAccessible(View(), index);
    items_[index] = QAccessible::registerAccessibleInterface(item);
    return item;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    auto* item = child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
    return item && child->parent() == this ? item->rowIndex() : -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint at = View()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = View()->indexAt(at);
    return index.isValid() ? child(index.row()) : nullptr;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface)
      return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    return column == 0 ? child(row) : nullptr;
  }
  int selectedCellCount() const override { return Model() ? Model()->CheckedCount() : 0; }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows())
      cells << child(row);
    return cells;
  }
  QString columnDescription(int) const override { return {}; }
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return selectedCellCount(); }
  int columnCount() const override { return 1; }
  int rowCount() const override { return childCount(); }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override {
    QList<int> rows;
    const PlayListModel* model = Model();
    for (int row = 0; model && rows.size() < model->CheckedCount(); ++row)
      if (model->IsChecked(row))
        rows << row;
    return rows;
  }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int row) const override {
    return Model() && row >= 0 && row < Model()->Count() && Model()->IsChecked(row);
  }
  bool selectRow(int row) override { return Mark(View(), row, true); }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int row) override { return Mark(View(), row, false); }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override { DropItems(); }

 private:
  void DropItems() const {
    for (const auto& [row, id] : items_)
      QAccessible::deleteAccessibleInterface(id);
    items_.clear();
  }

  void MarksChanged(int first, int last) {
    if (!QAccessible::isActive())
      return;
    if (first == last) {
      QAccessible::State changed;
      changed.checked = changed.selected = true;
      QAccessibleStateChangeEvent event(View(), changed);
      event.setChild(first);
      QAccessible::updateAccessibility(&event);
    }
    QAccessibleEvent within(View(), QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&within);
  }

  QObject guard_;
  mutable std::unordered_map<int, QAccessible::Id> items_;
};

QAccessibleInterface* PlayListFactory(const QString&, QObject* object) {
  auto* view = qobject_cast<QListView*>(object);
  return MarkableModel(view) ? new ListAccessible(view) : nullptr;
}

}  // namespace

void InstallPlayListAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(PlayListFactory);
    return true;
  }();
  (void)installed;
}
