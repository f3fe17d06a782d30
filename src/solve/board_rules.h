#pragma once
// What the landing rules of one board do, as bitboards.

#include <array>

#include "solve/board_masks.h"
#include "solve/solver.h"

namespace morvane::solver {

struct BoardRules {
    // What landing on each cell takes off the board.
    std::array<Cells, kBoardCells + 1> fire{};
    // The cells where that is anything at all.
    Cells firing = 0;

    // Every cell the pieces standing on `cells` take, together; looked up a
    // row of the board at a time.
    Cells taken_by(Cells cells) const {
        static_assert(kRows == 4, "taken_by() reads four rows");
        return taken_[0][cells & row_firing_[0]] | taken_[1][cells >> kColumns & row_firing_[1]] |
               taken_[2][cells >> 2 * kColumns & row_firing_[2]] | taken_[3][cells >> 3 * kColumns & row_firing_[3]];
    }

    // The board after a click from `from` onto its neighbour `to`: the cell
    // left goes, and what landing on `to` takes.
    Cells after_click(Cells board, int from, int to) const { return (board & ~bit(from)) & ~fire[to]; }

    explicit BoardRules(const Position& position);
    BoardRules() = default;

private:
    static constexpr Cells kRowCells = (Cells{1} << kColumns) - 1;
    // The firing cells of each row, as bits 0 to 6 of the row's columns.
    std::array<Cells, kRows> row_firing_{};
    // For each row and each set of its firing cells, what the pieces on them
    // take (the other entries stay 0 and are never read).
    std::array<std::array<Cells, kRowCells + 1>, kRows> taken_{};
};

// The cells on the board of `position`, the player's always among them.
inline Cells cells_of(const Position& position) { return (position.on_board & kAllCells) | bit(position.player); }

// Every cell reachable from `from` by king moves within `within`.
inline Cells flood(const BoardMasks& masks, Cells from, Cells within) {
    for (;;) {
        const Cells grown = masks.with_neighbours(from) & within;
        if (grown == from || grown == within) return grown;
        from = grown;
    }
}

}  // namespace morvane::solver
