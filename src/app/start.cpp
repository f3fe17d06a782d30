#include "app/start.h"

#include <QApplication>
#include <QStyleFactory>

#include "app/command_line.h"

namespace morvane {

void prepare_environment() {
    // The layout is fixed in pixels of a 96 DPI screen and the fonts are
    // given in points. Qt scales both evenly by the desktop's scale (Xft.dpi
    // on X11, the output scale on Wayland, QT_SCALE_FACTOR), so the window
    // keeps its layout at any scale; a scale of 1.25 or 1.5 is taken as it
    // is, not rounded to a whole one.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

void prepare_application(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Morvane's Challenge II"));
    QApplication::setApplicationVersion(version());
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVANE_APP_ID));
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(style);
}

}  // namespace morvane
