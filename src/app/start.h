#pragma once
// What every program that opens the game's window sets up first.

#include <QString>

class QApplication;

namespace morvane {

// Before the application exists: the desktop's scale, taken as it is.
void prepare_environment();
// After it exists: one look on every desktop, the game's name, and the
// desktop file that menus and task bars know the window by.
void prepare_application(QApplication& app);

}  // namespace morvane
