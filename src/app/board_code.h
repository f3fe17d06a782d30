#pragma once
// Board codes as one line of text, and what the window says about the game
// to a player who cannot see it.
//
// A board code travels as the seven box texts separated by commas, player
// first, then yellow, blue, navy, green, red and orange: "9,23,28,21,15,4,27"
// (the form morvane-solve reads). Nothing here decides anything about the
// game; it only reads the game's state and words it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/morvane1.h"

namespace morvane {

// The box texts of a code line, split at its commas: box i gets the i-th
// field exactly as written (blanks included); missing fields are empty and
// fields after the seventh are dropped. Each box keeps of it what typing
// keeps, which the game decides.
std::array<std::string, kBoxes> code_boxes(std::string_view line);

// Whether a board is placed, so that its code can be copied: code entry is
// off and the start cell is shown.
bool board_placed(const Morvane1& game);

// The placed board's code: the start cell, then the six pieces' box texts.
std::string board_code(const Morvane1& game);

// What a player perceives of the game at one moment.
struct Seen {
    std::array<bool, kCells + 1> shown{};
    std::array<Picture, kCells + 1> picture{};
    std::array<bool, kBoxes> in_palette{};
    int player = 0;  // the cell showing the player on the board, 0 for none
    bool code_entry = false;
    bool placed = false;
    std::string code;  // the placed board's code
    std::int64_t moves_left = 0;
    std::int64_t score = 0;
};
Seen seen(const Morvane1& game);

// The cell 1..28 that shows the player on the board, 0 when none does.
int player_cell(const Morvane1& game);

// "player", "yellow piece", ... for a picture; "empty" for none.
std::string figure_words(Picture picture);

// A cell as a screen reader names it: "Cell 9, player", "Cell 15, green
// piece", "Cell 3, empty", "Cell 4, off the board".
std::string cell_name(const Morvane1& game, int n);
// Whether cell n is a legal move, or off the board.
std::string cell_description(const Morvane1& game, int n);

// What changed from `from` to `to`, in a few sentences, given the cues the
// game played in between: the move (where the player is now, which cells a
// landing rule took off, moves left), a refused move, a board placed, code
// entry begun or started over, a figure put on a cell. Empty when there is
// nothing to tell (typing in a box, say).
std::string what_happened(const Seen& from, const Seen& to, const std::vector<std::string>& cues);

// A board as told when it is placed: "Player on cell 9; yellow piece on
// cell 23; ...; 50 moves left."
std::string board_words(const Seen& board);

}  // namespace morvane
