// window_bench [--rounds N] [--starts N] [--only ACTION [--side game|bare]]:
// the game window's costs beside a bare Qt window of the same controls
// (bare_window.h), measured in one run. For a profiler, --only does that one
// action (as named in the table) and skips the others, and --side does it
// on one of the two windows only (the others are done on the game's window
// all the same, untimed, so that the game goes through the same states).
//
// 1. Actions, driven the way morvane-drive drives them (QTest events on the
//    window, offscreen): a click that moves the player, a click that is
//    refused, typing a code, dropping a figure, the Randomizer. Each is
//    timed in the thread's CPU time (less the clock's own cost), until its
//    repaints are done; the table gives medians over N rounds, the ratio
//    game / bare, and the paints each action caused.
// 2. Start-up: start_game and start_bare are each spawned N times, offscreen
//    and on a private Xvfb display: wall time from spawn to the first frame,
//    the child's CPU time to it, and the child's peak resident memory over
//    its first frame and the 300 ms after it (cues opened and all).
//
// Set MORVANE_BENCH_XVFB=:N to have the Xvfb display run as number N.

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QLineEdit>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/start.h"
#include "bare_window.h"
#include "bench_support.h"
#include "drive/driver.h"
#include "first_frame.h"

extern char** environ;

namespace {

using morvane::DrivenWindow;
using morvane::kCells;

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Counts the paint events of each window's widgets.
class PaintCounter : public QObject {
public:
    std::map<const QWidget*, long> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            ++paints[static_cast<QWidget*>(watched)->window()];
        return false;
    }
};

void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QPoint centre(QWidget* window, QWidget* widget) { return widget->mapTo(window, widget->rect().center()); }

void click(QWidget* window, QWidget* widget) {
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, centre(window, widget));
}

