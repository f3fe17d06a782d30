// The score box's hidden mode: a double-click puts a typed cell back.

#include "game/morvane1.h"
#include "game/cell_text.h"

namespace morvane {

void Morvane1::score_box_DblClick() {
    if (morvymod.restore_mode != 1) return;
    const double x = leading_number(score_box.text);
    if (!(x > 0 && x < 29)) return;
    const std::int64_t n = round_half_even(x);
    if (n >= 1 && n <= kCells) Square[n].shown = true;
}

}  // namespace morvane
