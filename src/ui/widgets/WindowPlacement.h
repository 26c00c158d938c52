#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

// Places a top-level window in the middle of the screen it will open on.
inline void CentreOnScreen(QWidget* window) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen)
    return;
  const QRect area = screen->availableGeometry();
  const QSize size =
      window->frameGeometry().size().isValid() ? window->frameGeometry().size() : window->size();
  window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

// Shows a window above the others, with the keyboard focus.
inline void ShowOnTop(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}
