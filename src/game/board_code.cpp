#include "game/board_code.h"

namespace morvane {

CodeBoxes code_boxes(std::string_view line) {
    CodeBoxes boxes;
    std::size_t box = 0;
    for (const char c : line) {
        if (c == ',') {
            if (++box == kBoxes) break;
        } else {
            boxes[box] += c;
        }
    }
    return boxes;
}

void type_code(Morvane1& game, const CodeBoxes& boxes) {
    for (int i = 0; i < kBoxes; ++i) game.CODE_Change(i, boxes[i]);
}

void place_code(Morvane1& game, const CodeBoxes& boxes) {
    if (!game.code_entry_on()) game.cinsert_Click();
    type_code(game, boxes);
    game.cinsert_Click();
}

bool board_placed(const Morvane1& game) { return !game.code_entry_on() && game.spot.shown; }

std::string board_code(const Morvane1& game) {
    std::string code = game.spot.text;
    for (int box = 1; box < kBoxes; ++box) code += "," + game.CODE[box].text;
    return code;
}

}  // namespace morvane
