#pragma once

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPoint>
#include <QTextCursor>
#include <string>
#include <string_view>

#include "ui/main/ResultLines.h"

class QTimer;

// The results box. It takes typing like any text box, but the window's menu shortcuts act
// while it has the focus: its own Ctrl+C, Ctrl+A, Delete and Ctrl+Insert would otherwise
// swallow them. Its cursor stops blinking a few seconds after the last input, as desktop text
// fields do, so that an idle program is not woken twice a second; input starts it again.
class ResultsBox : public QPlainTextEdit {
  Q_OBJECT
 public:
  static constexpr int kBlinkForMs = 5000;

  explicit ResultsBox(QWidget* parent = nullptr);

  // The timer that ends the blinking; tests fire it instead of waiting.
  QTimer* BlinkTimeout() const { return mBlinkTimeout; }
  bool CursorBlinking() const { return mBlinking; }

  // The text as the plain text of the box reads, with every line ended CR LF as the data file's
  // lines are, in UTF-8, built in one piece from the box's own lines: copying tens of thousands
  // of results needs no second whole copy of them on the way.
  QByteArray CrLfUtf8() const;

  // Replaces the text, laid out once at the width it keeps: a text taller than the box gets its
  // scroll bar before it goes in, as the scroll bar appearing afterwards would narrow the box and
  // lay every line out again.
  void SetText(const QString& plain);

  // Replaces the text with the lines of a check, appended in pieces as the check writes them:
  // file text, each piece whole lines ended CR LF. They go in several to a paragraph (see
  // ResultLines) and are laid out once, at the end. The text reads as SetText of the whole would
  // leave it, FileText's choice of encoding included.
  void BeginResults();
  void AppendResults(std::string_view bytes);
  void EndResults();

 protected:
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void StopBlinking();
  void StartBlinking();
  void AnnounceFlashTime(bool blinking);
  bool ScrollBarBefore(qsizetype lineEnds);
  void InsertResults(QStringView text);
  void SelectLines(int position);
  bool CountParagraphLines(bool fresh);

  QTimer* mBlinkTimeout = nullptr;
  bool mBlinking = true;

  // The check being written into the box.
  QTextCursor mFill;
  ResultLines mFillLines;
  QString mFillPiece;
  // From the first byte outside ASCII on, the rest of the results, converted whole at the end.
  std::string mNotAscii;

  // A third click selects the line under it; the text control would select its paragraph.
  QElapsedTimer mSinceDoubleClick;
  QPoint mDoubleClickAt;
  int mTripleAnchorStart = -1;
  int mTripleAnchorEnd = -1;
};
