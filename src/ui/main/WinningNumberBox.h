#pragma once

#include <QLineEdit>
#include <QRect>

// One of the six boxes that show the winning number. It takes no typing, and draws its two digits
// itself: a line edit keeps a margin of its own on each side of its text, more than a box of 25
// pixels can spare for two digits in a 12-point bold font, so the digits would be pushed over
// the frame. Here they are centred in all the room inside the frame.
class WinningNumberBox : public QLineEdit {
  Q_OBJECT
 public:
  using QLineEdit::QLineEdit;
  // The room inside the frame, where the text is drawn.
  QRect TextRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};
