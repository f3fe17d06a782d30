#pragma once
// Board codes as one line of text, and placing them.
//
// A board code travels as the seven box texts separated by commas, player
// first, then yellow, blue, navy, green, red and orange: "9,23,28,21,15,4,27"
// (the form morvane-solve reads and `morvane CODE` takes).

#include <array>
#include <string>
#include <string_view>

#include "game/morvane1.h"

namespace morvane {

using CodeBoxes = std::array<std::string, kBoxes>;

// The box texts of a code line, split at its commas: box i gets the i-th
// field exactly as written (blanks included); missing fields are empty and
// fields after the seventh are dropped.
CodeBoxes code_boxes(std::string_view line);

// Types `boxes` into the seven code boxes as the player would: each keeps
// of its text what typing keeps, and a locked box keeps its own.
void type_code(Morvane1& game, const CodeBoxes& boxes);

// Places a board code exactly as the player would: "Code" (unless code
// entry is on already), the seven boxes typed, "OK". The window, the
// clipboard, the command line and the solver all place codes through this.
void place_code(Morvane1& game, const CodeBoxes& boxes);

// Whether a board is placed, so that its code can be copied: code entry is
// off and the start cell is shown.
bool board_placed(const Morvane1& game);

// The placed board's code: the start cell, then the six pieces' box texts.
std::string board_code(const Morvane1& game);

}  // namespace morvane
