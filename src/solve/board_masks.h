#pragma once
// Bitboards over the 28 cells: cell n is bit n - 1.
//
// Every mask here is built once from the game's own geometry and landing
// rules (neighbours(), removal_pattern()), so the solver cannot drift from
// what a click in the game does.

#include <array>
#include <bit>
#include <cstdint>

#include "rules/removal_patterns.h"

namespace morvane::solver {

using Cells = std::uint32_t;

constexpr int kBoardCells = 28;
constexpr Cells kAllCells = (Cells{1} << kBoardCells) - 1;

constexpr Cells bit(int cell) { return Cells{1} << (cell - 1); }
constexpr int lowest_cell(Cells cells) { return std::countr_zero(cells) + 1; }

class BoardMasks {
public:
    // The one set of tables, built on first use.
    static const BoardMasks& get();

    // The king-move neighbours of `cell` (1..28).
    Cells neighbours(int cell) const { return neighbours_[cell]; }
    // What the colour's landing rule takes off around a player on `cell`.
    Cells pattern(Colour colour, int cell) const {
        return patterns_[static_cast<int>(colour)][cell];
    }
    // Every cell next to some cell of `cells`, in one step per direction.
    Cells spread(Cells cells) const {
        Cells out = 0;
        for (const Step& step : steps_) {
            const Cells from = cells & step.from;
            out |= step.shift > 0 ? from << step.shift : from >> -step.shift;
        }
        return out;
    }

    // The cells of `board` with at least two neighbours in `board`.
    Cells two_or_more_neighbours(Cells board) const {
        Cells one = 0, two = 0;
        for (const Step& step : steps_) {
            const Cells from = board & step.from;
            const Cells hit = step.shift > 0 ? from << step.shift : from >> -step.shift;
            two |= one & hit;
            one |= hit;
        }
        return two;
    }

private:
    BoardMasks();

    // One direction of king moves: the cells that have a neighbour that way,
    // and how far the bit index moves. Collected from neighbours().
    struct Step {
        Cells from = 0;
        int shift = 0;
    };

    std::array<Cells, kBoardCells + 1> neighbours_{};
    std::array<std::array<Cells, kBoardCells + 1>, 7> patterns_{};
    std::array<Step, 8> steps_{};
};

}  // namespace morvane::solver
