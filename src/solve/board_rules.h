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

    explicit BoardRules(const Position& position);
    BoardRules() = default;
};

// Every cell reachable from `from` by king moves within `within`.
inline Cells flood(const BoardMasks& masks, Cells from, Cells within) {
    for (;;) {
        const Cells grown = masks.with_neighbours(from) & within;
        if (grown == from || grown == within) return grown;
        from = grown;
    }
}

}  // namespace morvane::solver
