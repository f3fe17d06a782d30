#pragma once
// For the start-up programs: when `window` has painted its first frame,
// prints "<monotonic ns> <process CPU ns>" on standard output, lets the
// program run on for a moment (so that work put off until after the first
// frame is done and counted in the peak memory) and quits.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace bench {

inline long long clock_ns(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

class FirstFrame : public QObject {
public:
    explicit FirstFrame(QWidget& window) : window_(window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Runs once the frame this paint belongs to has been flushed.
            QTimer::singleShot(0, this, [] {
                std::printf("%lld %lld\n", clock_ns(CLOCK_MONOTONIC), clock_ns(CLOCK_PROCESS_CPUTIME_ID));
                std::fflush(stdout);
                QTimer::singleShot(300, qApp, &QCoreApplication::quit);
            });
        }
        return false;
    }

private:
    QWidget& window_;
    bool seen_ = false;
};

}  // namespace bench
