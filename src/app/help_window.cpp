#include "app/help_window.h"

#include <QFileInfo>
#include <QMessageBox>

namespace morvane {

void show_help(QWidget* parent, const QString& path) {
    if (!QFileInfo(path).isReadable())
        QMessageBox::warning(parent, QStringLiteral("Morvane's Challenge II"),
                             QStringLiteral("The help file %1 cannot be read.").arg(path));
}

}  // namespace morvane
