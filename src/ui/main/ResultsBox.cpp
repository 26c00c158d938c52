#include "ui/main/ResultsBox.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>

ResultsBox::ResultsBox(QWidget* parent) : QPlainTextEdit(parent) {}

bool ResultsBox::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    // The Delete key of the number pad is the same command as the other one.
    const QKeySequence pressed(
        QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    for (QAction* action : window()->findChildren<QAction*>()) {
      if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
        // Leaving the override unaccepted lets the window's shortcut run.
        event->ignore();
        return true;
      }
    }
  }
  return QPlainTextEdit::event(event);
}
