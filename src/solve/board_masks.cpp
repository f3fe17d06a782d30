#include "solve/board_masks.h"

#include <algorithm>
#include <cstdlib>

#include "game/geometry.h"

namespace morvane::solver {

const BoardMasks& BoardMasks::get() {
    static const BoardMasks masks;
    return masks;
}

BoardMasks::BoardMasks() {
    for (int cell = 1; cell <= kBoardCells; ++cell) {
        for (const int m : morvane::neighbours(cell)) {
            neighbours_[cell] |= bit(m);
            const auto step = std::find(kShift.begin(), kShift.end(), m - cell);
            if (step == kShift.end()) std::abort();  // not a board of king moves
            if (!(kFrom[step - kShift.begin()] & bit(cell))) std::abort();
        }
        for (const Colour colour : kColours)
            for (const int m : removal_pattern(colour, cell))
                patterns_[static_cast<int>(colour)][cell] |= bit(m);
    }
    // The shifts must agree with the neighbour lists cell by cell.
    for (int cell = 1; cell <= kBoardCells; ++cell)
        if (with_neighbours(bit(cell)) != (neighbours_[cell] | bit(cell))) std::abort();
}

}  // namespace morvane::solver
