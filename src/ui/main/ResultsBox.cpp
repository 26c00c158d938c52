#include "ui/main/ResultsBox.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyleHints>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>

ResultsBox::ResultsBox(QWidget* parent) : QPlainTextEdit(parent) {
  blinkTimeout_ = new QTimer(this);
  blinkTimeout_->setSingleShot(true);
  blinkTimeout_->setInterval(kBlinkForMs);
  connect(blinkTimeout_, &QTimer::timeout, this, [this] { StopBlinking(); });
  // A moved cursor blinks again, whatever moved it (F5 puts it at the end of the results).
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { StartBlinking(); });
}

bool ResultsBox::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Never claimed: a shortcut of the window runs, and a key that is none comes as a key press.
      event->ignore();
      return true;
    case QEvent::FocusIn:
      blinking_ = true;
      blinkTimeout_->start();
      break;
    case QEvent::FocusOut:
      blinkTimeout_->stop();
      break;
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::Wheel:
      StartBlinking();
      break;
    default:
      break;
  }
  return QPlainTextEdit::event(event);
}

void ResultsBox::mousePressEvent(QMouseEvent* event) {
  StartBlinking();
  // The text control would start dragging the selection away from a press inside it: with the
  // selection gone first, the press places the cursor and a drag selects from there. Shift still
  // extends the selection, and a third click still selects the line.
  if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier) &&
      textCursor().hasSelection())
    setTextCursor(cursorForPosition(event->position().toPoint()));
  QPlainTextEdit::mousePressEvent(event);
}

void ResultsBox::SetText(const QString& plain) {
  const int lineHeight = std::max(1, fontMetrics().lineSpacing());
  if (plain.count(QLatin1Char('\n')) >= viewport()->height() / lineHeight) {
    clear();
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  }
  setPlainText(plain);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void ResultsBox::StartBlinking() {
  if (!hasFocus())
    return;
  blinkTimeout_->start();
  if (blinking_)
    return;
  blinking_ = true;
  AnnounceFlashTime(true);
}

void ResultsBox::StopBlinking() {
  if (!hasFocus() || !blinking_)
    return;
  blinking_ = false;
  AnnounceFlashTime(false);
}

void ResultsBox::AnnounceFlashTime(bool blinking) {
  // A text field with the focus starts or stops its blinking when told of a new flash time. To
  // stop it, it is told of none; to start it, of the flash time. The value everything else reads
  // stays as it was.
  QStyleHints* hints = QGuiApplication::styleHints();
  const int flashTime = hints->cursorFlashTime();
  {
    const QSignalBlocker quiet(hints);
    hints->setCursorFlashTime(blinking ? 0 : flashTime);
  }
  hints->setCursorFlashTime(blinking ? flashTime : 0);
  const QSignalBlocker quiet(hints);
  hints->setCursorFlashTime(flashTime);
}
