#include "ui/main/ResultLines.h"

int LinesOf(const QTextBlock& block) {
  return 1 + static_cast<int>(block.text().count(QChar(QChar::LineSeparator)));
}

TextSpan ResultLineAt(const QString& blockText, int position) {
  const QChar separator(QChar::LineSeparator);
  TextSpan span;
  const qsizetype before =
      position > 0 ? blockText.lastIndexOf(separator, position - 1) : qsizetype{-1};
  span.start = static_cast<int>(before + 1);
  const qsizetype after = blockText.indexOf(separator, position);
  span.end = static_cast<int>(after < 0 ? blockText.size() : after);
  return span;
}
