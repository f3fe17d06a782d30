// Starting the game: the window, shown at the centre of the screen.

#include <QApplication>

#include "app/start.h"
#include "app/window.h"

int main(int argc, char* argv[]) {
    morvane::prepare_environment();
    QApplication app(argc, argv);
    morvane::prepare_application(app);
    morvane::GameWindow window(QCoreApplication::applicationDirPath());
    window.show();
    return QApplication::exec();
}
