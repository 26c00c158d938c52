#pragma once

#include <QColor>
#include <QWidget>

// A circle inscribed in its rectangle, drawn behind a winning-number box. At rest only a plain
// outline shows; while the flash runs it is filled with a colour.
class ShapeMarker : public QWidget {
  Q_OBJECT
 public:
  explicit ShapeMarker(QWidget* parent = nullptr);
  void SetFillVisible(bool visible);
  bool FillVisible() const { return fillVisible_; }
  void SetFillColour(const QColor& colour);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool fillVisible_ = false;
  QColor fillColour_;
};
