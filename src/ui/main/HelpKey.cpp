#include "ui/main/HelpKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

HelpKey::HelpKey(QObject* parent, std::function<void(QWidget*)> showHelp)
    : QObject(parent), showHelp_(std::move(showHelp)) {
  qApp->installEventFilter(this);
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
    return false;
  auto* key = static_cast<QKeyEvent*>(event);
  Qt::KeyboardModifiers modifiers = key->modifiers();
  modifiers.setFlag(Qt::KeypadModifier, false);
  if (key->key() != Qt::Key_F1 || modifiers != Qt::NoModifier || !watched->isWidgetType())
    return false;
  // The same key reaches the filter once per widget on its way up; only its first stop counts.
  auto* widget = static_cast<QWidget*>(watched);
  if (widget != QApplication::focusWidget() && widget != widget->window())
    return false;
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();  // keeps any shortcut of the focused widget from taking F1
    return true;
  }
  if (key->isAutoRepeat())
    return true;
  showHelp_(widget->window());
  return true;
}
