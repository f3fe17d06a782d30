// The Randomizer: deals seven uniform cells and places the board.

#include "game/morvane1.h"
#include "game/cell_text.h"

namespace morvane {

void Morvane1::Randomizer_button_Click() {
    morvymod.moves_left = 50;
    spot.text = "0";
    for (int n = 1; n <= kCells; ++n) Square[n].shown = true;
    for (auto& box : CODE) box.text = plain_decimal(dealer.draw());
    Reset_button_Click();
}

}  // namespace morvane
