// Board placement: turning the board code into a board ("Reset").

#include "game/morvane1.h"
#include "game/cell_text.h"

namespace morvane {

namespace {
constexpr double kAccessCode = 87;
}  // namespace

void Morvane1::Reset_button_Click() {
    tell({.kind = EventKind::PlacementStarted});
    morvymod.moves_left = 50;
    for (int n = 1; n <= kCells; ++n) Square[n].shown = true;
    for (int n = 1; n <= kCells; ++n) Square[n].picture = Picture::None;

    for (int piece = 1; piece < kBoxes; ++piece) {
        const double value = leading_number(CODE[piece].text);
        if (value > 28 || value < 0) {
            tell({.kind = EventKind::BadCode, .box = piece});
            if (piece == 3 && value == kAccessCode && leading_number(CODE[5].text) == kAccessCode) {
                morvymod.restore_mode = 1;
                score_box.locked = false;
            }
            return;
        }
        // The value lies in 0..28, so its cell does too; 0 is the hidden cell.
        Square[*cell_of(CODE[piece].text)].picture = picture_of_box(piece);
    }

    const double player = leading_number(CODE[0].text);
    if (player > 28 || player < 1) {
        tell({.kind = EventKind::BadCode, .box = 0});
        return;
    }

    // The first placement of a board records its starting cell; every later
    // one puts the player back there.
    if (leading_number(spot.text) != 0)
        CODE[0].text = spot.text;
    else
        spot.text = CODE[0].text;

    if (const auto cell = cell_of(CODE[0].text); cell && *cell >= 1) Square[*cell].picture = Picture::Morvy;
    spot.shown = true;
    CODE[0].shown = false;
    POINT_SET();
    std::string code = spot.text;
    for (int box = 1; box < kBoxes; ++box) code += "," + CODE[box].text;
    tell({.kind = EventKind::BoardPlaced, .code = std::move(code)});
}

}  // namespace morvane
