// Legal move targets: the king-move neighbours of the player's cell.

#include "app/morvane1.h"
#include "board/cell_text.h"
#include "play/neighbours.h"

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

void Morvane1::POINT_SET() {
    for (int n = 1; n <= kCells; ++n) Square[n].pointer = kPointerNoDrop;
    // Removed neighbours are flagged as well: a removed cell cannot be
    // clicked anyway, and the loss test looks only at cells on the board.
    if (const auto player = exact_cell(CODE[0].text))
        for (int m : neighbours(*player)) Square[m].pointer = kPointerArrow;
}

}  // namespace morvane
