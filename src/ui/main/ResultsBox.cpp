#include "ui/main/ResultsBox.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QSignalBlocker>
#include <QStyleHints>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

ResultsBox::ResultsBox(QWidget* parent) : QPlainTextEdit(parent) {
  mBlinkTimeout = new QTimer(this);
  mBlinkTimeout->setSingleShot(true);
  mBlinkTimeout->setInterval(kBlinkForMs);
  connect(mBlinkTimeout, &QTimer::timeout, this, [this] { StopBlinking(); });
  // A moved cursor blinks again, whatever moved it (F5 puts it at the end of the results).
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { StartBlinking(); });
}

bool ResultsBox::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride: {
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
      break;
    }
    case QEvent::FocusIn:
      mBlinking = true;
      mBlinkTimeout->start();
      break;
    case QEvent::FocusOut:
      mBlinkTimeout->stop();
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

// Mouse presses go to the viewport, not to the box.
bool ResultsBox::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
    StartBlinking();
  return QPlainTextEdit::viewportEvent(event);
}

QByteArray ResultsBox::CrLfUtf8() const {
  const QTextDocument* doc = document();
  qsizetype size = 0;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
    size += block.length() + 1;
  QByteArray text;
  text.reserve(size);
  QString line;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    if (block != doc->begin())
      text.append("\r\n");
    line = block.text();
    // The characters the plain text of a document turns into line ends and spaces.
    for (QChar& c : line) {
      switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xFDD0:  // the start and end of a frame
        case 0xFDD1:
          c = u'\n';
          break;
        case QChar::Nbsp:
          c = u' ';
          break;
        default:
          break;
      }
    }
    if (line.contains(u'\n'))
      line.replace(u'\n', QStringLiteral("\r\n"));
    text.append(line.toUtf8());
  }
  return text;
}

void ResultsBox::StartBlinking() {
  if (!hasFocus())
    return;
  mBlinkTimeout->start();
  if (mBlinking)
    return;
  mBlinking = true;
  AnnounceFlashTime(true);
}

void ResultsBox::StopBlinking() {
  if (!hasFocus() || !mBlinking)
    return;
  mBlinking = false;
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
