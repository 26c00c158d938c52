// Start-up timing from outside the process: with PELMORA_REPORT_FIRST_PAINT set, the first paint
// of the watched widget prints the CLOCK_MONOTONIC time in nanoseconds on standard output and
// ends the process at once. Without the variable nothing is installed.
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
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint)
      return false;
    // Painted first, so the time includes the paint itself.
    watched->event(event);
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
    ::_exit(0);
  }

 private:
  explicit FirstPaintProbe(QObject* parent) : QObject(parent) {}
};
