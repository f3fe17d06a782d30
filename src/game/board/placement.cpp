// Board placement: turning the board code into a board ("Reset").

#include "game/morvane1.h"
#include "game/cell_text.h"

namespace morvane {

namespace {
constexpr std::string_view kCodeTitle = "Morvane's Challenge";
constexpr std::string_view kBadYellow =
    "Invalid Code.  Make sure each number in each box is below 29.";
constexpr std::string_view kBadBox =
    "Invalid Code.  Make sure the number in each box is below 29.";
constexpr double kAccessCode = 87;
}  // namespace

void Morvane1::Reset_button_Click() {
    play_cue("move.wav");
    morvymod.moves_left = 50;
    for (int n = 1; n <= kCells; ++n) Square[n].shown = true;
    for (int n = 1; n <= kCells; ++n) Square[n].picture = Picture::None;

    for (int piece = 1; piece < kBoxes; ++piece) {
        const double value = leading_number(CODE[piece].text);
        if (value > 28 || value < 0) {
            outside_.message(piece == 1 ? kBadYellow : kBadBox, kCodeTitle, Icon::Warning);
            if (piece == 3 && value == kAccessCode &&
                leading_number(CODE[5].text) == kAccessCode) {
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
        outside_.message(kBadBox, kCodeTitle, Icon::Warning);
        return;
    }

    // The first placement of a board records its starting cell; every later
    // one puts the player back there.
    if (leading_number(spot.text) != 0)
        CODE[0].text = spot.text;
    else
        spot.text = CODE[0].text;

    if (const auto cell = cell_of(CODE[0].text); cell && *cell >= 1)
        Square[*cell].picture = Picture::Morvy;
    spot.shown = true;
    CODE[0].shown = false;
    POINT_SET();
}

}  // namespace morvane
