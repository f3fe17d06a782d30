// Shows a help file in the game's help window, the way F1 does, so that it
// can be looked at (and photographed) without the game.
#include <QApplication>
#include <QWidget>

#include "help/help_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString path = args.size() > 1 ? args.at(1) : QStringLiteral(MORVANE_HELP_FILE);
    QWidget owner;  // stands in for the game window
    owner.resize(300, 200);
    morvane::show_help(&owner, path);
    if (morvane::HelpWindow* window = morvane::help_window_of(&owner)) {
        if (args.size() > 2) window->browser()->setSource(morvane::topic_url(args.at(2)));
        QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QApplication::quit);
    } else {
        owner.show();  // the message box needs its owner on screen
    }
    return app.exec();
}
