#include "app/start.h"

#include <QApplication>
#include <QStyleFactory>

namespace morvane {

void prepare_environment() {
    // The layout is fixed in pixels of a 96 DPI screen and the fonts are
    // given in points: keep the two in step whatever the screen reports.
    // (High-DPI screens still scale the whole window evenly.)
    if (!qEnvironmentVariableIsSet("QT_FONT_DPI")) qputenv("QT_FONT_DPI", "96");
}

void prepare_application(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Morvane's Challenge II"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(style);
}

}  // namespace morvane
