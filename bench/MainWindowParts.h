// The main window keeps its controls to itself: benchmarks reach them by the names they carry.
#pragma once

#include <QAction>
#include <QListView>
#include <QPlainTextEdit>
#include <QTimer>

#include "ui/main/frmNumberChecker.h"
#include "ui/widgets/PlayListModel.h"

namespace bench {

inline QPlainTextEdit* ResultsBox(const frmNumberChecker& form) {
  return form.findChild<QPlainTextEdit*>(QStringLiteral("txtMatchedTickets"));
}
inline QTimer* FlashTimer(const frmNumberChecker& form) {
  return form.findChild<QTimer*>(QStringLiteral("Timer1"));
}
inline PlayListModel* Plays(const frmNumberChecker& form) {
  return qobject_cast<PlayListModel*>(
      form.findChild<QListView*>(QStringLiteral("lstNumbers"))->model());
}

// Runs a menu command of the window as its menu item does.
inline void Run(const frmNumberChecker& form, const char* action) {
  form.findChild<QAction*>(QString::fromLatin1(action))->trigger();
}

// The dialog of this type that `owner` has open now: one that was left is hidden at once, though
// deleted only later.
template <typename Dialog>
Dialog* OpenChild(const QObject& owner) {
  for (Dialog* dialog : owner.findChildren<Dialog*>()) {
    if (dialog->isVisible())
      return dialog;
  }
  return nullptr;
}

}  // namespace bench
