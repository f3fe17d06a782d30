#include "game/responses.h"

#include <array>
#include <utility>

#include "game/morvane1.h"

namespace morvane {

namespace {

constexpr std::string_view kGameTitle = kTitle;  // the window's own
constexpr std::string_view kCodeTitle = "Morvane's Challenge";
constexpr std::string_view kHelp = "Morvane.chm";

constexpr std::string_view kEntryWords =
    "Entering a code: type the player's cell and each piece's cell in the seven boxes, or put "
    "figures on the board with the board cursor and the keys P, Y, B, N, G, R and O. "
    "Ctrl+E or Enter places the board.";

constexpr int kAny = -1;

// One row per event and, where it matters, per piece (RuleFired) or box
// (BadCode); the first row that fits an event answers it.
struct Row {
    EventKind kind;
    int which;  // the piece or box the row is for, kAny for every one
    Response response;
};

constexpr std::array kTable{
    Row{EventKind::Refused, kAny, {.cue = "no.wav", .words = "Not a legal move."}},
    // The landing cues deliberately do not follow the pieces' colours.
    Row{EventKind::RuleFired, 1, {.cue = "Yellow.wav"}},
    Row{EventKind::RuleFired, 2, {.cue = "Yellow.wav"}},
    Row{EventKind::RuleFired, 3, {.cue = "red.wav"}},
    Row{EventKind::RuleFired, 4, {.cue = "blue.wav"}},
    Row{EventKind::RuleFired, 5, {.cue = "Yellow.wav"}},
    Row{EventKind::RuleFired, 6, {.cue = "green.wav"}},
    Row{EventKind::Won,
        kAny,
        {.cue = "won.wav", .text = "You have solved the puzzle!", .title = kGameTitle, .icon = Icon::Information}},
    Row{EventKind::Lost,
        kAny,
        {.cue = "lose.wav", .text = "Sorry, you have no more moves.", .title = kGameTitle, .icon = Icon::Warning}},
    Row{EventKind::PlacementStarted, kAny, {.cue = "move.wav"}},
    // The yellow box has a message of its own.
    Row{EventKind::BadCode,
        1,
        {.text = "Invalid Code.  Make sure each number in each box is below 29.",
         .title = kCodeTitle,
         .icon = Icon::Warning}},
    Row{EventKind::BadCode,
        kAny,
        {.text = "Invalid Code.  Make sure the number in each box is below 29.",
         .title = kCodeTitle,
         .icon = Icon::Warning}},
    Row{EventKind::EntryStarted, kAny, {.cue = "move.wav", .words = kEntryWords}},
    Row{EventKind::FigurePut, kAny, {.cue = "move.wav"}},
    Row{EventKind::HelpAsked, kAny, {.help_file = kHelp}},
};

constexpr Response kNothing{};

// The table's cues, each once.
constexpr auto kCues = [] {
    std::array<std::string_view, kTable.size()> cues{};
    std::size_t count = 0;
    for (const Row& row : kTable) {
        bool known = row.response.cue.empty();
        for (std::size_t i = 0; i < count; ++i) known = known || cues[i] == row.response.cue;
        if (!known) cues[count++] = row.response.cue;
    }
    return std::pair{cues, count};
}();

}  // namespace

const Response& response_to(const Event& event) {
    const int which = event.kind == EventKind::RuleFired ? event.piece
                      : event.kind == EventKind::BadCode ? event.box
                                                         : kAny;
    for (const Row& row : kTable)
        if (row.kind == event.kind && (row.which == kAny || row.which == which)) return row.response;
    return kNothing;
}

std::span<const std::string_view> cue_files() { return {kCues.first.data(), kCues.second}; }

std::string_view help_file() { return kHelp; }

}  // namespace morvane
