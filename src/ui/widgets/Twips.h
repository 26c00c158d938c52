#pragma once

#include <QRect>
#include <QtMath>

// Window geometry is designed in twips; the screen works in device-independent pixels, 15 twips
// to the pixel (Qt scales further for high-density screens).
inline int TwipsToPixels(int twips) {
  return qRound(twips / 15.0);
}
inline QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
               TwipsToPixels(height));
}
