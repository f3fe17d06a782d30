#pragma once
// Bitboards over the 28 cells: cell n is bit n - 1.
//
// Every mask here is built once from the game's own geometry and landing
// rules (neighbours(), removal_pattern()), so the solver cannot drift from
// what a click in the game does.

#include <array>
#include <bit>
#include <cstdint>
#include <utility>

#include "game/geometry.h"
#include "game/rules/removal_patterns.h"

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
    // The cells of `cells` and every cell next to one of them: the box of
    // three by three cells around each, cut at the board's edges, done as a
    // step along the rows and then one across them.
    Cells with_neighbours(Cells cells) const {
        const Cells row = cells | shifted<0>(cells) | shifted<1>(cells);
        return (row | (row << kColumns) | (row >> kColumns)) & kAllCells;
    }

    // The cells of `board` with at least two neighbours in `board`.
    Cells two_or_more_neighbours(Cells board) const {
        // Neighbours in the row, and how many of the three cells of each
        // row's window (a cell and the two beside it) are on the board; a
        // cell counts those of its own row and the windows above and below.
        const Cells left = shifted<0>(board), right = shifted<1>(board);
        const Cells beside = left | right, both_beside = left & right;
        const Cells window = board | beside, window_two = (board & beside) | both_beside;
        const Cells above = (window << kColumns) & kAllCells, below = window >> kColumns;
        const Cells above_two = (window_two << kColumns) & kAllCells, below_two = window_two >> kColumns;
        return both_beside | (beside & (above | below)) | above_two | below_two | (above & below);
    }

private:
    BoardMasks();

    // The eight directions of king moves, as moves of the bit index and of
    // (row, column): fixed lists, so that the compiler can unroll the shifts
    // and keep their masks in the code. The constructor checks them against
    // neighbours() cell by cell.
    static constexpr int kSteps = 8;
    static constexpr std::array<std::array<int, 2>, kSteps> kStep{
        {{0, 1}, {0, -1}, {1, 0}, {-1, 0}, {1, 1}, {-1, -1}, {1, -1}, {-1, 1}}};
    static constexpr std::array<int, kSteps> kShift = [] {
        std::array<int, kSteps> shift{};
        for (int step = 0; step < kSteps; ++step) shift[step] = kStep[step][0] * kColumns + kStep[step][1];
        return shift;
    }();
    static_assert(kShift[0] == 1 && kShift[1] == -1, "with_neighbours() steps along rows first");
    // For each direction, the cells with a neighbour that way.
    static constexpr std::array<Cells, kSteps> kFrom = [] {
        std::array<Cells, kSteps> from{};
        for (int step = 0; step < kSteps; ++step)
            for (int cell = 1; cell <= kBoardCells; ++cell)
                if (cell_at(row_of(cell) + kStep[step][0], column_of(cell) + kStep[step][1]))
                    from[step] |= bit(cell);
        return from;
    }();
    template <std::size_t step>
    static constexpr Cells shifted(Cells cells) {
        constexpr int shift = kShift[step];
        const Cells from = cells & kFrom[step];
        if constexpr (shift > 0)
            return from << shift;
        else
            return from >> -shift;
    }

    std::array<Cells, kBoardCells + 1> neighbours_{};
    std::array<std::array<Cells, kBoardCells + 1>, 7> patterns_{};
};

}  // namespace morvane::solver
