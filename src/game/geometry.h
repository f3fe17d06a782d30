#pragma once
// The board's geometry: 7 columns by 4 rows, cells 1..28 row by row from
// the top left, and the king-move neighbours of a cell.

#include <vector>

namespace morvane {

constexpr int kColumns = 7;
constexpr int kRows = 4;

constexpr int row_of(int cell) { return (cell - 1) / kColumns; }
constexpr int column_of(int cell) { return (cell - 1) % kColumns; }

// The cell at (row, column), or 0 when that lies off the board.
constexpr int cell_at(int row, int column) {
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns) return 0;
    return row * kColumns + column + 1;
}

// The neighbours of `cell` (diagonals included) in ascending order; empty for
// anything but a cell 1..28.
std::vector<int> neighbours(int cell);

}  // namespace morvane
