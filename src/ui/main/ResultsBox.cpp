#include "ui/main/ResultsBox.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleHints>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

#include "app/FileText.h"
#include "ui/main/ResultsBoxAccessible.h"

ResultsBox::ResultsBox(QWidget* parent) : QPlainTextEdit(parent) {
  InstallResultsBoxAccessibility();
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
  switch (event->type()) {
    case QEvent::MouseButtonDblClick:
      StartBlinking();
      mSinceDoubleClick.start();
      mDoubleClickAt = static_cast<QMouseEvent*>(event)->position().toPoint();
      break;
    case QEvent::MouseButtonPress: {
      StartBlinking();
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint at = mouse->position().toPoint();
      // The same test as the text control's for a third click.
      const bool third =
          mouse->button() == Qt::LeftButton && mSinceDoubleClick.isValid() &&
          !mSinceDoubleClick.hasExpired(QApplication::doubleClickInterval()) &&
          (at - mDoubleClickAt).manhattanLength() < QApplication::startDragDistance();
      mSinceDoubleClick.invalidate();
      mTripleAnchorStart = mTripleAnchorEnd = -1;
      // The control's selection of a whole paragraph scrolls to its end; the line clicked stays
      // where it was.
      const int clicked = cursorForPosition(at).position();
      const int scrolled = verticalScrollBar()->value();
      const bool handled = QPlainTextEdit::viewportEvent(event);
      if (third) {
        SelectLines(clicked);
        verticalScrollBar()->setValue(scrolled);
        const QTextCursor selected = textCursor();
        mTripleAnchorStart = selected.selectionStart();
        mTripleAnchorEnd = selected.selectionEnd();
      }
      return handled;
    }
    case QEvent::MouseMove:
      // Dragging after a third click selects whole lines, as the control would whole paragraphs.
      if (mTripleAnchorStart >= 0 &&
          (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton)) {
        SelectLines(
            cursorForPosition(static_cast<QMouseEvent*>(event)->position().toPoint()).position());
        return true;
      }
      break;
    case QEvent::MouseButtonRelease:
      mTripleAnchorStart = mTripleAnchorEnd = -1;
      break;
    default:
      break;
  }
  return QPlainTextEdit::viewportEvent(event);
}

// Selects the line at `position`, or while a third click is held, the lines from the one clicked
// to it.
void ResultsBox::SelectLines(int position) {
  const QTextBlock block = document()->findBlock(position);
  const TextSpan line = ResultLineAt(block.text(), position - block.position());
  int start = block.position() + line.start;
  int end = block.position() + line.end;
  QTextCursor selection(document());
  if (mTripleAnchorStart >= 0 && start < mTripleAnchorStart) {
    selection.setPosition(mTripleAnchorEnd);
    selection.setPosition(start, QTextCursor::KeepAnchor);
  } else {
    selection.setPosition(mTripleAnchorStart >= 0 ? mTripleAnchorStart : start);
    selection.setPosition(std::max(end, mTripleAnchorEnd), QTextCursor::KeepAnchor);
  }
  setTextCursor(selection);
}

void ResultsBox::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  // A new width clears every paragraph's layout and counts it as one line until it is laid out
  // again.
  if (CountParagraphLines(/*fresh=*/false)) {
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
  }
}

// The scroll bar counts the lines of paragraphs not yet laid out: a paragraph of results holds
// one more than its separators. `fresh` paragraphs, just put in, are all counted so; otherwise
// only paragraphs of several results that are not laid out, as the toolkit counts the others
// itself. True when a count changed.
bool ResultsBox::CountParagraphLines(bool fresh) {
  bool changed = false;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    const int lines = LinesOf(block);
    if (block.lineCount() != lines && (fresh || (lines > 1 && block.layout()->lineCount() == 0))) {
      block.setLineCount(lines);
      changed = true;
    }
  }
  return changed;
}

void ResultsBox::SetText(const QString& plain) {
  const bool tall = ScrollBarBefore(plain.count(QLatin1Char('\n')));
  setPlainText(plain);
  if (tall)
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

bool ResultsBox::ScrollBarBefore(qsizetype lineEnds) {
  const int lineHeight = std::max(1, fontMetrics().lineSpacing());
  const bool tall = lineEnds >= viewport()->height() / lineHeight;
  if (tall)
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return tall;
}

void ResultsBox::BeginResults() {
  setPlainText(QString());
  QTextDocument* doc = document();
  doc->setUndoRedoEnabled(false);
  mFill = QTextCursor(doc);
  mFill.setCharFormat(textCursor().charFormat());
  mFill.beginEditBlock();
  mFillLines = ResultLines();
  mNotAscii.clear();
}

void ResultsBox::AppendResults(std::string_view bytes) {
  if (mNotAscii.empty()) {
    const auto notAscii = std::find_if(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    // Lines of ASCII read the same whatever encoding FileText settles on for the whole; from the
    // line of the first other byte on, the text waits for the end.
    const std::size_t asciiLines =
        notAscii == bytes.end()
            ? bytes.size()
            : bytes.rfind('\n', static_cast<std::size_t>(notAscii - bytes.begin())) + 1;
    if (asciiLines > 0) {
      mFillPiece.clear();
      mFillLines.Append(bytes.data(), bytes.data() + asciiLines, mFillPiece);
      mFill.insertText(mFillPiece);
    }
    bytes.remove_prefix(asciiLines);
  }
  mNotAscii.append(bytes);
}

void ResultsBox::InsertResults(QStringView text) {
  mFillPiece.clear();
  const auto* chars = reinterpret_cast<const char16_t*>(text.utf16());
  mFillLines.Append(chars, chars + text.size(), mFillPiece);
  mFill.insertText(mFillPiece);
}

void ResultsBox::EndResults() {
  if (!mNotAscii.empty()) {
    // Valid UTF-8 from here on is valid UTF-8 as a whole, as what went before is ASCII.
    InsertResults(modPelmora::FileText(mNotAscii));
    std::string().swap(mNotAscii);
  }
  mFillPiece = QString();
  // The scroll bar goes in first: a change of width sets every paragraph back to one line.
  const bool tall = ScrollBarBefore(mFillLines.LineEnds());
  CountParagraphLines(/*fresh=*/true);
  mFill.endEditBlock();
  mFill = QTextCursor();
  if (tall)
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  document()->setUndoRedoEnabled(true);
  document()->setModified(false);
  // The inserting moved the cursor along with the text; a new text starts with it at the top.
  QTextCursor top = textCursor();
  top.setPosition(0);
  setTextCursor(top);
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
