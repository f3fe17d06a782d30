#pragma once
// A board code as a person writes it down, pastes it or gives it on the
// command line: seven cell numbers, player first, then the yellow, blue,
// navy, green, red and orange pieces.
//
//     9,23,28,21,15,4,27     9, 23, 28, 21, 15, 4, 27     9 23 28 21 15 4 27
//     1,9,,,,,28             (commas: an empty place is a piece left off)
//
// Blanks around the numbers are ignored; commas or blanks separate them.
// A number is what fits a box: two characters of digits, a sign in front
// or a decimal point ("-1", ".5"); the game itself judges its value.
// Anything else (a word, a longer number, more or fewer than seven places)
// is not a code.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "game/controls.h"

namespace morvane {

// The seven box texts of `text` (each exactly as written, blanks taken
// off), or nothing when `text` is not a board code.
std::optional<std::array<std::string, kBoxes>> read_code(std::string_view text);

}  // namespace morvane
