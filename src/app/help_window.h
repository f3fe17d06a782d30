#pragma once
// The game's help: opens the help file in a help window of the game's own.

#include <QString>

class QWidget;

namespace morvane {

// Shows help file `path` in the help window belonging to `parent` (opening
// it, or bringing it to the front when it is open already). A missing or
// unreadable file gives a message that names it; nothing else changes.
void show_help(QWidget* parent, const QString& path);

}  // namespace morvane
