#pragma once
// What every program that opens the game's window sets up first.

class QApplication;

namespace morvane {

// Before the application exists: the desktop's scale, taken as it is.
void prepare_environment();
// After it exists: one look on every desktop, and the game's name.
void prepare_application(QApplication& app);

}  // namespace morvane
