// The game started as `morvane` starts it, reporting its first frame (see
// first_frame.h). Spawned by window_bench.

#include <QApplication>

#include "app/start.h"
#include "app/window.h"
#include "first_frame.h"

int main(int argc, char* argv[]) {
    morvane::prepare_environment();
    QApplication app(argc, argv);
    morvane::prepare_application(app);
    morvane::GameWindow window(QCoreApplication::applicationDirPath());
    bench::FirstFrame first(window);
    window.show();
    return QApplication::exec();
}
