// The bare window started the same way, reporting its first frame (see
// first_frame.h). Spawned by window_bench.

#include <QApplication>

#include "bare_window.h"
#include "first_frame.h"

int main(int argc, char* argv[]) {
    bench::prepare_environment();
    QApplication app(argc, argv);
    bench::prepare_application(app);
    bench::BareWindow window;
    bench::FirstFrame first(window);
    window.show();
    return QApplication::exec();
}
