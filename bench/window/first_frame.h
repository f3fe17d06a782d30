#pragma once
// For the start-up programs: notes when `window` has painted its first
// frame, lets the program run on for a moment (so that work put off until
// after the first frame is done and counted in the peak memory), then prints
// "<monotonic ns> <process CPU ns> <peak resident kB>" on standard output,
// the first two at the first frame, and quits. (The peak is read from
// /proc: a spawned child's own rusage starts from its parent's peak.)

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

inline long peak_kb() {
    long kb = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %ld", &kb) == 1) break;
        std::fclose(status);
    }
    return kb;
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
                const long long frame = clock_ns(CLOCK_MONOTONIC), cpu = clock_ns(CLOCK_PROCESS_CPUTIME_ID);
                QTimer::singleShot(300, qApp, [frame, cpu] {
                    std::printf("%lld %lld %ld\n", frame, cpu, peak_kb());
                    std::fflush(stdout);
                    QCoreApplication::quit();
                });
            });
        }
        return false;
    }

private:
    QWidget& window_;
    bool seen_ = false;
};

}  // namespace bench
