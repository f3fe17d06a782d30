#include "app/board_code.h"

#include <algorithm>

namespace morvane {

namespace {

const char* const kFigureWords[] = {"empty",      "player",      "yellow piece", "blue piece",
                                    "navy piece", "green piece", "red piece",    "orange piece"};

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

bool has(const std::vector<std::string>& cues, std::string_view cue) {
    return std::find(cues.begin(), cues.end(), cue) != cues.end();
}

constexpr std::string_view kEntryPrompt =
    "Entering a code: type the player's cell and each piece's cell in the seven boxes, or put "
    "figures on the board with the board cursor and the keys P, Y, B, N, G, R and O. "
    "Ctrl+E or Enter places the board.";

}  // namespace

std::array<std::string, kBoxes> code_boxes(std::string_view line) {
    std::array<std::string, kBoxes> boxes;
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

bool board_placed(const Morvane1& game) { return !game.code_entry_on() && game.spot.shown; }

std::string board_code(const Morvane1& game) {
    std::string code = game.spot.text;
    for (int box = 1; box < kBoxes; ++box) code += "," + game.CODE[box].text;
    return code;
}

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

std::string figure_words(Picture picture) { return kFigureWords[static_cast<int>(picture)]; }

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
        if (board.shown[n] && board.picture[n] == Picture::Morvy)
            out += "Player on cell " + std::to_string(n);
    for (int p = static_cast<int>(Picture::YEL); p <= static_cast<int>(Picture::ORA); ++p)
        for (int n = 1; n <= kCells; ++n)
            if (board.shown[n] && board.picture[n] == static_cast<Picture>(p))
                out += "; " + figure_words(board.picture[n]) + " on cell " + std::to_string(n);
    return out + ". " + moves_words(board.moves_left);
}

std::string what_happened(const Seen& from, const Seen& to, const std::vector<std::string>& cues) {
    if (has(cues, "no.wav")) return "Not a legal move.";

    if (to.code_entry) {
        if (!from.code_entry) return std::string(kEntryPrompt);
        for (int i = 0; i < kBoxes; ++i)
            if (from.in_palette[i] && !to.in_palette[i])
                for (int n = 1; n <= kCells; ++n)
                    if (to.picture[n] == picture_of_box(i) && from.picture[n] != to.picture[n])
                        return capitalised(figure_words(picture_of_box(i))) + " put on cell " + std::to_string(n) + ".";
        if (has(cues, "move.wav")) return "Started over. " + std::string(kEntryPrompt);
        return {};
    }

    std::string out;
    const bool moved = !from.code_entry && from.player != 0 && to.player != 0 && to.player != from.player &&
                       to.moves_left == from.moves_left - 1;
    if (moved) {
        out = "Moved to cell " + std::to_string(to.player) + ".";
        std::vector<int> taken;
        for (int n = 1; n <= kCells; ++n)
            if (from.shown[n] && !to.shown[n] && n != from.player) taken.push_back(n);
        const Picture landed_on = from.picture[to.player];
        if (landed_on != Picture::None && landed_on != Picture::Morvy)
            out += " " + capitalised(figure_words(landed_on)) +
                   (taken.empty() ? " took nothing off." : " took off " + cells_words(taken) + ".");
        const auto left = std::count(to.shown.begin() + 1, to.shown.end(), true);
        out += " " + std::to_string(left) + (left == 1 ? " cell" : " cells") + " on the board, " +
               moves_words(to.moves_left);
    } else if (has(cues, "move.wav") && to.placed && to.player != 0) {
        // Board placement always starts with its cue.
        out = (from.placed && from.code == to.code ? "Same board again. " : "New board. ") + board_words(to);
    }
    if (to.score != from.score) out += (out.empty() ? "" : " ") + std::string("Score ") + std::to_string(to.score) + ".";
    return out;
}

}  // namespace morvane
