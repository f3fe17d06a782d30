// Fuzz target: the board code as the user types it. The input is split at
// newlines into the seven box texts; bytes after the seventh newline are
// clicks on cells. The code is typed in code entry and OK pressed (or, when
// the input starts with '!', placed directly as Reset places it), then the
// cells are clicked, all through Morvane1 with a recording heard.

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <string_view>

#include "game/cell_text.h"
#include "game/morvane1.h"
#include "recorder.h"

namespace {

void check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvane;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const bool direct = !input.empty() && input.front() == '!';
    if (direct) input.remove_prefix(1);

    std::string boxes[kBoxes];
    for (auto& box : boxes) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        box = std::string(input.substr(0, end));
        input.remove_prefix(std::min(end + 1, input.size()));
        // The reading of a box on its own.
        if (const auto cell = cell_of(box)) check(*cell >= 0 && *cell <= kCells);
        if (const auto cell = exact_cell(box)) check(*cell >= 1 && *cell <= kCells);
        if (const auto cell = cell_spelled(box)) check(plain_decimal(*cell) == box);
        (void)round_half_even(leading_number(box));
    }

    Recorder heard;
    Morvane1 window(heard);
    if (direct) {
        window.spot.text = "0";
        for (int i = 0; i < kBoxes; ++i) window.CODE[i].text = boxes[i];
        window.Reset_button_Click();
    } else {
        window.cinsert_Click();
        for (int i = 0; i < kBoxes; ++i) window.CODE_Change(i, boxes[i]);
        window.cinsert_Click();
    }
    for (const char c : input.substr(0, 64)) window.Square_Click(static_cast<unsigned char>(c) % (kCells + 1));

    for (const auto& message : heard.messages) check(!message.text.empty() && !message.title.empty());
    check(window.morvymod.moves_left >= 0);
    return 0;
}
