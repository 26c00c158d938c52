#include "ui/main/WinningNumberBox.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

QRect WinningNumberBox::TextRect() const {
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  return style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
}

void WinningNumberBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
  const QRect room = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
  // Whatever the font, nothing is drawn over the frame.
  painter.setClipRect(room);
  painter.setPen(panel.palette.color(QPalette::Text));
  painter.drawText(room, Qt::AlignCenter, text());
}
