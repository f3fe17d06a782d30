#pragma once
// Enter and Return click a focused push button, as Space does: GTK and KDE
// programs take both, and a player who tabs to "Randomizer" presses Enter.
// (Qt's buttons take Enter only in dialogs, as their default button.)

class QAbstractButton;

namespace morvane {

void let_enter_click(QAbstractButton* button);

}  // namespace morvane
