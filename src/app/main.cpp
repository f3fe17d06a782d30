// morvane: starts the game, its window shown at the centre of the screen,
// with the board of a code given on the command line placed on it.

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "app/command_line.h"
#include "app/cue_player.h"
#include "app/data_folder.h"
#include "app/display_check.h"
#include "app/look.h"
#include "app/start.h"
#include "app/window.h"
#include "game/code_reading.h"

int main(int argc, char* argv[]) {
    // The command line first, so that --help and --version need no display.
    morvane::CommandLine line(
        QStringLiteral("morvane"),
        QStringLiteral("Morvane's Challenge II, a puzzle game: clear the board of 28 cells one king's move at a time.\n"
                       "\n"
                       "Keys: Ctrl+N a new board, F5 Reset (Start Over while entering a code), Ctrl+E Code and OK,\n"
                       "Ctrl+C copies the board's code, Ctrl+V in a code box pastes one into all seven boxes,\n"
                       "Ctrl+M sound off and on, Ctrl+Q quits, F1 help, H hint, M piece marks on and off,\n"
                       "Tab to the board and the buttons.\n"
                       "On the board: the arrows move the cursor, Enter or Space clicks its cell, the keypad's\n"
                       "1 to 9 move the player, and while entering a code P Y B N G R O put the player or the\n"
                       "yellow, blue, navy, green, red or orange piece on the cursor's cell."));
    const QCommandLineOption marks(QStringLiteral("marks"),
                                   QStringLiteral("Gives each piece a small mark besides its colour (M switches them "
                                                  "on and off while playing)."));
    line.parser().addOption(marks);
    line.parser().addPositionalArgument(
        QStringLiteral("CODE"),
        QStringLiteral("Opens with this board placed: the seven cells of the player and the yellow, blue, "
                       "navy, green, red and orange pieces, separated by commas or blanks, e.g. 9,23,28,21,15,4,27 "
                       "(what Ctrl+C copies in the game). A code that starts with - follows --."),
        QStringLiteral("[CODE]"));
    if (const auto status = line.read(argc, argv, 1)) return *status;
    // A code is read as a person means it (blanks, commas), and one that is
    // no code is told at once, before any window.
    std::optional<morvane::CodeBoxes> code;
    if (!line.positional().isEmpty()) {
        const QString given = line.positional().first();
        code = morvane::read_code(given.toStdString());
        if (!code) {
            std::fprintf(stderr,
                         "morvane: '%s' is not a board code: seven cell numbers separated by commas or blanks, "
                         "e.g. 9,23,28,21,15,4,27\n",
                         qPrintable(given));
            return 2;
        }
    }

    if (const QString missing = morvane::missing_display(); !missing.isEmpty()) {
        std::fprintf(stderr, "morvane: %s\n", qPrintable(missing));
        return 1;
    }
    morvane::show_marks(line.parser().isSet(marks));
    morvane::prepare_environment();
    QApplication app(argc, argv);
    morvane::display_check_done();
    morvane::prepare_application(app);
    morvane::GameWindow window(morvane::data_folder(morvane::program_folder()));
    window.show();
    if (code) QTimer::singleShot(0, &window, [&window, &code] { window.place_code(*code); });
    const int status = QApplication::exec();
    window.close();  // the cue player closes with the window
    if (morvane::CuePlayer::left_running()) morvane::CuePlayer::end_program(status);
    return status;
}
