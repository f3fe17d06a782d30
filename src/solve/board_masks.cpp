#include "solve/board_masks.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "play/neighbours.h"

namespace morvane::solver {

const BoardMasks& BoardMasks::get() {
    static const BoardMasks masks;
    return masks;
}

BoardMasks::BoardMasks() {
    std::vector<int> shifts;
    for (int cell = 1; cell <= kBoardCells; ++cell) {
        for (const int m : morvane::neighbours(cell)) {
            neighbours_[cell] |= bit(m);
            const int shift = m - cell;
            auto known = std::find(shifts.begin(), shifts.end(), shift);
            if (known == shifts.end()) {
                shifts.push_back(shift);
                known = shifts.end() - 1;
            }
            if (shifts.size() > steps_.size()) std::abort();  // not a king-move board
            Step& step = steps_[known - shifts.begin()];
            step.shift = shift;
            step.from |= bit(cell);
        }
        for (const Colour colour : kColours)
            for (const int m : removal_pattern(colour, cell))
                patterns_[static_cast<int>(colour)][cell] |= bit(m);
    }
    // The shifted spread must agree with the neighbour lists cell by cell;
    // a mismatch would mean the geometry is no longer a grid of king moves.
    for (int cell = 1; cell <= kBoardCells; ++cell)
        if (spread(bit(cell)) != neighbours_[cell]) std::abort();
}

}  // namespace morvane::solver
