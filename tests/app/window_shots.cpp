// window_shots FOLDER: plays the game window through a fixed list of
// situations (start, code entry, figures dropped, cells pressed, moves,
// removed cells, a dealt board, the hint) and writes what the window shows
// in each as FOLDER/NN-name.png. Two builds' folders compared file by file
// tell whether a change to the window's drawing changed a pixel.
//
// Each situation is grabbed twice: rendered afresh (QWidget::grab) and as
// the window's backing store holds it after the repaints that led there
// (the screen's grab). The two must match, or some repaint was missed; the
// program says so and exits 1.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <cstdio>
#include <sstream>

#include "app/start.h"
#include "drive/driver.h"

using namespace morvane;

namespace {

struct Step {
    const char* name;
    const char* script;  // driver commands; "press N" holds the mouse down on Square(N)
};

const Step kSteps[] = {
    {"start", ""},
    {"code-entry", "click cinsert"},
    {"code-entry-pressed", "press 5"},
    {"figures-dropped", "drop Morvy 1\ndrop YEL 3\ndrop BLU 10\ndrop NAV 17\ndrop GRE 22\ndrop RED 26\ndrop ORA 28"},
    {"figure-pressed", "press 10"},
    {"board-placed", "click cinsert"},
    {"target-pressed", "press 2"},
    {"moved", "click Square(2)"},
    {"moved-twice", "click Square(3)"},
    {"landed-blue", "click Square(10)"},
    {"forbidden-pressed", "press 20"},
    {"typed-board", "click cinsert\ntype CODE(0) 9\ntype CODE(1) 2\ntype CODE(6) 16\nclick cinsert"},
    {"walked", "click Square(16)\nclick Square(17)\nclick Square(24)"},
    {"next-to-removed-pressed", "press 25"},
    {"reset", "click Reset_button"},
    {"dealt", "seed 7\nclick Randomizer_button"},
    {"dealt-played", "click Square(1)\nclick Square(2)\nclick Square(8)\nclick Square(9)"},
    {"hint", "key H"},
    {"start-over", "click Randomizer_button\nclick reseto"},
    {"hidden-cell-pressed", "click cinsert\ntype CODE(0) 1\nclick cinsert\nclick Square(9)\npress 1"},
};

QImage backing_store(QWidget& window) {
    QScreen* screen = window.screen();
    return screen->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_shots FOLDER\n");
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    prepare_environment();
    int qt_argc = 1;
    QApplication app(qt_argc, argv);
    prepare_application(app);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(folder.path());

    DrivenWindow window(QCoreApplication::applicationDirPath());
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    Driver driver(window);
    QWindow* handle = window.windowHandle();

    int mismatches = 0;
    int number = 0;
    for (const Step& step : kSteps) {
        QPoint held;
        std::istringstream lines(step.script);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("press ", 0) == 0) {
                const QPushButton* cell = window.cell(std::stoi(line.substr(6)));
                held = cell->mapTo(&window, cell->rect().center());
                QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, held);
                continue;
            }
            std::istringstream one(line);
            std::ostringstream out, errors;
            if (driver.run(one, out, errors) != 0) {
                std::fprintf(stderr, "%s: %s", step.name, errors.str().c_str());
                return 2;
            }
        }
        if (!QTest::qWaitFor([&] { return !window.hint_pending(); }, 20000)) {  // H's answer is shown
            std::fprintf(stderr, "%s: the hint never came\n", step.name);
            return 2;
        }
        QApplication::processEvents();
        QTest::qWait(20);  // let pending repaints reach the backing store
        const QImage fresh = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage stored = backing_store(window);
        const QString name =
            QStringLiteral("%1-%2").arg(++number, 2, 10, QLatin1Char('0')).arg(QLatin1String(step.name));
        fresh.save(folder.filePath(name + QStringLiteral(".png")));
        // (Scaled screens give the screen's grab in other pixels: not compared.)
        if (stored.size() == fresh.size() && stored != fresh) {
            stored.save(folder.filePath(name + QStringLiteral("-stored.png")));
            std::fprintf(stderr, "%s: the backing store differs from a fresh rendering\n", qPrintable(name));
            ++mismatches;
        }
        if (!held.isNull()) QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, held);
    }
    window.close();
    return mismatches ? 1 : 0;
}
