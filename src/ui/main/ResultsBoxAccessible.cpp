#include "ui/main/ResultsBoxAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <utility>

#include "ui/main/ResultLines.h"
#include "ui/main/ResultsBox.h"

namespace {

using Range = std::pair<int, int>;

QString Readable(QString text) {
  for (QChar& c : text)
    if (c == QChar(QChar::ParagraphSeparator) || c == QChar(QChar::LineSeparator))
      c = u'\n';
  return text;
}

class ResultsBoxAccessible : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
 public:
  explicit ResultsBoxAccessible(ResultsBox* box)
      : QAccessibleWidget(box, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface)
      return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
      return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.selectableText = true;
    s.multiLine = true;
    if (Box()->isReadOnly())
      s.readOnly = true;
    else
      s.editable = true;
    return s;
  }

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Value ? Box()->toPlainText() : QAccessibleWidget::text(t);
  }
  void setText(QAccessible::Text t, const QString& text) override {
    if (t != QAccessible::Value)
      QAccessibleWidget::setText(t, text);
    else if (!Box()->isReadOnly())
      Box()->setPlainText(text);
  }

  // Selection and cursor.
  int selectionCount() const override { return Cursor().hasSelection() ? 1 : 0; }
  void selection(int index, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = Cursor();
    if (index == 0 && cursor.hasSelection()) {
      *startOffset = cursor.selectionStart();
      *endOffset = cursor.selectionEnd();
    }
  }
  void addSelection(int startOffset, int endOffset) override {
    setSelection(0, startOffset, endOffset);
  }
  void removeSelection(int index) override {
    if (index != 0)
      return;
    QTextCursor cursor = Cursor();
    cursor.clearSelection();
    Box()->setTextCursor(cursor);
  }
  void setSelection(int index, int startOffset, int endOffset) override {
    if (index == 0)
      Box()->setTextCursor(Span(startOffset, endOffset));
  }
  int cursorPosition() const override { return Cursor().position(); }
  void setCursorPosition(int position) override { Box()->setTextCursor(At(position)); }

  // Text.
  QString text(int startOffset, int endOffset) const override {
    return Readable(Span(startOffset, endOffset).selectedText());
  }
  int characterCount() const override { return Box()->document()->characterCount() - 1; }

  // A cursor that cannot be put at an offset stays where it was, as the toolkit's does.
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                           int* endOffset) const override {
    QTextCursor cursor = At(offset);
    cursor.setPosition(Boundaries(cursor, type).first - 1);
    return Report(Boundaries(cursor, type), startOffset, endOffset);
  }
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                          int* endOffset) const override {
    QTextCursor cursor = At(offset);
    cursor.setPosition(Boundaries(cursor, type).second);
    return Report(Boundaries(cursor, type), startOffset, endOffset);
  }
  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                       int* endOffset) const override {
    return Report(Boundaries(At(offset), type), startOffset, endOffset);
  }

  QRect characterRect(int offset) const override {
    const QString ch = text(offset, offset + 1);
    if (ch.isEmpty())
      return {};
    const QTextCursor cursor = At(offset);
    const QRect caret = Box()->cursorRect(cursor);
    const QFontMetrics metrics(Box()->font());
    const QRect local(caret.left(), caret.top(), metrics.horizontalAdvance(ch), caret.height());
    return QRect(Box()->viewport()->mapToGlobal(local.topLeft()), local.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint local = Box()->viewport()->mapFromGlobal(point);
    if (!Box()->viewport()->rect().contains(local))
      return -1;
    return Box()->cursorForPosition(local).position();
  }
  // As the toolkit's own plain text box: a screen reader's request to scroll is not acted on.
  void scrollToSubstring(int, int) override {}

  QString attributes(int offset, int* startOffset, int* endOffset) const override {
    if (offset == -2)
      offset = cursorPosition();
    const int count = characterCount();
    if (offset == -1 || offset == count)
      offset = count - 1;
    if (offset < 0 || offset > count) {
      *startOffset = *endOffset = -1;
      return {};
    }
    const QTextBlock block = Box()->document()->findBlock(offset);
    const QString blockText = block.text();
    const TextSpan line = ResultLineAt(blockText, offset - block.position());
    const int lineStart = block.position() + line.start;
    const int lineEnd = block.position() + line.end;
    // A line's end, separator or paragraph end, is a run of its own in the block's format.
    QTextCharFormat format = block.charFormat();
    *startOffset = lineStart;
    *endOffset = lineEnd + 1;
    if (offset != lineEnd) {
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(offset)) {
          format = fragment.charFormat();
          *startOffset = std::max(fragment.position(), lineStart);
          *endOffset = std::min(fragment.position() + fragment.length(), lineEnd);
          break;
        }
      }
    } else {
      *startOffset = lineEnd;
    }
    return Attributes(format, block);
  }

  // Editing.
  void deleteText(int startOffset, int endOffset) override {
    Span(startOffset, endOffset).removeSelectedText();
  }
  void insertText(int offset, const QString& text) override { At(offset).insertText(text); }
  void replaceText(int startOffset, int endOffset, const QString& text) override {
    QTextCursor cursor = Span(startOffset, endOffset);
    cursor.removeSelectedText();
    cursor.insertText(text);
  }

 private:
  ResultsBox* Box() const { return static_cast<ResultsBox*>(widget()); }
  QTextCursor Cursor() const { return Box()->textCursor(); }
  QTextCursor At(int offset) const {
    QTextCursor cursor = Cursor();
    cursor.setPosition(offset);
    return cursor;
  }
  QTextCursor Span(int startOffset, int endOffset) const {
    QTextCursor cursor = At(startOffset);
    cursor.setPosition(endOffset, QTextCursor::KeepAnchor);
    return cursor;
  }

  QString Report(Range range, int* startOffset, int* endOffset) const {
    *startOffset = range.first;
    *endOffset = range.second;
    return text(range.first, range.second);
  }

  // The boundaries the toolkit reports, with each line between separators standing for a
  // paragraph of its own.
  static Range Boundaries(const QTextCursor& cursor, QAccessible::TextBoundaryType type) {
    const QTextBlock block = cursor.block();
    const QString blockText = block.text();
    const TextSpan line = ResultLineAt(blockText, cursor.positionInBlock());
    const int lineStart = block.position() + line.start;
    const int lineEnd = block.position() + line.end;
    switch (type) {
      case QAccessible::ParagraphBoundary:
        return {lineStart, lineEnd};
      case QAccessible::SentenceBoundary: {
        const QString lineText = blockText.mid(line.start, line.end - line.start);
        const int within = cursor.position() - lineStart;
        QTextBoundaryFinder sentences(QTextBoundaryFinder::Sentence, lineText);
        sentences.setPosition(within);
        int previous = within;
        if (!(sentences.boundaryReasons() & QTextBoundaryFinder::StartOfItem))
          previous = static_cast<int>(sentences.toPreviousBoundary());
        const auto next = sentences.toNextBoundary();
        return {previous != -1 ? lineStart + previous : lineStart,
                next != -1 ? lineStart + static_cast<int>(next) : lineEnd};
      }
      case QAccessible::LineBoundary: {
        Range range = QAccessible::qAccessibleTextBoundaryHelper(cursor, type);
        // A line's separator ends it as a paragraph's end did, outside it.
        if (range.second > range.first && range.second == lineEnd + 1 &&
            line.end < blockText.size())
          --range.second;
        return range;
      }
      default:
        return QAccessible::qAccessibleTextBoundaryHelper(cursor, type);
    }
  }

  static QString Attributes(const QTextCharFormat& format, const QTextBlock& block) {
    QString out;
    const auto put = [&out](const char* key, const QString& value) {
      out += QLatin1StringView(key) + u':' + value + u';';
    };
    const QFont font = format.font();
    QString family = font.families().value(0);
    if (!family.isEmpty()) {
      for (const char* special : {"\\", ":", ",", "=", ";", "\""})
        family.replace(QLatin1StringView(special), u'\\' + QLatin1StringView(special));
      put("font-family", u'"' + family + u'"');
    }
    if (const int points = int(font.pointSize()))
      put("font-size", QString::number(points) + QStringLiteral("pt"));
    put("font-weight",
        font.weight() > QFont::Normal ? QStringLiteral("bold") : QStringLiteral("normal"));
    put("font-style", font.style() == QFont::StyleItalic    ? QStringLiteral("italic")
                      : font.style() == QFont::StyleOblique ? QStringLiteral("oblique")
                                                            : QStringLiteral("normal"));
    if (format.underlineStyle() != QTextCharFormat::NoUnderline || font.underline()) {
      put("text-underline-style", QStringLiteral("solid"));
      put("text-underline-type", QStringLiteral("single"));
    }
    if (block.textDirection() == Qt::RightToLeft)
      put("writing-mode", QStringLiteral("rl"));
    put("text-position", format.verticalAlignment() == QTextCharFormat::AlignSubScript
                             ? QStringLiteral("sub")
                         : format.verticalAlignment() == QTextCharFormat::AlignSuperScript
                             ? QStringLiteral("super")
                             : QStringLiteral("baseline"));
    const auto colour = [](const QColor& c) {
      return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
    };
    if (format.background().style() == Qt::SolidPattern)
      put("background-color", colour(format.background().color()));
    if (format.foreground().style() == Qt::SolidPattern)
      put("color", colour(format.foreground().color()));
    switch (block.blockFormat().alignment() &
            (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify)) {
      case Qt::AlignLeft:
        put("text-align", QStringLiteral("left"));
        break;
      case Qt::AlignRight:
        put("text-align", QStringLiteral("right"));
        break;
      case Qt::AlignHCenter:
        put("text-align", QStringLiteral("center"));
        break;
      case Qt::AlignJustify:
        put("text-align", QStringLiteral("justify"));
        break;
      default:
        break;
    }
    return out;
  }
};

QAccessibleInterface* ResultsBoxFactory(const QString& className, QObject* object) {
  if (className != QLatin1StringView(ResultsBox::staticMetaObject.className()))
    return nullptr;
  auto* box = qobject_cast<ResultsBox*>(object);
  return box ? new ResultsBoxAccessible(box) : nullptr;
}

}  // namespace

void InstallResultsBoxAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(ResultsBoxFactory);
    return true;
  }();
  (void)installed;
}