// As the driver types: click into the box, select all, delete, type.
void type(QWidget* window, QWidget* box, const QString& text) {
    QWindow* handle = window->windowHandle();
    click(window, box);
    QTest::keyClick(handle, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(handle, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, handle, static_cast<Qt::Key>(QTest::asciiToKey(char(c.unicode()))),
                            QString(c), Qt::NoModifier);
}

// As the driver drops: enter, move and drop on whatever stands at the centre.
void drop(QWidget* window, QWidget* cell, QMimeData* data) {
    const QPoint point = centre(window, cell);
    QWidget* target = window->childAt(point);
    if (!target) return;
    const QPoint local = target->mapFrom(window, point);
    QDragEnterEvent enter(local, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return;
    QDragMoveEvent move(local, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent dropped(local, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
}

struct Figures {
    std::vector<double> game_us, bare_us;
    long game_paints = 0, bare_paints = 0;
};

class ActionBench {
public:
    ActionBench(std::string only, std::string side) : only_(std::move(only)), side_(std::move(side)) {
        game_.show();
        bare_.show();
        bare_.move(600, 0);
        (void)QTest::qWaitForWindowExposed(&game_);
        (void)QTest::qWaitForWindowExposed(&bare_);
        qApp->installEventFilter(&counter_);
        settle();
    }

    void run(int rounds) {
        for (int round = 0; round < rounds; ++round) {
            game_.game().dealer.seed(static_cast<std::uint64_t>(round + 1));
            both(
                "Randomizer", round, [&] { click(&game_, game_.randomizer_button()); },
                [&] { click(&bare_, bare_.randomizer); });
            for (int move = 0; move < 6; ++move) {
                const int target = cell_where(true);
                const int refused = cell_where(false);
                if (refused > 0)
                    both(
                        "click, refused", round, [&] { click(&game_, game_.cell(refused)); },
                        [&] { click(&bare_, bare_.cells[refused]); });
                if (target > 0)
                    both(
                        "click, a move", round, [&] { click(&game_, game_.cell(target)); },
                        [&] { click(&bare_, bare_.cells[target]); });
            }
            // Code entry: type the player's cell, drop a figure, back out.
            click(&game_, game_.cinsert_button());
            settle();
            both(
                "type a code box", round, [&] { type(&game_, game_.code_box(0), QStringLiteral("12")); },
                [&] { type(&bare_, bare_.code[0], QStringLiteral("12")); });
            const int cell = 1 + round % kCells;
            both(
                "drop a figure", round,
                [&] {
                    std::unique_ptr<QMimeData> data(morvane::figure_mime_data(1 + round % 6));
                    drop(&game_, game_.cell(cell), data.get());
                },
                [&] {
                    QMimeData data;
                    data.setData(QStringLiteral("application/x-bare"), QByteArray("1"));
                    drop(&bare_, bare_.cells[cell], &data);
                });
            click(&game_, game_.cinsert_button());
            settle();
            game_.cues.clear();
            game_.messages.clear();
        }
    }

    void print() const {
        std::printf("Actions, driven as morvane-drive drives them (%s), CPU time per action, less the"
                    " clock's own %.2f us:\n",
                    qPrintable(QGuiApplication::platformName()), double(clock_cost_ns_) / 1000.0);
        std::printf("  %-18s %10s %10s %7s %14s\n", "action", "game us", "bare us", "ratio", "paints g/b");
        for (const char* name : {"click, a move", "click, refused", "type a code box", "drop a figure", "Randomizer"}) {
            const auto it = figures_.find(name);
            if (it == figures_.end()) continue;
            const Figures& f = it->second;
            const double game = median(f.game_us), bare = median(f.bare_us);
            std::printf("  %-18s %10.1f %10.1f %7.2f %7.1f/%-6.1f\n", name, game, bare, bare > 0 ? game / bare : 0,
                        double(f.game_paints) / double(std::max<size_t>(1, f.game_us.size())),
                        double(f.bare_paints) / double(std::max<size_t>(1, f.bare_us.size())));
        }
    }

private:
    // A shown cell that is (or is not) a legal target, or 0.
    int cell_where(bool target) const {
        for (int n = 1; n <= kCells; ++n) {
            const auto& cell = game_.game().Square[n];
            if (cell.shown && (cell.pointer == morvane::kPointerArrow) == target) return n;
        }
        return 0;
    }

    // Times one action on each window, the game's first every other round.
    void both(const char* name, int round, const std::function<void()>& game, const std::function<void()>& bare) {
        if (!only_.empty() && only_ != name) {
            untimed(game);  // the game's state goes on as in a full run
            return;
        }
        Figures& f = figures_[name];
        auto time = [&](const std::function<void()>& action, const QWidget* window, std::vector<double>& out,
                        long& paints) {
            if (!side_.empty() && side_ != (window == &game_ ? "game" : "bare")) return;
            settle();
            const long before = counter_.paints[window];
            const long long start = bench::clock_ns(CLOCK_THREAD_CPUTIME_ID);
            action();
            settle();
            out.push_back(double(bench::clock_ns(CLOCK_THREAD_CPUTIME_ID) - start - clock_cost_ns_) / 1000.0);
            paints += counter_.paints[window] - before;
        };
        if (round % 2 == 0) {
            time(game, &game_, f.game_us, f.game_paints);
            time(bare, &bare_, f.bare_us, f.bare_paints);
        } else {
            time(bare, &bare_, f.bare_us, f.bare_paints);
            time(game, &game_, f.game_us, f.game_paints);
        }
    }

    // An action left out by --only, done on the game's window alone.
    [[gnu::noinline]] static void untimed(const std::function<void()>& action) {
        action();
        settle();
    }

    DrivenWindow game_{QCoreApplication::applicationDirPath()};
    bench::BareWindow bare_;
    PaintCounter counter_;
    std::map<std::string, Figures> figures_;
    std::string only_;  // the one action timed, or empty for all
    std::string side_;  // the one window it is done on, or empty for both
    // What reading the thread's CPU clock itself costs (a system call),
    // taken off every time, from both windows alike, lest it pull their
    // ratio towards 1.
    const long long clock_cost_ns_ = std::llround(morvane::bench::thread_cpu_cost() * 1000);
};

// One start of `program` with `env` added: wall ms to the first frame, CPU ms
// to it, peak resident MB. Negative wall time when it failed.
struct Start {
    double wall_ms = -1, cpu_ms = 0, peak_mb = 0;
};

Start start_once(const std::string& program, const std::vector<std::string>& env) {
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        const bool replaced = std::any_of(env.begin(), env.end(), [&](const std::string& mine) {
            return entry.compare(0, mine.find('=') + 1, mine, 0, mine.find('=') + 1) == 0;
        });
        if (!replaced) environment.push_back(entry);
    }
    environment.insert(environment.end(), env.begin(), env.end());
    std::vector<char*> envp;
    for (auto& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    pid_t pid = 0;
    const long long spawned = bench::clock_ns(CLOCK_MONOTONIC);
    const int failed = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (failed) {
        close(out[0]);
        return {};
    }
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long frame = 0, cpu = 0;
    long peak = 0;
    Start start;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
        std::sscanf(text.c_str(), "%lld %lld %ld", &frame, &cpu, &peak) == 3) {
        start.wall_ms = double(frame - spawned) / 1e6;
        start.cpu_ms = double(cpu) / 1e6;
        start.peak_mb = double(peak) / 1024.0;
    }
    return start;
}

void start_up(const QString& folder, const char* where, const std::vector<std::string>& env, int starts) {
    std::vector<double> wall[2], cpu[2], peak[2];
    const std::string programs[2] = {(folder + QStringLiteral("/start_game")).toStdString(),
                                     (folder + QStringLiteral("/start_bare")).toStdString()};
    int failures = 0;
    for (int i = 0; i < starts; ++i) {
        for (int k = 0; k < 2; ++k) {
            const int which = (i + k) % 2;  // alternate who goes first
            const Start s = start_once(programs[which], env);
            if (s.wall_ms < 0) {
                ++failures;
                continue;
            }
            wall[which].push_back(s.wall_ms);
            cpu[which].push_back(s.cpu_ms);
            peak[which].push_back(s.peak_mb);
        }
    }
    std::printf("Start-up to the first frame, %s (median of %d starts%s):\n", where, starts,
                failures ? qPrintable(QStringLiteral(", %1 failed").arg(failures)) : "");
    std::printf("  %-22s %10s %10s %12s\n", "", "game", "bare", "game / bare");
    std::printf("  %-22s %10.1f %10.1f %12.2f\n", "wall time, ms", median(wall[0]), median(wall[1]),
                median(wall[0]) / median(wall[1]));
    std::printf("  %-22s %10.1f %10.1f %12.2f\n", "CPU time, ms", median(cpu[0]), median(cpu[1]),
                median(cpu[0]) / median(cpu[1]));
    std::printf("  %-22s %10.1f %10.1f %+11.1f MB\n", "peak memory, MB", median(peak[0]), median(peak[1]),
                median(peak[0]) - median(peak[1]));
}

// A private X display for the start-ups; stopped with the object.
class Xvfb {
public:
    Xvfb() {
        QString display = qEnvironmentVariable("MORVANE_BENCH_XVFB");
        QStringList args{QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24"),
                         QStringLiteral("-nolisten"), QStringLiteral("tcp")};
        if (display.isEmpty())
            args << QStringLiteral("-displayfd") << QStringLiteral("1");
        else
            args.prepend(display);
        server_.start(QStringLiteral("Xvfb"), args);
        if (!server_.waitForStarted(5000)) return;
        if (display.isEmpty()) {
            if (!server_.waitForReadyRead(10000)) return;
            display = QLatin1Char(':') + QString::fromLatin1(server_.readLine()).trimmed();
        } else {
            QTest::qWait(1000);  // no way to hear from it: give it a moment
        }
        display_ = display.toStdString();
    }
    ~Xvfb() {
        server_.terminate();
        server_.waitForFinished(5000);
    }
    const std::string& display() const { return display_; }

private:
    QProcess server_;
    std::string display_;
};

}  // namespace

int main(int argc, char* argv[]) {
    int rounds = 60, starts = 15;
    std::string only, side;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--rounds")
            rounds = std::atoi(argv[i + 1]);
        else if (option == "--starts")
            starts = std::atoi(argv[i + 1]);
        else if (option == "--only")
            only = argv[i + 1];
        else if (option == "--side")
            side = argv[i + 1];
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    morvane::prepare_environment();
    int qt_argc = 1;
    QApplication app(qt_argc, argv);
    morvane::prepare_application(app);
    const QString folder = QCoreApplication::applicationDirPath();

    if (rounds > 0) {
        ActionBench actions(only, side);
        actions.run(rounds);
        actions.print();
    }
    if (starts > 0) {
        start_up(folder, "offscreen", {"QT_QPA_PLATFORM=offscreen"}, starts);
        Xvfb xvfb;
        if (xvfb.display().empty())
            std::printf("Start-up under Xvfb: no Xvfb display could be started\n");
        else
            start_up(folder, qPrintable(QStringLiteral("under Xvfb (%1)").arg(QString::fromStdString(xvfb.display()))),
                     {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + xvfb.display()}, starts);
    }
    return 0;
}
