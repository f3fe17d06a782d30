#pragma once
// Where the game's cues and help file are: the folder the game plays them
// from and makes its current directory.

#include <QString>

namespace morvane {

// The folder of the running program's executable, with symbolic links
// resolved (so a link in another folder still finds the real install).
QString program_folder();

// The folder holding the cues and the help file for a program that lives in
// `program_folder`. The program's own folder comes first, as in the build
// tree where the cues and the help file sit beside the programs. When
// neither the cues nor the help file are there, as in an installed game
// (bin/ beside share/), the data folder ../share/morvane is used when it
// exists. Otherwise the program's folder, which then simply lacks them.
// Never depends on the current directory.
QString data_folder(const QString& program_folder);

}  // namespace morvane
