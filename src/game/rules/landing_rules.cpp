// The landing rules: what happens when the player's move ends on a piece.

#include "game/morvane1.h"
#include "game/cell_text.h"
#include "game/rules/removal_patterns.h"

namespace morvane {

// The frame every colour shares. Pieces are compared by the texts of their
// boxes, not by number: a box typed "05" never equals the player's "5".
void Morvane1::landing_rule(int piece) {
    const std::string& player = CODE[0].text;
    // A later piece on the same cell takes precedence; its rule runs later.
    for (int later = piece + 1; later < kBoxes; ++later)
        if (CODE[later].text == player) return;
    if (CODE[piece].text != player) return;

    Event fired{.kind = EventKind::RuleFired, .piece = piece};
    if (const auto cell = cell_spelled(player)) {
        fired.to = *cell;
        for (int m : removal_pattern(static_cast<Colour>(piece), *cell)) {
            if (Square[m].shown) fired.cells.push_back(m);
            Square[m].shown = false;
        }
    }
    tell(fired);
}

void Morvane1::yellow_check() { landing_rule(1); }
void Morvane1::blue_check() { landing_rule(2); }
void Morvane1::navy_check() { landing_rule(3); }
void Morvane1::green_check() { landing_rule(4); }
void Morvane1::red_check() { landing_rule(5); }
void Morvane1::orange_check() { landing_rule(6); }

}  // namespace morvane
