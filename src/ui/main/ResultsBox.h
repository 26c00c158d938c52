#pragma once

#include <QPlainTextEdit>

class QTimer;

// The results box. It takes typing like any text box, but the window's menu shortcuts act
// while it has the focus: its own Ctrl+C, Ctrl+A, Delete and Ctrl+Insert would otherwise
// swallow them. Pressing the mouse inside the selected text starts a new selection, as in a plain
// edit field, instead of dragging the text away. Its cursor stops blinking a few seconds after the
// last input, as desktop text fields do, so that an idle program is not woken twice a second; input
// starts it again.
class ResultsBox : public QPlainTextEdit {
  Q_OBJECT
 public:
  static constexpr int kBlinkForMs = 5000;

  explicit ResultsBox(QWidget* parent = nullptr);

  // The timer that ends the blinking; tests fire it instead of waiting.
  QTimer* BlinkTimeout() const { return blinkTimeout_; }
  bool CursorBlinking() const { return blinking_; }

  // Replaces the text. A text taller than the box gets its scroll bar before it goes in: the bar
  // appearing afterwards narrows the box, and the toolkit then gives every line a layout of its
  // own. Peak memory after F5 with all 32,767 tickets matched and Ctrl+C: 55.2 MiB without this,
  // 44.8 MiB with it (goal 48 MiB).
  void SetText(const QString& plain);

 protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void StopBlinking();
  void StartBlinking();
  void AnnounceFlashTime(bool blinking);

  QTimer* blinkTimeout_ = nullptr;
  bool blinking_ = true;
};
