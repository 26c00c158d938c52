#pragma once

// Windows keep their controls to themselves: tests reach a control by the object name it carries
// and run a menu command as the menu does, by triggering its action.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QString>

#include "ui/main/ShapeMarker.h"
#include "ui/widgets/PlayListModel.h"

template <typename T = QWidget>
T* Named(const QObject& root, const QString& name) {
  T* found = root.findChild<T*>(name);
  EXPECT_NE(found, nullptr) << "no " << name.toStdString() << " in "
                            << root.objectName().toStdString();
  return found;
}

// Runs a menu command the way its menu item or shortcut does: a disabled one cannot be run.
inline void Trigger(const QObject& window, const char* action) {
  if (auto* found = Named<QAction>(window, QString::fromLatin1(action))) {
    EXPECT_TRUE(found->isEnabled()) << action << " is disabled";
    found->trigger();
  }
}

// The main window's play list, its winning-number boxes and their markers (indexed from 1).
inline PlayListModel* Plays(const QObject& main) {
  return qobject_cast<PlayListModel*>(Named<QListView>(main, "lstNumbers")->model());
}
// Marks or unmarks a ticket of the main window's play list as a click on its box does.
inline void Mark(const QObject& main, int row, bool marked = true) {
  PlayListModel* plays = Plays(main);
  plays->setData(plays->index(row), marked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}
inline QLineEdit* WinningBox(const QObject& main, int k) {
  return Named<QLineEdit>(main, QStringLiteral("win1_%1").arg(k));
}
inline ShapeMarker* Marker(const QObject& main, int k) {
  return Named<ShapeMarker>(main, QStringLiteral("Shape1_%1").arg(k));
}
// The entry dialog's box for number n.
inline QCheckBox* NumberBox(const QObject& entry, int n) {
  return Named<QCheckBox>(entry, QStringLiteral("ck01_%1").arg(n));
}

// The window of this type that is open now, if any: a window that was left is hidden at once,
// though deleted only later.
template <typename Window>
Window* OpenWindow() {
  for (QWidget* widget : QApplication::allWidgets()) {
    auto* window = qobject_cast<Window*>(widget);
    if (window && window->isVisible())
      return window;
  }
  return nullptr;
}

// Whether `window` takes no input now: disabled, or waiting for a window-modal dialog of its own.
inline bool Waits(const QWidget& window) {
  if (!window.isEnabled())
    return true;
  QWidget* modal = QApplication::activeModalWidget();
  for (QWidget* owner = modal ? modal->parentWidget() : nullptr; owner;
       owner = owner->parentWidget()) {
    if (owner == &window)
      return true;
  }
  return false;
}
