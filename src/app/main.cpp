// morvane: starts the game, its window shown at the centre of the screen.

#include <QApplication>
#include <cstdio>

#include "app/command_line.h"
#include "app/data_folder.h"
#include "app/start.h"
#include "app/window.h"

int main(int argc, char* argv[]) {
    // The command line first, so that --help and --version need no display.
    morvane::CommandLine line(QStringLiteral("morvane"),
                              QStringLiteral("Morvane's Challenge II, a puzzle game: clear the board of "
                                             "28 cells one king's move at a time."));
    // No positional arguments yet: one would be added with
    // line.parser().addPositionalArgument(...), read(argc, argv, 1) and
    // line.positional().
    if (const auto status = line.read(argc, argv)) return *status;

    if (const QString missing = morvane::missing_display(); !missing.isEmpty()) {
        std::fprintf(stderr, "morvane: %s\n", qPrintable(missing));
        return 1;
    }
    morvane::prepare_environment();
    QApplication app(argc, argv);
    morvane::prepare_application(app);
    morvane::GameWindow window(morvane::data_folder(morvane::program_folder()));
    window.show();
    return QApplication::exec();
}
