// Board placement ("Reset"): the board code becomes a board, or is refused.

#include "game.h"

namespace morvane {
namespace {

constexpr Picture Y = Picture::YEL, B = Picture::BLU, N = Picture::NAV, G = Picture::GRE, R = Picture::RED,
                  O = Picture::ORA, M = Picture::Morvy;

TEST(Placement, AcceptedCodesPutThePiecesInOrderAndThePlayerLast) {
    const struct {
        Code code;
        Pictures shown;
    } cases[] = {
        {{"5", "5", "5", "5", "5", "5", "5"}, {{5, M}}},
        {{"1", "5", "5", "", "", "", ""}, {{1, M}, {5, B}}},
        {{"1", "5", "", "5", "", "5", ""}, {{1, M}, {5, R}}},
        {{"1", "2", "3", "4", "5", "6", "7"}, {{1, M}, {2, Y}, {3, B}, {4, N}, {5, G}, {6, R}, {7, O}}},
        {{"9", "", "0", "x", ".5", "", ""}, {{9, M}}},  // all off the board
        {{"9", ".6", "2.", "", "05", "", ""}, {{9, M}, {1, Y}, {2, B}, {5, G}}},
        {{"28", "28", "", "", "", "", "27"}, {{28, M}, {27, O}}},
        {{"1.", "", "", "", "", "", ""}, {{1, M}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("player '" + c.code[0] + "'");
        Game g;
        g.set_code(c.code);
        g.window.Reset_button_Click();
        EXPECT_EQ(g.heard.cues, std::vector<std::string>{"move.wav"});
        EXPECT_TRUE(g.heard.messages.empty());
        EXPECT_EQ(g.pictures(), c.shown);
        EXPECT_EQ(g.removed(), Cells{});
        EXPECT_EQ(g.window.morvymod.moves_left, 50);
        for (int i = 1; i < kBoxes; ++i) EXPECT_EQ(g.window.CODE[i].text, c.code[i]);
        EXPECT_EQ(g.window.spot.text, c.code[0]);
        EXPECT_TRUE(g.window.spot.shown);
        EXPECT_FALSE(g.window.CODE[0].shown);
        for (const auto& [cell, picture] : c.shown) {
            if (picture == M) {
                EXPECT_EQ(g.flagged(), kNeighbourTable[cell]);
            }
        }
    }
}

TEST(Placement, APieceOffTheBoardGoesToTheHiddenCell) {
    for (const char* text : {"", "0", "x", ".5"}) {
        SCOPED_TRACE(std::string("yellow '") + text + "'");
        Game g;
        g.set_code({"1", text, "1", "1", "1", "1", "1"});
        g.window.Reset_button_Click();
        EXPECT_TRUE(g.heard.messages.empty());
        EXPECT_EQ(g.window.Square[0].picture, Y);
        EXPECT_FALSE(g.window.Square[0].shown);
        EXPECT_EQ(g.pictures(), (Pictures{{1, M}}));
        EXPECT_EQ(g.window.CODE[1].text, text);
    }
}

TEST(Placement, RefusedCodesReportTheFirstBadBoxAndStopThere) {
    const struct {
        Code code;
        const char* message;
        Pictures placed;
    } cases[] = {
        {{"5", "29", "", "", "", "", ""}, kEachNumber, {}},
        {{"5", "-1", "", "", "", "", ""}, kEachNumber, {}},
        {{"", "29", "", "", "", "", ""}, kEachNumber, {}},
        {{"5", "3", "29", "", "", "", ""}, kTheNumber, {{3, Y}}},
        {{"5", "3", "29", "-1", "", "", ""}, kTheNumber, {{3, Y}}},
        {{"5", "", "", "-1", "", "", ""}, kTheNumber, {}},
        {{"5", "3", "4", "9", "-1", "", ""}, kTheNumber, {{3, Y}, {4, B}, {9, N}}},
        {{"5", "", "", "", "", "29", ""}, kTheNumber, {}},
        {{"5", "1", "2", "3", "4", "5", "29"}, kTheNumber, {{1, Y}, {2, B}, {3, N}, {4, G}, {5, R}}},
        {{"", "3", "", "", "", "", ""}, kTheNumber, {{3, Y}}},
        {{"0", "", "", "", "", "", ""}, kTheNumber, {}},
        {{".6", "", "", "", "", "", "7"}, kTheNumber, {{7, O}}},
        {{"x", "", "", "", "", "", ""}, kTheNumber, {}},
        {{"29", "", "", "", "", "", ""}, kTheNumber, {}},
        {{"-1", "", "", "", "", "", ""}, kTheNumber, {}},
    };
    for (const auto& c : cases) {
        std::string trace = "code";
        for (const auto& t : c.code) trace += " '" + t + "'";
        SCOPED_TRACE(trace);
        // A game in progress: started on 10, moved to 11.
        Game g;
        g.place({"10", "", "", "", "", "", ""});
        g.click({11});
        const Cells flags = g.flagged();
        ASSERT_EQ(flags, kNeighbourTable[11]);
        g.set_code(c.code);
        g.forget();

        g.window.Reset_button_Click();
        EXPECT_EQ(g.heard.cues, std::vector<std::string>{"move.wav"});
        ASSERT_EQ(g.heard.messages.size(), 1u);
        EXPECT_EQ(g.heard.messages[0].text, c.message);
        EXPECT_EQ(g.heard.messages[0].title, kCodeTitle);
        EXPECT_EQ(g.heard.messages[0].icon, Icon::Warning);
        EXPECT_EQ(g.window.morvymod.moves_left, 50);
        EXPECT_EQ(g.removed(), Cells{});
        EXPECT_EQ(g.pictures(), c.placed);
        EXPECT_EQ(g.flagged(), flags);
        EXPECT_EQ(g.window.spot.text, "10");
        EXPECT_TRUE(g.window.spot.shown);
        EXPECT_EQ(g.window.CODE[0].text, c.code[0]);
        EXPECT_FALSE(g.window.CODE[0].shown);
        EXPECT_EQ(g.window.morvymod.restore_mode, 0);
        EXPECT_TRUE(g.window.score_box.locked);
    }
}

TEST(Placement, BeforeAnyBoardResetOnlySoundsAndRefuses) {
    Game g;
    const std::string start = dump(g.window);
    g.window.Reset_button_Click();
    EXPECT_EQ(g.heard.cues, std::vector<std::string>{"move.wav"});
    ASSERT_EQ(g.heard.messages.size(), 1u);
    EXPECT_EQ(g.heard.messages[0].text, kTheNumber);
    g.window.morvymod.moves_left = 0;  // the only change besides the hidden cell's picture
    g.window.Square[0].picture = Picture::None;
    EXPECT_EQ(dump(g.window), start);
}

TEST(Placement, TheFirstPlacementRecordsTheStartAndLaterOnesReturnToIt) {
    Game g;
    g.set_code({"10", "12", "", "", "", "", ""});
    g.window.Reset_button_Click();
    EXPECT_EQ(g.window.spot.text, "10");

    g.window.CODE[0].text = "3";  // wherever the player went
    g.window.Reset_button_Click();
    EXPECT_EQ(g.window.CODE[0].text, "10");
    EXPECT_EQ(g.pictures(), (Pictures{{10, M}, {12, Y}}));
    EXPECT_EQ(g.flagged(), kNeighbourTable[10]);
}

TEST(Placement, ResetInTheMiddleOfAGameRestoresTheBoardExactly) {
    Game g;
    g.type_board({"10", "17", "2", "", "05", "4", ""});
    g.window.morvymod.score = 21;
    g.window.score_box.text = "21";
    const std::string start = dump(g.window);

    g.click({11, 17, 24});  // the yellow piece on 17 takes 9, 10, 11 with it
    ASSERT_EQ(g.removed(), (Cells{9, 10, 11, 17}));
    ASSERT_EQ(g.window.morvymod.moves_left, 47);
    g.forget();

    g.window.Reset_button_Click();
    g.window.morvymod.cell_count = 0;  // the end-of-game scratch counter is no part of the board
    EXPECT_EQ(dump(g.window), start);
    EXPECT_EQ(g.heard.cues, std::vector<std::string>{"move.wav"});
    EXPECT_TRUE(g.heard.messages.empty());
}

TEST(Placement, NavyAndRedBoth87SwitchTheScoreBoxIntoRestoringCells) {
    const struct {
        Code code;
        const char* message;
        bool restoring;
    } cases[] = {
        {{"5", "3", "4", "87", "", "87", ""}, kTheNumber, true},
        {{"", "", "", "87", "", "87", ""}, kTheNumber, true},
        {{"5", "3", "4", "87", "-1", "87", "29"}, kTheNumber, true},
        {{"5", "3", "4", "87", "", "5", ""}, kTheNumber, false},
        {{"5", "3", "4", "87", "", "88", ""}, kTheNumber, false},
        {{"5", "3", "4", "87", "", "", ""}, kTheNumber, false},
        {{"5", "3", "4", "88", "", "87", ""}, kTheNumber, false},
        {{"5", "29", "4", "87", "", "87", ""}, kEachNumber, false},
        {{"5", "3", "-1", "87", "", "87", ""}, kTheNumber, false},
        {{"5", "3", "4", "", "87", "87", ""}, kTheNumber, false},
        {{"5", "3", "4", "", "", "87", "87"}, kTheNumber, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("yellow '" + c.code[1] + "' blue '" + c.code[2] + "' navy '" + c.code[3] + "' green '" +
                     c.code[4] + "' red '" + c.code[5] + "'");
        Game g;
        g.set_code(c.code);
        g.window.Reset_button_Click();
        ASSERT_EQ(g.heard.messages.size(), 1u);
        EXPECT_EQ(g.heard.messages[0].text, c.message);
        EXPECT_EQ(g.window.morvymod.restore_mode, c.restoring ? 1 : 0);
        EXPECT_EQ(g.window.score_box.locked, !c.restoring);
        EXPECT_EQ(g.window.CODE[0].shown, true);  // no board placed
        EXPECT_EQ(g.flagged(), Cells{});
        if (c.restoring) {
            // The mode stays on through later boards.
            g.set_code({"6", "", "", "", "", "", ""});
            g.window.Reset_button_Click();
            EXPECT_EQ(g.window.morvymod.restore_mode, 1);
            EXPECT_FALSE(g.window.score_box.locked);
        }
    }
    Game g;  // yellow and blue placed before the navy box stops placement
    g.set_code({"5", "3", "4", "87", "", "87", ""});
    g.window.Reset_button_Click();
    EXPECT_EQ(g.pictures(), (Pictures{{3, Y}, {4, B}}));
}

}  // namespace
}  // namespace morvane
