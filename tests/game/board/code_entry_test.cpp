// Code entry ("Code" / "OK"), drag and drop, "Start Over" and the score box.

#include <functional>

#include "game.h"

namespace morvane {
namespace {

std::string join(const Cells& cells) {
    std::string out;
    for (int n : cells) out += (out.empty() ? "" : " ") + std::to_string(n);
    return out;
}

template <typename Range, typename Fn>
std::string each(const Range& range, Fn fn) {
    std::string out;
    for (const auto& item : range) out += fn(item);
    return out;
}

std::string numbered_captions() {
    std::string out;
    for (int n = 1; n <= kCells; ++n) out += " " + std::to_string(n) + "|";
    return out;
}

TEST(CodeEntry, EnteringAndLeavingSetEveryControl) {
    struct Probe {
        const char* what;
        std::function<std::string(const Game&)> read;
        std::string in_game, on, off;
    };
    const Probe probes[] = {
        {"cinsert caption", [](const Game& g) { return g.window.cinsert.caption; }, "Code", "OK", "Code"},
        {"reseto shown", [](const Game& g) { return std::to_string(g.window.reseto.shown); }, "0", "1", "0"},
        {"Randomizer and Reset shown",
         [](const Game& g) {
             return std::to_string(g.window.Randomizer_button.shown) + std::to_string(g.window.Reset_button.shown);
         },
         "11", "00", "11"},
        {"Frame1 caption", [](const Game& g) { return g.window.Frame1.caption; }, "Code", kLongPrompt, "Code"},
        {"Frame1 font",
         [](const Game& g) {
             return std::to_string(int(g.window.Frame1.font_size)) + (g.window.Frame1.bold ? " bold" : "");
         },
         "12 bold", "10", "10"},
        {"boxes locked",
         [](const Game& g) { return each(g.window.CODE, [](auto& b) { return b.locked ? "1" : "0"; }); }, "1111111",
         "0000000", "1111111"},
        {"box texts", [](const Game& g) { return each(g.window.CODE, [](auto& b) { return b.text + "|"; }); },
         "11|3||||||", "|||||||", "12|5||||||"},
        {"CODE(0) and spot shown",
         [](const Game& g) { return std::to_string(g.window.CODE[0].shown) + std::to_string(g.window.spot.shown); },
         "01", "10", "01"},
        {"spot", [](const Game& g) { return g.window.spot.text; }, "10", "0", "12"},
        {"palette shown",
         [](const Game& g) { return each(g.window.palette, [](auto& f) { return f.shown ? "1" : "0"; }); }, "0000000",
         "1111111", "0000000"},
        {"cell captions", [](const Game& g) { return each(g.captions(), [](auto& c) { return c + "|"; }); },
         std::string(28, '|'), numbered_captions(), std::string(28, '|')},
        {"cells removed", [](const Game& g) { return join(g.removed()); }, "10", "", ""},
        {"legal targets", [](const Game& g) { return join(g.flagged()); }, join(kNeighbourTable[11]), "",
         join(kNeighbourTable[12])},
        {"pictures",
         [](const Game& g) {
             return each(g.pictures(), [](auto& p) { return std::to_string(p.first) + picture_name(p.second) + " "; });
         },
         "3YEL 11Morvy ", "", "5YEL 12Morvy "},
        {"moves and score",
         [](const Game& g) {
             return std::to_string(g.window.morvymod.moves_left) + " " + std::to_string(g.window.morvymod.score) + " " +
                    g.window.score_box.text;
         },
         "49 0 0", "49 0 0", "50 0 0"},
        {"focus", [](const Game& g) { return each(g.heard.focused_boxes, [](int b) { return std::to_string(b); }); },
         "", "0", "0"},
        {"cues", [](const Game& g) { return each(g.heard.cues, [](auto& c) { return c + " "; }); }, "", "move.wav ",
         "move.wav move.wav "},
        {"messages", [](const Game& g) { return std::to_string(g.heard.messages.size()); }, "0", "0", "0"},
    };

    Game g;
    g.place({"10", "3", "", "", "", "", ""});  // a first board, as the Randomizer would give it
    g.click({11});
    g.forget();
    for (const auto& p : probes) EXPECT_EQ(p.read(g), p.in_game) << p.what << ", in a game";
    g.window.cinsert_Click();
    for (const auto& p : probes) EXPECT_EQ(p.read(g), p.on) << p.what << ", code entry on";
    g.window.CODE_Change(0, "12");
    g.window.CODE_Change(1, "5");
    g.window.cinsert_Click();
    for (const auto& p : probes) EXPECT_EQ(p.read(g), p.off) << p.what << ", after OK";
}

TEST(CodeEntry, OkAtOnceRefusesTheEmptyCodeAndLeavesCodeEntry) {
    Game g;
    g.window.cinsert_Click();
    g.window.cinsert_Click();
    ASSERT_EQ(g.heard.messages.size(), 1u);
    EXPECT_EQ(g.heard.messages[0].text, kTheNumber);
    EXPECT_EQ(g.heard.messages[0].title, kCodeTitle);
    EXPECT_EQ(g.heard.cues, (std::vector<std::string>{"move.wav", "move.wav"}));
    EXPECT_FALSE(g.window.code_entry_on());
    EXPECT_EQ(g.window.cinsert.caption, "Code");
    EXPECT_EQ(g.pictures(), Pictures{});
    EXPECT_EQ(g.flagged(), Cells{});
    for (const auto& box : g.window.CODE) EXPECT_TRUE(box.locked);
    g.forget();
    g.click({1});
    EXPECT_EQ(g.heard.cues, std::vector<std::string>{"no.wav"});
}

TEST(CodeEntry, OnlyThePlayerTypedGivesABoardWithThePlayerAlone) {
    Game g;
    g.type_board({"12", "", "", "", "", "", ""});
    EXPECT_TRUE(g.heard.messages.empty());
    EXPECT_EQ(g.pictures(), (Pictures{{12, Picture::Morvy}}));
    EXPECT_EQ(g.window.spot.text, "12");
    EXPECT_EQ(g.flagged(), kNeighbourTable[12]);
}

TEST(CodeEntry, ClicksOnCellsAreRefusedDuringCodeEntry) {
    Game g;
    g.type_board({"12", "", "", "", "", "", ""});
    g.window.cinsert_Click();
    g.forget();
    const std::string before = dump(g.window);
    g.click({5, 11, 12});
    EXPECT_EQ(g.heard.cues, (std::vector<std::string>{"no.wav", "no.wav", "no.wav"}));
    EXPECT_EQ(dump(g.window), before);
}

TEST(DragDrop, DroppingYellowOnNine) {
    Game g;
    g.window.cinsert_Click();
    g.forget();
    g.window.Square_DragDrop(9, kYel);
    EXPECT_EQ(g.pictures(), (Pictures{{9, Picture::YEL}}));
    EXPECT_EQ(g.window.Square[9].caption, "");
    EXPECT_EQ(g.window.Square[8].caption, " 8");
    EXPECT_EQ(g.window.CODE[1].text, "9");
    EXPECT_EQ(each(g.window.palette, [](auto& f) { return f.shown ? "1" : "0"; }), "1011111");
    EXPECT_EQ(g.heard.cues, std::vector<std::string>{"move.wav"});
    for (const auto& box : g.window.CODE) EXPECT_TRUE(box.locked);
    EXPECT_EQ(g.window.Frame1.caption, kDragPrompt);
    EXPECT_EQ(g.flagged(), Cells{});
    EXPECT_TRUE(g.window.code_entry_on());
}

TEST(DragDrop, EachFigureWritesItsOwnBox) {
    const struct {
        Figure figure;
        int box;
        Picture picture;
    } mapping[] = {{kMorvy, 0, Picture::Morvy}, {kYel, 1, Picture::YEL}, {kBlu, 2, Picture::BLU},
                   {kNav, 3, Picture::NAV},     {kGre, 4, Picture::GRE}, {kRed, 5, Picture::RED},
                   {kOra, 6, Picture::ORA}};
    for (const auto& m : mapping) {
        Game g;
        g.window.cinsert_Click();
        g.window.Square_DragDrop(20, m.figure);
        for (int i = 0; i < kBoxes; ++i) EXPECT_EQ(g.window.CODE[i].text, i == m.box ? "20" : "") << "box " << i;
        EXPECT_EQ(g.window.Square[20].picture, m.picture);
        EXPECT_FALSE(g.window.palette[m.figure].shown);
    }
}

TEST(DragDrop, TypedValuesCountButBoxesLockAtTheFirstDrop) {
    Game g;
    g.window.cinsert_Click();
    g.window.CODE_Change(0, "12");
    g.window.CODE_Change(5, "3");
    g.window.Square_DragDrop(9, kYel);
    g.window.CODE_Change(0, "7");
    g.window.CODE_Change(2, "4");
    EXPECT_EQ(g.window.CODE[0].text, "12");
    EXPECT_EQ(g.window.CODE[2].text, "");
    g.window.cinsert_Click();
    EXPECT_TRUE(g.heard.messages.empty());
    EXPECT_EQ(g.pictures(), (Pictures{{3, Picture::RED}, {9, Picture::YEL}, {12, Picture::Morvy}}));
    EXPECT_EQ(g.window.spot.text, "12");
}

TEST(DragDrop, TwoFiguresOnOneCellShowTheLaterOneAfterOk) {
    Game g;
    g.window.cinsert_Click();
    g.window.Square_DragDrop(9, kBlu);
    g.window.Square_DragDrop(9, kYel);
    EXPECT_EQ(g.window.Square[9].picture, Picture::YEL);  // the last drop shows during entry
    EXPECT_EQ(g.window.CODE[1].text, "9");
    EXPECT_EQ(g.window.CODE[2].text, "9");
    g.window.Square_DragDrop(3, kMorvy);
    g.window.cinsert_Click();
    EXPECT_EQ(g.pictures(), (Pictures{{3, Picture::Morvy}, {9, Picture::BLU}}));

    Game typed;  // a number typed into another box before the drop
    typed.window.cinsert_Click();
    typed.window.CODE_Change(3, "9");
    typed.window.Square_DragDrop(9, kYel);
    typed.window.Square_DragDrop(3, kMorvy);
    typed.window.cinsert_Click();
    EXPECT_EQ(typed.pictures(), (Pictures{{3, Picture::Morvy}, {9, Picture::NAV}}));
}

TEST(DragDrop, ThePlayerIsNeededAndEnoughOnItsOwn) {
    Game pieces;
    pieces.window.cinsert_Click();
    pieces.window.Square_DragDrop(9, kYel);
    pieces.window.Square_DragDrop(4, kRed);
    pieces.window.cinsert_Click();
    ASSERT_EQ(pieces.heard.messages.size(), 1u);
    EXPECT_EQ(pieces.heard.messages[0].text, kTheNumber);
    EXPECT_EQ(pieces.pictures(), (Pictures{{4, Picture::RED}, {9, Picture::YEL}}));
    EXPECT_FALSE(pieces.window.code_entry_on());

    Game typed;
    typed.window.cinsert_Click();
    typed.window.CODE_Change(0, "15");
    typed.window.Square_DragDrop(9, kYel);
    typed.window.cinsert_Click();
    EXPECT_TRUE(typed.heard.messages.empty());
    EXPECT_EQ(typed.pictures(), (Pictures{{9, Picture::YEL}, {15, Picture::Morvy}}));

    Game alone;
    alone.window.cinsert_Click();
    alone.window.Square_DragDrop(22, kMorvy);
    alone.window.cinsert_Click();
    EXPECT_TRUE(alone.heard.messages.empty());
    EXPECT_EQ(alone.pictures(), (Pictures{{22, Picture::Morvy}}));
    EXPECT_EQ(alone.flagged(), kNeighbourTable[22]);
}

TEST(StartOver, AfterDropsEverythingIsBackAsOnEntry) {
    Game g;
    g.window.cinsert_Click();
    const std::string on_entry = dump(g.window);
    g.window.CODE_Change(0, "12");
    g.window.Square_DragDrop(9, kYel);
    g.window.Square_DragDrop(10, kOra);
    g.forget();

    g.window.reseto_Click();
    EXPECT_EQ(dump(g.window), on_entry);
    EXPECT_EQ(g.heard.cues, std::vector<std::string>{"move.wav"});
    EXPECT_EQ(g.heard.focused_boxes, std::vector<int>{0});
    EXPECT_EQ(g.captions()[8], " 9");
    g.window.CODE_Change(0, "4");
    EXPECT_EQ(g.window.CODE[0].text, "4");
}

// Restoring cells from the score box. Every cell but the player's 10 is off the board.
struct RestoreCase {
    const char* text;
    int restored;  // 0: none
};
constexpr RestoreCase kRestoreCases[] = {
    {"5", 5},     {"0", 0},     {"29", 0}, {"-3", 0},  {"ab", 0},   {"", 0},
    {"12.5", 12}, {"13.5", 14}, {"5x", 5}, {"0.3", 0}, {"28.7", 0}, {"28.4", 28},
};

void remove_all_but_the_player(Game& g) {
    for (int n = 1; n <= kCells; ++n) g.window.Square[n].shown = n == 10;
}

TEST(ScoreBox, WithTheModeOnADoubleClickPutsTheTypedCellBack) {
    Game g;
    g.type_board({"", "", "", "87", "", "87", ""});
    ASSERT_EQ(g.window.morvymod.restore_mode, 1);
    g.type_board({"10", "5", "", "", "", "", ""});
    g.forget();
    for (const auto& c : kRestoreCases) {
        SCOPED_TRACE(std::string("score box '") + c.text + "'");
        remove_all_but_the_player(g);
        g.window.score_box_Change(c.text);
        ASSERT_EQ(g.window.score_box.text, c.text);
        const std::string before = dump(g.window);
        g.window.score_box_DblClick();
        if (c.restored) {
            EXPECT_EQ(g.removed().size(), 26u);
            EXPECT_TRUE(g.window.Square[c.restored].shown);
            g.window.Square[c.restored].shown = false;
        }
        EXPECT_EQ(dump(g.window), before);  // nothing else: pictures, flags, moves, score
        EXPECT_TRUE(g.heard.cues.empty());
        EXPECT_TRUE(g.heard.messages.empty());
    }
}

TEST(ScoreBox, WithTheModeOffADoubleClickChangesNothing) {
    Game g;
    g.type_board({"10", "5", "", "", "", "", ""});
    g.window.score_box_Change("5");
    EXPECT_EQ(g.window.score_box.text, "0");  // locked against typing
    for (const auto& c : kRestoreCases) {
        remove_all_but_the_player(g);
        g.window.score_box.text = c.text;
        const std::string before = dump(g.window);
        g.window.score_box_DblClick();
        EXPECT_EQ(dump(g.window), before) << c.text;
    }
}

TEST(ScoreBox, ARestoredPieceFiresAgain) {
    Game g;
    g.type_board({"", "", "", "87", "", "87", ""});
    g.type_board({"16", "17", "", "", "", "", ""});
    g.click({17, 18});  // the yellow piece fires once; 17 is left behind
    g.window.score_box_Change("17");
    g.window.score_box_DblClick();
    EXPECT_EQ(g.window.Square[17].picture, Picture::None);  // the player left it bare
    EXPECT_EQ(g.window.Square[17].pointer, kPointerArrow);  // next to the player: a legal target again
    g.forget();
    g.click({17});
    EXPECT_EQ(g.heard.cues, std::vector<std::string>{"Yellow.wav"});
    EXPECT_EQ(g.window.CODE[0].text, "17");
}

}  // namespace
}  // namespace morvane
