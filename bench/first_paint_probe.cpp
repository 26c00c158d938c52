// Start-up timing from outside a program, which scripts/bench_table.py preloads into it
// (LD_PRELOAD) and into the empty window it is compared with: once the application object
// exists, the end of the first paint pass prints the CLOCK_MONOTONIC time in nanoseconds on
// standard output and ends the process. The program itself carries nothing for this.
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <cstdio>

namespace {

class FirstPaint : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    // The rest of the window paints in the same pass: the report waits until it is over and the
    // event loop is back.
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      QMetaObject::invokeMethod(this, &FirstPaint::Report, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  void Report() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
    ::_exit(0);
  }

  bool painted_ = false;
};

void Install() {
  QCoreApplication::instance()->installEventFilter(new FirstPaint);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Install)
