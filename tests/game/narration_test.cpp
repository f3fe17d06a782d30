// What a screen reader is told, from the game's events, for whole actions
// played on the real game: as the window tells it, up to each message box
// and then to the end of the action.

#include <functional>
#include <span>

#include "game.h"
#include "game/narration.h"
#include "game/responses.h"

namespace morvane {
namespace {

const std::string kBoard = "9,23,28,21,15,4,27";
const std::string kBoardWords =
    "Player on cell 9; yellow piece on cell 23; blue piece on cell 28; navy piece on cell 21; green piece on "
    "cell 15; red piece on cell 4; orange piece on cell 27. 50 moves left.";
const std::string kOtherBoardWords =
    "Player on cell 2; yellow piece on cell 23; blue piece on cell 28; navy piece on cell 21; green piece on "
    "cell 15; red piece on cell 4; orange piece on cell 27. 50 moves left.";
const std::string kEntryWords(response_to({.kind = EventKind::EntryStarted}).words);

Code code_of(const std::string& line) {
    Code code;
    std::size_t box = 0;
    for (char c : line) c == ',' ? void(++box) : void(code[box] += c);
    return code;
}

// The sentences told for `action`: one per message box, then the rest.
std::vector<std::string> told(Game& g, const std::function<void()>& action) {
    std::vector<std::string> said;
    Seen from = seen(g.window);
    g.forget();
    std::size_t start = 0;
    auto tell = [&] {
        Seen now = seen(g.window);
        said.push_back(narrate(std::span(g.heard.events).subspan(start), from, now));
        from = std::move(now);
        start = g.heard.events.size();
    };
    g.heard.on_message = tell;
    action();
    tell();
    return said;
}

struct Case {
    const char* name;
    std::function<void(Game&)> before;
    std::function<void(Game&)> action;
    std::vector<std::string> said;
};

TEST(Narration, TellsWhatEachActionDid) {
    auto typed = [](Game& g) { g.type_board(code_of(kBoard)); };
    const std::vector<Case> cases{
        {"a board typed", [](Game&) {}, typed, {"New board. " + kBoardWords}},
        {"the same board again",
         typed,
         [](Game& g) { g.window.Reset_button_Click(); },
         {"Same board again. " + kBoardWords}},
        {"a refused click", typed, [](Game& g) { g.click({28}); }, {"Not a legal move."}},
        {"a move to an empty cell",
         typed,
         [](Game& g) { g.click({16}); },
         {"Moved to cell 16. 27 cells on the board, 49 moves left."}},
        {"a piece whose rule takes nothing",
         typed,
         [](Game& g) { g.click({15}); },
         {"Moved to cell 15. Green piece took nothing off. 27 cells on the board, 49 moves left."}},
        // Yellow takes the row above 23: 15, 16 (already gone) and 17.
        {"a piece whose rule takes cells",
         [&](Game& g) {
             typed(g);
             g.click({16});
         },
         [](Game& g) { g.click({23}); },
         {"Moved to cell 23. Yellow piece took off cells 15 and 17. 24 cells on the board, 48 moves left."}},
        {"code entry begun", typed, [](Game& g) { g.window.cinsert_Click(); }, {kEntryWords}},
        {"a figure put on a cell",
         [](Game& g) { g.window.cinsert_Click(); },
         [](Game& g) { g.window.Square_DragDrop(5, kYel); },
         {"Yellow piece put on cell 5."}},
        {"code entry started over",
         [](Game& g) { g.window.cinsert_Click(); },
         [](Game& g) { g.window.reseto_Click(); },
         {"Started over. " + kEntryWords}},
        {"typing in a box",
         [](Game& g) { g.window.cinsert_Click(); },
         [](Game& g) { g.window.CODE_Change(2, "7"); },
         {""}},
        // Only 9 and 10 left: the move wins, 49 moves left and 10 more make
        // the score; the Randomizer deals the next board after the box.
        {"a win",
         [&](Game& g) {
             typed(g);
             for (int n = 1; n <= kCells; ++n) g.window.Square[n].shown = n == 9 || n == 10;
             for (int cell : {2, 23, 28, 21, 15, 4, 27}) g.window.dealer.queue(cell);
         },
         [](Game& g) { g.click({10}); },
         {"Moved to cell 10. 1 cell on the board, 49 moves left.", "New board. " + kOtherBoardWords + " Score 59."}},
        // From 1 with 2, 8 and 9 gone nothing is left to move to.
        {"a loss",
         [&](Game& g) {
             g.type_board(code_of("2,23,28,21,15,4,27"));
             for (int n : {8, 9, 10, 3}) g.window.Square[n].shown = false;
         },
         [](Game& g) { g.click({1}); },
         {"Moved to cell 1. 23 cells on the board, 49 moves left.", "Same board again. " + kOtherBoardWords}},
    };
    for (const Case& c : cases) {
        Game g;
        c.before(g);
        EXPECT_EQ(told(g, [&] { c.action(g); }), c.said) << c.name;
    }
}

TEST(Narration, NamesCellsAsTheyStand) {
    Game g;
    g.type_board(code_of(kBoard));
    g.click({16});
    EXPECT_EQ(cell_name(g.window, 16), "Cell 16, player");
    EXPECT_EQ(cell_name(g.window, 23), "Cell 23, yellow piece");
    EXPECT_EQ(cell_name(g.window, 9), "Cell 9, off the board");
    EXPECT_EQ(cell_name(g.window, 1), "Cell 1, empty");
    EXPECT_EQ(cell_description(g.window, 17), "legal move");
    EXPECT_EQ(cell_description(g.window, 1), "not a legal move");
    EXPECT_EQ(cell_description(g.window, 9), "off the board");
}

}  // namespace
}  // namespace morvane
