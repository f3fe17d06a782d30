#include "game/narration.h"

#include <algorithm>
#include <vector>

#include "game/board_code.h"
#include "game/figures.h"
#include "game/responses.h"

namespace morvane {

namespace {

std::string capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

// "cell 5" or "cells 4, 5 and 6".
std::string cells_words(const std::vector<int>& cells) {
    std::string out = cells.size() == 1 ? "cell " : "cells ";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += i + 1 == cells.size() ? " and " : ", ";
        out += std::to_string(cells[i]);
    }
    return out;
}

std::string moves_words(std::int64_t moves) {
    return std::to_string(moves) + (moves == 1 ? " move left." : " moves left.");
}

std::string words_of(const Event& event) { return std::string(response_to(event).words); }

}  // namespace

int player_cell(const Morvane1& game) {
    for (int n = 1; n <= kCells; ++n)
        if (game.Square[n].shown && game.Square[n].picture == Picture::Morvy) return n;
    return 0;
}

Seen seen(const Morvane1& game) {
    Seen s;
    for (int n = 0; n <= kCells; ++n) {
        s.shown[n] = game.Square[n].shown;
        s.picture[n] = game.Square[n].picture;
    }
    for (int i = 0; i < kBoxes; ++i) s.in_palette[i] = game.palette[i].shown;
    s.player = player_cell(game);
    s.code_entry = game.code_entry_on();
    s.placed = board_placed(game);
    if (s.placed) s.code = board_code(game);
    s.moves_left = game.morvymod.moves_left;
    s.score = game.morvymod.score;
    return s;
}

std::string figure_words(Picture picture) {
    return std::string(picture == Picture::None ? "empty" : kFigures[static_cast<int>(picture) - 1].words);
}

std::string cell_name(const Morvane1& game, int n) {
    if (n == 0) return "Hidden cell";
    const Cell& cell = game.Square[n];
    return "Cell " + std::to_string(n) + ", " + (cell.shown ? figure_words(cell.picture) : "off the board");
}

std::string cell_description(const Morvane1& game, int n) {
    const Cell& cell = game.Square[n];
    if (n == 0 || !cell.shown) return "off the board";
    return cell.pointer == kPointerArrow ? "legal move" : "not a legal move";
}

std::string board_words(const Seen& board) {
    std::string out;
    for (int n = 1; n <= kCells; ++n)
        if (board.shown[n] && board.picture[n] == Picture::Morvy) out += "Player on cell " + std::to_string(n);
    for (int p = static_cast<int>(Picture::YEL); p <= static_cast<int>(Picture::ORA); ++p)
        for (int n = 1; n <= kCells; ++n)
            if (board.shown[n] && board.picture[n] == static_cast<Picture>(p))
                out += "; " + figure_words(board.picture[n]) + " on cell " + std::to_string(n);
    return out + ". " + moves_words(board.moves_left);
}

std::string narrate(std::span<const Event> events, const Seen& from, const Seen& to) {
    auto last = [&](EventKind kind) -> const Event* {
        const auto it = std::find_if(events.rbegin(), events.rend(), [kind](const Event& e) { return e.kind == kind; });
        return it == events.rend() ? nullptr : &*it;
    };
    if (const Event* refused = last(EventKind::Refused)) return words_of(*refused);

    if (to.code_entry) {
        const Event* started = last(EventKind::EntryStarted);
        if (!from.code_entry) return started ? words_of(*started) : std::string{};
        if (const Event* put = last(EventKind::FigurePut))
            return capitalised(figure_words(picture_of_box(put->figure))) + " put on cell " +
                   std::to_string(put->cell) + ".";
        if (started) return "Started over. " + words_of(*started);
        return {};
    }

    std::string out;
    if (const Event* moved = last(EventKind::Moved); moved && !from.code_entry) {
        out = "Moved to cell " + std::to_string(moved->to) + ".";
        std::vector<int> taken;
        for (const Event& event : events)
            if (event.kind == EventKind::RuleFired) taken.insert(taken.end(), event.cells.begin(), event.cells.end());
        std::sort(taken.begin(), taken.end());
        if (moved->landed_on != Picture::None && moved->landed_on != Picture::Morvy)
            out += " " + capitalised(figure_words(moved->landed_on)) +
                   (taken.empty() ? " took nothing off." : " took off " + cells_words(taken) + ".");
        const auto left = std::count(to.shown.begin() + 1, to.shown.end(), true);
        out += " " + std::to_string(left) + (left == 1 ? " cell" : " cells") + " on the board, " +
               moves_words(to.moves_left);
    } else if (const Event* placed = last(EventKind::BoardPlaced); placed && to.placed && to.player != 0) {
        out = (from.placed && from.code == placed->code ? "Same board again. " : "New board. ") + board_words(to);
    }
    if (to.score != from.score)
        out += (out.empty() ? "" : " ") + std::string("Score ") + std::to_string(to.score) + ".";
    return out;
}

}  // namespace morvane
