// The game in the browser: the page calls the game's handlers through the
// functions below and reads back, as JSON, what the game's events asked of
// the world (the cues, message boxes and help file of the game's response
// table, the keyboard focus, the screen reader's words) and the state of
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
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "game/board_code.h"
#include "game/events.h"
#include "game/morvane1.h"
#include "game/narration.h"
#include "game/responses.h"
#include "solve/hint.h"
#include "solve/hint_model.h"
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

// What the game tells the world, recorded in order for the page, with what
// the response table gives the player for each.
class PageEvents final : public GameEvents {
public:
    void happened(const Event& event) override {
        heard.push_back(event);
        if (event.kind == EventKind::FocusBox) add("{\"focus\":" + std::to_string(event.box) + '}');
        const Response& response = response_to(event);
        if (!response.cue.empty()) add("{\"cue\":" + quoted(response.cue) + '}');
        if (!response.text.empty()) {
            // The player hears what led here (the winning move, say) and
            // then the message, as the box comes up.
            std::string said = since();
            if (!said.empty()) said += ' ';
            said += response.text;
            add("{\"message\":[" + quoted(response.text) + ',' + quoted(response.title) + ',' +
                quoted(response.icon == Icon::Warning ? "warning" : "information") + "],\"said\":" + quoted(said) +
                ",\"state\":" + state_of(*game) + '}');
        }
        if (!response.help_file.empty()) add("{\"help\":" + quoted(response.help_file) + '}');
    }

    // What the events since the action began (or the last message) did, in words.
    std::string since() {
        Seen now = seen(*game);
        std::string said = narrate(heard, told, now);
        told = std::move(now);
        heard.clear();
        return said;
    }
    void begin() {
        events.clear();
        told = seen(*game);
        heard.clear();
    }
    std::string take() { return std::exchange(events, {}); }

    Morvane1* game = nullptr;

private:
    void add(const std::string& json) {
        if (!events.empty()) events += ',';
        events += json;
    }
    std::string events;
    Seen told;
    std::vector<Event> heard;
};

// The hint is searched in the page's worker: asking posts the board to it,
// and its answer comes back through mv_hint_found().
// clang-format off
EM_JS(void, page_ask_hint, (const char* position, double ticket), {
    Module['askHint'](UTF8ToString(position), ticket);
});
// clang-format on

std::string position_text(const solver::Position& p) {
    std::string text = std::to_string(p.on_board) + '\x1f' + std::to_string(p.player);
    for (const std::string& box : p.code) text += '\x1f' + box;
    return text;
}

class WorkerSource final : public solver::HintSource {
public:
    void ask(const solver::Position& position, std::uint64_t ticket) override {
        latest = ticket;
        known.reset();
        page_ask_hint(position_text(position).c_str(), static_cast<double>(ticket));
    }
    void cancel() override {
        latest = 0;  // its answer, when it comes, is for no one
        known.reset();
    }
    std::optional<solver::Hint> answer(std::uint64_t ticket, bool) override {
        return ticket == latest ? known : std::nullopt;
    }
    std::uint64_t latest = 0;
    std::optional<solver::Hint> known;
};

PageEvents events;
WorkerSource worker;
solver::HintModel hints{worker};
Morvane1* game = nullptr;

Morvane1& the_game() {
    if (!game) {
        game = new Morvane1(events);
        events.game = game;
    }
    return *game;
}

// What the hint shows, as JSON; "null" when it is still being searched.
std::string hint_json(const std::optional<solver::HintShown>& shown) {
    if (!shown) return "null";
    return std::string("{\"mark\":") + (shown->kind == solver::HintShown::Kind::Mark ? "true" : "false") +
           ",\"cell\":" + std::to_string(shown->cell) + ",\"text\":" + quoted(shown->text) + '}';
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
    kState = 0,
    kClick,
    kCinsert,
    kRandomizer,
    kReset,
    kReseto,
    kDrop,
    kScoreDblClick,
    kHelpKey,
    kType,
    kSeed,
    kQueue,
    kPlaceCode
};

EMSCRIPTEN_KEEPALIVE const char* mv_act(int action, int a, int b, const char* text) {
    Morvane1& g = the_game();
    const std::string_view words = text ? text : "";
    events.begin();
    // Whatever the player does next makes an old hint stale.
    if (action != kState && action != kSeed && action != kQueue) hints.stop_waiting();
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
        case kPlaceCode: place_code(g, code_boxes(words)); break;
        default: break;
    }
    const std::string said = events.since();
    hints.think_ahead(g);  // the hint of the board in play, ahead of H
    answer = "{\"events\":[" + events.take() + "],\"said\":" + quoted(said) + ",\"state\":" + state_of(g) +
             ",\"hint_still\":" + (hints.still_about(g) ? "true" : "false") + '}';
    return answer.c_str();
}

// H: what to show now, or null while the answer is being searched (it comes
// with mv_hint_found()).
EMSCRIPTEN_KEEPALIVE const char* mv_hint_press() {
    answer = hint_json(hints.press(the_game()));
    return answer.c_str();
}

// The worker's answer (mv_hint's words) for `ticket`: what to show, when H
// waits for it, else null.
EMSCRIPTEN_KEEPALIVE const char* mv_hint_found(double ticket, const char* words) {
    solver::Hint hint;
    const std::string_view text = words;
    if (text.rfind("click ", 0) == 0) {
        hint.verdict = solver::Hint::Verdict::Click;
        std::string rest(text.substr(6));
        char* at = rest.data();
        hint.cell = static_cast<int>(std::strtol(at, &at, 10));
        for (long cell; (cell = std::strtol(at, &at, 10)) != 0;) hint.then.push_back(static_cast<int>(cell));
    } else {
        hint.verdict = text == "nowin" ? solver::Hint::Verdict::NoWin : solver::Hint::Verdict::Undecided;
    }
    const auto number = static_cast<std::uint64_t>(ticket);
    if (number == worker.latest) worker.known = hint;
    answer = hint_json(hints.found(number, hint, the_game()));
    return answer.c_str();
}

// The board in play as the hint's worker reads it: the cells on the board,
// the player's cell and the seven box texts, separated by U+001F.
EMSCRIPTEN_KEEPALIVE const char* mv_position() {
    answer = position_text(solver::position_of(the_game()));
    return answer.c_str();
}

// The hint for a board read by mv_position(), searched with the desktop's
// budget: "click N" and the clicks of its winning line after N, "nowin"
// or "undecided".
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
        case solver::Hint::Verdict::Click:
            answer = "click " + std::to_string(hint.cell);
            for (int cell : hint.then) answer += ' ' + std::to_string(cell);
            break;
        case solver::Hint::Verdict::NoWin: answer = "nowin"; break;
        case solver::Hint::Verdict::Undecided: answer = "undecided"; break;
    }
    return answer.c_str();
}

}  // extern "C"
