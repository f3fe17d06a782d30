// Legal move targets: the king-move neighbours of the player's cell.

#include "game/morvane1.h"
#include "game/cell_text.h"
#include "game/geometry.h"

namespace morvane {

void Morvane1::POINT_SET() {
    for (int n = 1; n <= kCells; ++n) Square[n].pointer = kPointerNoDrop;
    // Removed neighbours are flagged as well: a removed cell cannot be
    // clicked anyway, and the loss test looks only at cells on the board.
    if (const auto player = exact_cell(CODE[0].text))
        for (int m : neighbours(*player)) Square[m].pointer = kPointerArrow;
}

}  // namespace morvane
