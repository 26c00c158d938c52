// Start-up timing from outside the process: with PELMORA_REPORT_FIRST_PAINT set, the end of the
// first paint prints the CLOCK_MONOTONIC time in nanoseconds on standard output and ends the
// process at once. Without the variable nothing happens.
#pragma once

#include <time.h>
#include <unistd.h>

#include <QtGlobal>
#include <cstdio>

#include "exe/AfterFirstPaint.h"

namespace FirstPaintProbe {

// For work that runs after the first paint itself: call this first, so that the time taken is
// the paint's alone.
inline void ReportIfAsked() {
  if (qEnvironmentVariableIsEmpty("PELMORA_REPORT_FIRST_PAINT"))
    return;
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  std::fflush(stdout);
  ::_exit(0);
}

// The report after the first paint of the window of `target`, for a program that does nothing
// else then.
inline void InstallIfAsked(QWidget* target) {
  if (!qEnvironmentVariableIsEmpty("PELMORA_REPORT_FIRST_PAINT"))
    AfterFirstPaint::Install(target, ReportIfAsked);
}

}  // namespace FirstPaintProbe
