// The player's move, and the end of a game: won, lost, and the score.

#include "game/morvane1.h"
#include "game/cell_text.h"

namespace morvane {

namespace {
constexpr std::int64_t kEndBonus = 10;

// The score after a game: moves left and the bonus added for a win, taken
// away for a loss, never below 0.
std::int64_t settled(std::int64_t score, std::int64_t change) {
    score += change;
    return score < 0 ? 0 : score;
}
}  // namespace

void Morvane1::Square_Click(int index) {
    tell({.kind = EventKind::ProgramFolder});
    // Only a cell on the board can be clicked; the hidden cell never can.
    if (index < 1 || index > kCells || !Square[index].shown) return;
    if (Square[index].pointer == kPointerNoDrop) {
        tell({.kind = EventKind::Refused, .cell = index});
        return;
    }

    // Leave the old cell. The player's cell is always a whole cell here:
    // only a cell next to it can carry the arrow.
    int from = 0;
    if (const auto old_cell = cell_of(CODE[0].text); old_cell && *old_cell >= 1) {
        from = *old_cell;
        Square[from].picture = Picture::None;
        Square[from].shown = false;
    }
    morvymod.moves_left -= 1;
    CODE[0].text = plain_decimal(index);
    const Picture landed_on = Square[index].picture;
    Square[index].picture = Picture::Morvy;
    tell({.kind = EventKind::Moved, .from = from, .to = index, .landed_on = landed_on});

    yellow_check();
    blue_check();
    navy_check();
    green_check();
    red_check();
    orange_check();
    POINT_SET();

    morvymod.cell_count = 0;
    for (int n = 1; n <= kCells; ++n)
        if (Square[n].shown) ++morvymod.cell_count;
    if (morvymod.cell_count == 1) {
        const std::int64_t score = settled(morvymod.score, morvymod.moves_left + kEndBonus);
        tell({.kind = EventKind::Won, .score = score});
        morvymod.score = score;
        score_box.text = plain_decimal(morvymod.score);
        Randomizer_button_Click();
        return;
    }

    morvymod.cell_count = 0;
    for (int n = 1; n <= kCells; ++n)
        if (Square[n].shown && Square[n].pointer == kPointerArrow) ++morvymod.cell_count;
    if (morvymod.cell_count != 0) return;

    const std::int64_t score = settled(morvymod.score, -(morvymod.moves_left + kEndBonus));
    tell({.kind = EventKind::Lost, .score = score});
    morvymod.score = score;
    score_box.text = plain_decimal(morvymod.score);
    Reset_button_Click();
}

}  // namespace morvane
