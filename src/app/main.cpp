// Starting the game: the window, shown at the centre of the screen, with
// the board of a code given on the command line placed on it.

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "app/start.h"
#include "app/window.h"

int main(int argc, char* argv[]) {
    morvane::prepare_environment();
    QApplication app(argc, argv);
    morvane::prepare_application(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A puzzle: move the player across a board of 28 cells until only its own cell is left.\n"
        "\n"
        "Keys: Ctrl+N a new board, F5 Reset (Start Over while entering a code), Ctrl+E Code and OK,\n"
        "Ctrl+C copies the board's code, Ctrl+V in a code box pastes one into all seven boxes,\n"
        "Ctrl+M sound off and on, Ctrl+Q quits, F1 help, H hint, Tab to the board and the buttons.\n"
        "On the board: the arrows move the cursor, Enter or Space clicks its cell, the keypad's\n"
        "1 to 9 move the player, and while entering a code P Y B N G R O put the player or the\n"
        "yellow, blue, navy, green, red or orange piece on the cursor's cell."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("CODE"),
        QStringLiteral("Opens with this board placed: the seven cells of the player and the yellow, blue, "
                       "navy, green, red and orange pieces, separated by commas, e.g. 9,23,28,21,15,4,27 "
                       "(what Ctrl+C copies in the game)."),
        QStringLiteral("[CODE]"));
    parser.process(app);
    const QStringList codes = parser.positionalArguments();
    if (codes.size() > 1) {
        fputs("morvane: give one board code at most\n", stderr);
        parser.showHelp(2);
    }

    morvane::GameWindow window(QCoreApplication::applicationDirPath());
    window.show();
    if (!codes.isEmpty())
        QTimer::singleShot(0, &window, [&window, code = codes.first()] { window.place_code(code); });
    return QApplication::exec();
}
