#pragma once

#include <QChar>
#include <QString>
#include <QTextBlock>
#include <type_traits>

// The check's results go into the results box several lines to a paragraph of its document,
// the lines within a paragraph separated by line separators (U+2028). Inserting a paragraph costs
// a walk of the document's trees, which deepen as it grows; with a paragraph per line that was
// nearly all of the time of a large check. The box's plain text, its copy and what it reports to
// screen readers still read one line per line.
class ResultLines {
 public:
  static constexpr int kPerParagraph = 16;

  // Appends text whose lines end CR LF to `out` as the box holds it: every kPerParagraph-th line
  // end a paragraph end (LF, which the document turns into one), the others line separators. A
  // piece holds whole lines; anything but CR LF is copied as it stands.
  template <typename Char>
  void Append(const Char* from, const Char* to, QString& out) {
    const qsizetype start = out.size();
    out.resize(start + (to - from));
    QChar* put = out.data() + start;
    for (const Char* c = from; c != to; ++c) {
      if (*c == Char('\r') && c + 1 != to && c[1] == Char('\n')) {
        ++c;
        ++mLineEnds;
        *put++ = mLineEnds % kPerParagraph == 0 ? QChar(u'\n') : QChar(QChar::LineSeparator);
      } else {
        *put++ = QChar(static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(*c)));
      }
    }
    out.truncate(put - out.constData());
  }

  // The line ends appended so far.
  qsizetype LineEnds() const { return mLineEnds; }

 private:
  qsizetype mLineEnds = 0;
};

// The lines a paragraph of the box shows when none of them wraps: one more than its line
// separators. The scroll bar counts these for paragraphs not yet laid out.
int LinesOf(const QTextBlock& block);

// The stretch of `block`'s text around `position` (relative to the block) between line
// separators or the paragraph's ends, the separators left out: what a line of the results was as
// a paragraph of its own.
struct TextSpan {
  int start = 0;
  int end = 0;
};
TextSpan ResultLineAt(const QString& blockText, int position);
