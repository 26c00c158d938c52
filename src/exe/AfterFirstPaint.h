// Work that can wait until a window is on the screen: `then` runs once, after the first paint of
// `target`, when that paint pass is over (the widgets inside it and the rest of the window paint
// in the same pass) and the event loop is back. A window that is not painted for a while (shown
// on a hidden workspace) has it run after `latest` all the same.
#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <utility>

class AfterFirstPaint : public QObject {
 public:
  static void Install(QWidget* target, std::function<void()> then,
                      std::chrono::milliseconds latest = std::chrono::seconds(1)) {
    auto* watch = new AfterFirstPaint(target, std::move(then));
    target->installEventFilter(watch);
    QTimer::singleShot(latest, watch, &AfterFirstPaint::Run);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      QMetaObject::invokeMethod(this, &AfterFirstPaint::Run, Qt::QueuedConnection);
    return false;
  }

 private:
  AfterFirstPaint(QObject* parent, std::function<void()> then)
      : QObject(parent), then_(std::move(then)) {}

  void Run() {
    if (!then_)
      return;
    std::function<void()> then = std::move(then_);
    then_ = nullptr;
    deleteLater();
    then();
  }

  std::function<void()> then_;
};
