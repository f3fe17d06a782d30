// Code entry ("Code" / "OK") and starting it over ("Start Over").

#include "game/morvane1.h"
#include "game/cell_text.h"

namespace morvane {

namespace {
constexpr std::string_view kLongPrompt = "Enter Code or Drag objects to create playing board.  Press OK when finished.";
}

void Morvane1::cinsert_Click() {
    if (!code_entry_on()) {
        reseto.shown = true;
        spot.text = "0";
        spot.shown = false;
        tell({.kind = EventKind::EntryStarted});
        for (int n = 1; n <= kCells; ++n) {
            Cell& cell = Square[n];
            cell.picture = Picture::None;
            cell.pointer = kPointerNoDrop;
            cell.shown = true;
            cell.caption = " " + plain_decimal(n);  // a blank where a sign would stand
        }
        Randomizer_button.shown = false;
        Reset_button.shown = false;
        cinsert.caption = "OK";
        for (auto& box : CODE) {
            box.locked = false;
            box.text.clear();
        }
        CODE[0].shown = true;
        spot.shown = false;
        tell({.kind = EventKind::FocusBox, .box = 0});
        Frame1.font_size = 10;
        Frame1.bold = false;
        Frame1.caption = std::string(kLongPrompt);
        for (auto& figure : palette) figure.shown = true;
        return;
    }

    tell({.kind = EventKind::EntryLeft});
    for (int n = 1; n <= kCells; ++n) Square[n].caption.clear();
    reseto.shown = false;
    Frame1.caption = "Code";  // the smaller caption font stays
    cinsert.caption = "Code";
    for (auto& figure : palette) figure.shown = false;
    Reset_button.shown = true;
    Randomizer_button.shown = true;
    for (auto& box : CODE) box.locked = true;
    Reset_button_Click();
}

void Morvane1::reseto_Click() {
    cinsert.caption = "Code";
    cinsert_Click();
}

}  // namespace morvane
