// The king-move neighbours of a cell.

#include "game/geometry.h"

namespace morvane {

std::vector<int> neighbours(int cell) {
    std::vector<int> result;
    if (cell < 1 || cell > kRows * kColumns) return result;
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc) {
            if (dr == 0 && dc == 0) continue;
            if (const int m = cell_at(row_of(cell) + dr, column_of(cell) + dc)) result.push_back(m);
        }
    return result;
}

}  // namespace morvane
