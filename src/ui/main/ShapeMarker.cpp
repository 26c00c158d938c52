#include "ui/main/ShapeMarker.h"

#include <QPainter>

ShapeMarker::ShapeMarker(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeMarker::SetFillVisible(bool visible) {
  if (fillVisible_ == visible)
    return;
  fillVisible_ = visible;
  update();
}

void ShapeMarker::SetFillColour(const QColor& colour) {
  fillColour_ = colour;
  update();
}

void ShapeMarker::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int diameter = std::min(width(), height()) - 1;
  const QRect circle((width() - diameter) / 2, (height() - diameter) / 2, diameter, diameter);
  painter.setPen(fillVisible_ ? QPen(Qt::black) : QPen(palette().color(QPalette::Mid)));
  painter.setBrush(fillVisible_ ? QBrush(fillColour_) : Qt::NoBrush);
  painter.drawEllipse(circle);
}
