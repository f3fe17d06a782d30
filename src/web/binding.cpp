// The game in the browser: the page calls the game's handlers through the
// functions below and reads back, as JSON, what the game asked of the world
// (cues, message boxes, the help file, the keyboard focus) and the state of
// every control after it. The page decides nothing itself.
//
// A message box cannot hold the browser's thread until it is closed, so the
// page shows it after the handler has returned, over the board as it stood
// when the game asked for the box: each message carries that state with it.

#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/board_code.h"
#include "core/cell_text.h"
#include "core/morvane1.h"
#include "solve/hint.h"
#include "solve/solver.h"

namespace morvane {
namespace {

void json_string(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

std::string quoted(std::string_view text) {
    std::string out;
    json_string(out, text);
    return out;
}

const char* flag(bool value) { return value ? "true" : "false"; }

// Every control as the page shows it, and the game-wide variables.
std::string state_of(const Morvane1& game) {
    std::string out = "{\"Square\":[";
    for (int n = 0; n <= kCells; ++n) {
        const Cell& cell = game.Square[n];
        if (n) out += ',';
        out += '[';
        out += flag(cell.shown);
        out += ",\"";
        out += picture_name(cell.picture);
        out += "\",";
        json_string(out, cell.caption);
        out += ',' + std::to_string(cell.pointer) + ',';
        json_string(out, n ? cell_name(game, n) : "");
        out += ',';
        json_string(out, n ? cell_description(game, n) : "");
        out += ']';
    }
    auto box = [&out](const char* name, const TextBox& b) {
        out += name;
        out += '[';
        json_string(out, b.text);
        out += ',';
        out += flag(b.locked);
        out += ',';
        out += flag(b.shown);
        out += ']';
    };
    out += "],\"CODE\":[";
    for (int i = 0; i < kBoxes; ++i) box(i ? "," : "", game.CODE[i]);
    out += ']';
    box(",\"spot\":", game.spot);
    box(",\"score_box\":", game.score_box);
    auto button = [&out](const char* name, const Button& b) {
        out += ",\"";
        out += name;
        out += "\":[";
        json_string(out, b.caption);
        out += ',';
        out += flag(b.shown);
        out += ']';
    };
    button("cinsert", game.cinsert);
    button("Randomizer_button", game.Randomizer_button);
    button("reseto", game.reseto);
    button("Reset_button", game.Reset_button);
    out += ",\"Frame1\":[";
    json_string(out, game.Frame1.caption);
    char size[32];
    std::snprintf(size, sizeof size, ",%g,", game.Frame1.font_size);
    out += size;
    out += flag(game.Frame1.bold);
    out += "],\"palette\":[";
    for (int i = 0; i < kBoxes; ++i) {
        if (i) out += ',';
        out += flag(game.palette[i].shown);
    }
    const Morvymod& vars = game.morvymod;
    out += "],\"moves_left\":" + std::to_string(vars.moves_left) + ",\"score\":" + std::to_string(vars.score) +
           ",\"cell_count\":" + std::to_string(vars.cell_count) +
           ",\"restore_mode\":" + std::to_string(vars.restore_mode);
    out += ",\"entry\":";
    out += flag(game.code_entry_on());
    out += ",\"player\":" + std::to_string(player_cell(game));
    out += ",\"code\":";
    json_string(out, board_placed(game) ? board_code(game) : "");
    out += '}';
    return out;
}

// What the game asks of the world, recorded in order for the page.
class PageOutside final : public Outside {
public:
    void enter_program_folder() override {}  // the site's folder is the page's
    void play_cue(std::string_view file) override {
        heard.emplace_back(file);
        event("{\"cue\":" + quoted(file) + '}');
    }
    void message(std::string_view text, std::string_view title, Icon icon) override {
        // The player hears what led here (the winning move, say) and then
        // the message, as the box comes up.
        std::string said = since();
        if (!said.empty()) said += ' ';
        said += text;
        event("{\"message\":[" + quoted(text) + ',' + quoted(title) + ',' +
              quoted(icon == Icon::Warning ? "warning" : "information") + "],\"said\":" + quoted(said) +
              ",\"state\":" + state_of(*game) + '}');
    }
    void focus_code_box(int box) override { event("{\"focus\":" + std::to_string(box) + '}'); }
    void open_help(std::string_view file) override { event("{\"help\":" + quoted(file) + '}'); }

    // What changed since the action began (or the last message), in words.
    std::string since() {
        Seen now = seen(*game);
        std::string said = what_happened(told, now, heard);
        told = std::move(now);
        heard.clear();
        return said;
    }
    void begin() {
        events.clear();
        told = seen(*game);
        heard.clear();
    }
    // The action's events and the state after it, as one JSON object.
    const char* end() {
        const std::string said = since();
        reply = "{\"events\":[" + events + "],\"said\":" + quoted(said) + ",\"state\":" + state_of(*game) + '}';
        return reply.c_str();
    }

    Morvane1* game = nullptr;

private:
    void event(const std::string& json) {
        if (!events.empty()) events += ',';
        events += json;
    }
    std::string events;
    Seen told;
    std::vector<std::string> heard;
    std::string reply;
};

PageOutside outside;
Morvane1* game = nullptr;

Morvane1& the_game() {
    if (!game) {
        game = new Morvane1(outside);
        outside.game = game;
    }
    return *game;
}

std::string answer;

}  // namespace
}  // namespace morvane

using namespace morvane;

extern "C" {

// The page's actions; each returns the events it caused and the state after
// it. `cell` is a cell 0..28, `figure` a palette index, `box` a code box
// 0..6 or 7 for the score box.
enum Action {
    kState = 0, kClick, kCinsert, kRandomizer, kReset, kReseto, kDrop, kScoreDblClick, kHelpKey, kType,
    kSeed, kQueue, kPlaceCode
};

EMSCRIPTEN_KEEPALIVE const char* mv_act(int action, int a, int b, const char* text) {
    Morvane1& g = the_game();
    const std::string_view words = text ? text : "";
    outside.begin();
    switch (action) {
        case kClick:
            if (a >= 0 && a <= kCells) g.Square_Click(a);
            break;
        case kCinsert: g.cinsert_Click(); break;
        case kRandomizer: g.Randomizer_button_Click(); break;
        case kReset: g.Reset_button_Click(); break;
        case kReseto: g.reseto_Click(); break;
        case kDrop:
            if (a >= 0 && a <= kCells && b >= 0 && b < kBoxes) g.Square_DragDrop(a, b);
            break;
        case kScoreDblClick: g.score_box_DblClick(); break;
        case kHelpKey: g.Form_KeyF1(); break;
        case kType:
            if (a == kBoxes)
                g.score_box_Change(words);
            else
                g.CODE_Change(a, words);
            break;
        case kSeed: g.dealer.seed(std::strtoull(std::string(words).c_str(), nullptr, 10)); break;
        case kQueue: g.dealer.queue(a); break;
        case kPlaceCode: {
            // A board code line ("9,23,28,21,15,4,27"), exactly as typing
            // its boxes in code entry and pressing OK would place it.
            const auto boxes = code_boxes(words);
            if (!g.code_entry_on()) g.cinsert_Click();
            for (int i = 0; i < kBoxes; ++i) g.CODE_Change(i, boxes[i]);
            g.cinsert_Click();
            break;
        }
        default: break;
    }
    return outside.end();
}

// The board in play as the hint's worker reads it: the cells on the board,
// the player's cell and the seven box texts, separated by U+001F.
EMSCRIPTEN_KEEPALIVE const char* mv_position() {
    const solver::Position p = solver::position_of(the_game());
    answer = std::to_string(p.on_board) + '\x1f' + std::to_string(p.player);
    for (const std::string& text : p.code) answer += '\x1f' + text;
    return answer.c_str();
}

// The hint for a board read by mv_position(), searched with the desktop's
// budget: "click N", "nowin" or "undecided".
EMSCRIPTEN_KEEPALIVE const char* mv_hint(const char* position) {
    solver::Position p;
    std::vector<std::string> fields(1);
    for (const char* c = position; *c; ++c) {
        if (*c == '\x1f')
            fields.emplace_back();
        else
            fields.back() += *c;
    }
    fields.resize(9);
    p.on_board = static_cast<std::uint32_t>(std::strtoul(fields[0].c_str(), nullptr, 10));
    p.player = std::atoi(fields[1].c_str());
    for (int i = 0; i < kBoxes; ++i) p.code[i] = fields[2 + i];
    const solver::Hint hint = solver::hint_for(p);
    switch (hint.verdict) {
        case solver::Hint::Verdict::Click: answer = "click " + std::to_string(hint.cell); break;
        case solver::Hint::Verdict::NoWin: answer = "nowin"; break;
        case solver::Hint::Verdict::Undecided: answer = "undecided"; break;
    }
    return answer.c_str();
}

}  // extern "C"
