// Start-up timing from outside the process: with PELMORA_REPORT_FIRST_PAINT set, the end of the
// first paint of the watched widget's window prints the CLOCK_MONOTONIC time in nanoseconds on
// standard output and ends the process at once. Without the variable nothing is installed.
#pragma once

#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <cstdio>

class FirstPaintProbe : public QObject {
 public:
  static void InstallIfAsked(QWidget* target) {
    if (qEnvironmentVariableIsEmpty("PELMORA_REPORT_FIRST_PAINT"))
      return;
    target->installEventFilter(new FirstPaintProbe(target));
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Paint || reported_)
      return false;
    reported_ = true;
    // The widgets inside the watched one, and the rest of the window, paint after it in the same
    // pass: the time is taken once that pass is over and the event loop is back.
    QMetaObject::invokeMethod(this, &FirstPaintProbe::Report, Qt::QueuedConnection);
    return false;
  }

 private:
  explicit FirstPaintProbe(QObject* parent) : QObject(parent) {}

  static void Report() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
    ::_exit(0);
  }

  bool reported_ = false;
};
