// morvane-drive [SCRIPT]: plays a script of user actions against the game's
// window (offscreen unless QT_QPA_PLATFORM says otherwise) and prints the
// state of its widgets on each `dump`.

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "app/command_line.h"
#include "app/cue_player.h"
#include "app/data_folder.h"
#include "app/start.h"
#include "drive/driver.h"

namespace {
// The driver's standard error carries only its own reports; the toolkit's
// chatter (no runtime folder, no audio device, ...) is dropped.
void quiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        std::cerr << text.toStdString() << std::endl;
        std::abort();
    }
}
}  // namespace

int main(int argc, char* argv[]) {
    morvane::CommandLine line(
        QStringLiteral("morvane-drive"),
        QStringLiteral("Plays a script of user actions against the window of Morvane's Challenge II\n"
                       "(offscreen unless QT_QPA_PLATFORM says otherwise) and prints the state of\n"
                       "its widgets as JSON on each dump. Without SCRIPT the script is read from\n"
                       "standard input. A line longer than 1 MiB (1048576 bytes) is refused as one\n"
                       "that cannot be parsed: line N on standard error, exit status 2."));
    line.parser().addPositionalArgument(QStringLiteral("script"), QStringLiteral("The script to play."),
                                        QStringLiteral("[SCRIPT]"));
    if (const auto status = line.read(argc, argv, -1)) return *status;
    const QStringList scripts = line.positional();
    if (scripts.size() > 1) {
        std::cerr << "usage: morvane-drive [SCRIPT]\n";
        return 2;
    }
    qInstallMessageHandler(quiet);
    std::ifstream file;
    if (!scripts.isEmpty()) {
        file.open(scripts.first().toLocal8Bit().constData());
        if (!file) {
            std::cerr << "morvane-drive: cannot read " << scripts.first().toLocal8Bit().constData() << '\n';
            return 2;
        }
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    morvane::prepare_environment();
    int qt_argc = 1;
    QApplication app(qt_argc, argv);
    morvane::prepare_application(app);

    morvane::DrivenWindow window(morvane::data_folder(morvane::program_folder()));
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::cerr << "morvane-drive: the window could not be shown\n";
        return 1;
    }
    (void)QTest::qWaitForWindowActive(&window, 1000);

    morvane::Driver driver(window);
    const int status =
        driver.run(!scripts.isEmpty() ? static_cast<std::istream&>(file) : std::cin, std::cout, std::cerr);
    window.close();
    if (morvane::CuePlayer::left_running()) morvane::CuePlayer::end_program(status);
    return status;
}
