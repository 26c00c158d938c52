#pragma once

#include <QPlainTextEdit>

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

 protected:
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void StopBlinking();
  void StartBlinking();
  void AnnounceFlashTime(bool blinking);

  QTimer* mBlinkTimeout = nullptr;
  bool mBlinking = true;
};
