// window_geometry: prints where the desktop window places each of its named
// controls, in the window's pixels, as one JSON object {"name": [x, y, w, h]}
// (offscreen), for the browser edition's layout test.

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QWidget>
#include <cstdio>

#include "app/start.h"
#include "app/window.h"

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    morvane::prepare_environment();
    QApplication app(argc, argv);
    morvane::prepare_application(app);
    morvane::GameWindow window(QCoreApplication::applicationDirPath());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    QJsonObject places;
    places[QStringLiteral("Morvane1")] = QJsonArray{0, 0, window.width(), window.height()};
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        const QPoint at = control->mapTo(&window, QPoint(0, 0));
        places[name] = QJsonArray{at.x(), at.y(), control->width(), control->height()};
    }
    std::printf("%s\n", QJsonDocument(places).toJson(QJsonDocument::Compact).constData());
    return 0;
}
