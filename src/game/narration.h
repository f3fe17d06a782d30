#pragma once
// What a player who cannot see the window is told: the words for a cell,
// for a board, and for what the last action did, from the game's events.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "game/events.h"
#include "game/morvane1.h"

namespace morvane {

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

// A board as told when it is placed: "Player on cell 9; yellow piece on
// cell 23; ...; 50 moves left."
std::string board_words(const Seen& board);

// What `events` did, the game having gone from `from` to `to` meanwhile, in
// a few sentences: a refused move; the move (where the player is now, which
// cells a landing rule took off, cells and moves left); a board placed;
// code entry begun or started over; a figure put on a cell; the score.
// Empty when there is nothing to tell (typing in a box, say).
std::string narrate(std::span<const Event> events, const Seen& from, const Seen& to);

}  // namespace morvane
