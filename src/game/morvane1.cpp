#include "game/morvane1.h"

#include "game/cell_text.h"

namespace morvane {

Morvane1::Morvane1(GameEvents& events) : events_(&events) {
    // The state the window starts in: 28 empty grey cells that are no legal
    // targets, empty locked code boxes, score 0, the palette hidden.
    Square[0].shown = false;
    for (auto& box : CODE) box.max_length = 2;
    spot = TextBox{"0", true, false, 0};
    score_box = TextBox{"0", true, true, 0};
    cinsert = Button{"Code", true};
    Randomizer_button = Button{"Randomizer", true};
    reseto = Button{"Start Over", false};
    Reset_button = Button{"Reset", true};
    Frame1 = Frame{"Code", 12, true};
    for (int i = 0; i < kBoxes; ++i) palette[i] = PaletteFigure{picture_of_box(i), false};
}

void Morvane1::Form_KeyF1() { tell({.kind = EventKind::HelpAsked}); }

namespace {
void take_typing(TextBox& box, std::string_view text) {
    if (box.locked) return;
    // The length limit counts characters as the player sees them, not bytes.
    box.text = box.max_length != 0 ? first_characters(text, box.max_length) : std::string(text);
}
}  // namespace

void Morvane1::CODE_Change(int box, std::string_view text) {
    if (box < 0 || box >= kBoxes) return;
    take_typing(CODE[box], text);
}

void Morvane1::score_box_Change(std::string_view text) { take_typing(score_box, text); }

}  // namespace morvane
