// The player's move, the end of a game, and the score.

#include "game.h"

namespace morvane {
namespace {

using Cues = std::vector<std::string>;

TEST(PlayerMove, AMoveLeavesTheOldCellAndFlagsTheNewNeighbours) {
    Game g;
    g.place({"9", "", "", "", "", "", ""});
    g.click({10});
    EXPECT_EQ(g.window.CODE[0].text, "10");
    EXPECT_EQ(g.removed(), Cells{9});
    EXPECT_EQ(g.window.Square[9].picture, Picture::None);
    EXPECT_EQ(g.pictures(), (Pictures{{10, Picture::Morvy}}));
    EXPECT_EQ(g.flagged(), (Cells{2, 3, 4, 9, 11, 16, 17, 18}));
    EXPECT_EQ(g.window.morvymod.moves_left, 49);
    EXPECT_EQ(g.heard.folder_entries, 1);
    EXPECT_TRUE(g.heard.cues.empty());
    EXPECT_TRUE(g.heard.messages.empty());
}

TEST(PlayerMove, RefusedClicksOnlySayNo) {
    const struct {
        const char* what;
        Code board;  // empty player: no board at all
        std::vector<int> moves_first;
        int click;
    } cases[] = {
        {"before any board", {}, {}, 1},
        {"before any board", {}, {}, 28},
        {"own cell", {"10", "", "", "", "", "", ""}, {}, 10},
        {"own cell after a move", {"10", "", "", "", "", "", ""}, {11}, 11},
        {"two cells away", {"10", "", "", "", "", "", ""}, {}, 12},
        {"far away", {"10", "", "", "", "", "", ""}, {}, 28},
        {"across the row end", {"7", "", "", "", "", "", ""}, {}, 8},
        {"across the row end", {"8", "", "", "", "", "", ""}, {}, 7},
        {"next to the old cell only", {"10", "", "", "", "", "", ""}, {11}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ", click " + std::to_string(c.click));
        Game g;
        if (!c.board[0].empty()) g.place(c.board);
        for (int m : c.moves_first) g.click({m});
        g.forget();
        const std::string before = dump(g.window);
        g.click({c.click});
        EXPECT_EQ(g.heard.cues, Cues{"no.wav"});
        EXPECT_EQ(g.heard.folder_entries, 1);
        EXPECT_TRUE(g.heard.messages.empty());
        EXPECT_EQ(dump(g.window), before);
    }
}

TEST(PlayerMove, CellCountHoldsTheLegalTargetsLeftAfterAnOrdinaryMove) {
    const struct {
        Code board;
        std::vector<int> moves;
        int count;
    } cases[] = {
        {{"9", "", "", "", "", "", ""}, {10}, 7},
        {{"1", "", "", "", "", "", ""}, {2}, 4},
        {{"1", "", "", "", "", "", ""}, {2, 3, 4}, 4},
        {{"16", "17", "", "", "", "", ""}, {17}, 4},  // yellow takes 9, 10, 11
        {{"16", "", "", "", "", "", "17"}, {17}, 1},  // orange takes 9, 10, 11, 23, 24, 25
        {{"28", "", "", "", "", "", ""}, {21, 14}, 4},
    };
    for (const auto& c : cases) {
        Game g;
        g.place(c.board);
        for (int m : c.moves) g.click({m});
        ASSERT_TRUE(g.heard.messages.empty());
        EXPECT_EQ(g.window.morvymod.cell_count, c.count) << "from " << c.board[0];
    }
}

// A king's tour over the whole board without pieces: 27 moves, then only
// the last cell is left.
TEST(EndOfGame, AFirstWinIn27MovesScores33AndDealsANewBoard) {
    Game g;
    g.type_board({"1", "", "", "", "", "", ""});
    for (int cell : {5, 1, 2, 3, 4, 6, 7}) g.window.dealer.queue(cell);
    g.forget();
    g.click({2, 3, 4, 5, 6, 7, 14, 13, 12, 11, 10, 9, 8, 15, 16, 17, 18, 19, 20, 21});
    ASSERT_TRUE(g.heard.messages.empty());
    g.click({28, 27, 26, 25, 24, 23, 22});

    ASSERT_EQ(g.heard.messages.size(), 1u);
    EXPECT_EQ(g.heard.messages[0].text, kSolved);
    EXPECT_EQ(g.heard.messages[0].title, kGameTitle);
    EXPECT_EQ(g.heard.messages[0].icon, Icon::Information);
    // While the message is up the board is as the last move left it.
    const Moment& won = *g.at_message;
    EXPECT_EQ(won.removed.size(), 27u);
    EXPECT_EQ(won.pictures, (Pictures{{22, Picture::Morvy}}));
    EXPECT_EQ(won.player, "22");
    EXPECT_EQ(won.flagged, kNeighbourTable[22]);
    EXPECT_EQ(won.moves_left, 23);
    EXPECT_EQ(won.score, 0);
    EXPECT_EQ(won.cues, Cues{"won.wav"});

    EXPECT_EQ(g.window.morvymod.score, 33);
    EXPECT_EQ(g.window.score_box.text, "33");
    EXPECT_EQ(g.heard.cues, (Cues{"won.wav", "move.wav"}));
    EXPECT_EQ(g.window.morvymod.moves_left, 50);
    EXPECT_EQ(g.removed(), Cells{});
    EXPECT_EQ(g.window.CODE[0].text, "5");
    EXPECT_EQ(g.window.spot.text, "5");
    EXPECT_EQ(g.pictures(), (Pictures{{1, Picture::YEL},
                                      {2, Picture::BLU},
                                      {3, Picture::NAV},
                                      {4, Picture::GRE},
                                      {5, Picture::Morvy},
                                      {6, Picture::RED},
                                      {7, Picture::ORA}}));
    EXPECT_EQ(g.flagged(), kNeighbourTable[5]);
}

TEST(EndOfGame, ALossWith40MovesLeftFrom33GoesDownTo0AndReplaysTheBoard) {
    Game g;
    g.window.morvymod.score = 33;
    g.window.score_box.text = "33";
    for (int cell : {13, 28, 28, 28, 28, 28, 8}) g.window.dealer.queue(cell);
    g.window.Randomizer_button_Click();
    g.forget();
    // Nine moves along the top, then onto the orange piece on 8, which takes
    // 1, 2, 15 and 16: every neighbour of 8 is gone.
    g.click({14, 7, 6, 5, 4, 3, 2, 1, 9});
    ASSERT_TRUE(g.heard.messages.empty());
    g.click({8});

    ASSERT_EQ(g.heard.messages.size(), 1u);
    EXPECT_EQ(g.heard.messages[0].text, kNoMoves);
    EXPECT_EQ(g.heard.messages[0].title, kGameTitle);
    EXPECT_EQ(g.heard.messages[0].icon, Icon::Warning);
    const Moment& lost = *g.at_message;
    EXPECT_EQ(lost.removed, (Cells{1, 2, 3, 4, 5, 6, 7, 9, 13, 14, 15, 16}));
    EXPECT_EQ(lost.player, "8");
    EXPECT_EQ(lost.pictures, (Pictures{{8, Picture::Morvy}, {28, Picture::RED}}));
    EXPECT_EQ(lost.moves_left, 40);
    EXPECT_EQ(lost.score_box, "33");
    EXPECT_EQ(lost.cues, (Cues{"green.wav", "lose.wav"}));

    EXPECT_EQ(g.window.morvymod.score, 0);
    EXPECT_EQ(g.window.score_box.text, "0");
    EXPECT_EQ(g.heard.cues, (Cues{"green.wav", "lose.wav", "move.wav"}));
    // The same board again, from its starting cell.
    EXPECT_EQ(g.window.CODE[0].text, "13");
    EXPECT_EQ(g.removed(), Cells{});
    EXPECT_EQ(g.pictures(), (Pictures{{8, Picture::ORA}, {13, Picture::Morvy}, {28, Picture::RED}}));
    EXPECT_EQ(g.flagged(), kNeighbourTable[13]);
    EXPECT_EQ(g.window.morvymod.moves_left, 50);
}

TEST(EndOfGame, ALandingRuleThatTakesTheLastCellsWinsAlthoughNoTargetIsLeft) {
    Game g;
    g.type_board({"12", "", "", "", "", "", "11"});
    for (int cell : {1, 1, 1, 1, 1, 1, 1}) g.window.dealer.queue(cell);
    g.forget();
    // Everything but 11 and the orange rows around it, ending next to 11.
    g.click({6, 7, 13, 14, 21, 20, 28, 27, 26, 25, 24, 23, 22, 15, 16, 8, 1, 2, 9, 10});
    ASSERT_TRUE(g.heard.messages.empty());
    ASSERT_EQ(g.removed().size(), 20u);
    g.click({11});

    ASSERT_EQ(g.heard.messages.size(), 1u);
    EXPECT_EQ(g.heard.messages[0].text, kSolved);
    EXPECT_EQ(g.at_message->removed.size(), 27u);
    EXPECT_EQ(g.at_message->cues, (Cues{"green.wav", "won.wav"}));
    EXPECT_EQ(g.window.morvymod.score, 50 - 21 + 10);
    EXPECT_EQ(g.window.morvymod.cell_count, 1);
}

TEST(EndOfGame, ALandingRuleThatStrandsThePlayerLoses) {
    Game g;
    g.type_board({"2", "", "", "", "", "", "1"});
    g.forget();
    g.click({1});  // orange on 1 takes 8 and 9; 2 was just left
    ASSERT_EQ(g.heard.messages.size(), 1u);
    EXPECT_EQ(g.heard.messages[0].text, kNoMoves);
    EXPECT_EQ(g.at_message->removed, (Cells{2, 8, 9}));
    EXPECT_EQ(g.at_message->flagged, (Cells{2, 8, 9}));
    EXPECT_EQ(g.at_message->cues, (Cues{"green.wav", "lose.wav"}));
    EXPECT_EQ(g.window.morvymod.score, 0);  // 0 - 49 - 10, not below 0
    EXPECT_EQ(g.window.morvymod.cell_count, 0);
    EXPECT_EQ(g.window.CODE[0].text, "2");
    EXPECT_EQ(g.pictures(), (Pictures{{1, Picture::ORA}, {2, Picture::Morvy}}));
}

TEST(EndOfGame, CellsLeftButNoneNextToThePlayerIsALoss) {
    Game g;
    g.type_board({"9", "", "", "", "", "", ""});
    g.window.morvymod.score = 100;
    g.forget();
    g.click({8, 2, 1});  // 1's neighbours 2, 8 and 9 are all behind the player
    ASSERT_EQ(g.heard.messages.size(), 1u);
    EXPECT_EQ(g.heard.messages[0].text, kNoMoves);
    EXPECT_EQ(g.at_message->removed, (Cells{2, 8, 9}));
    EXPECT_EQ(g.window.morvymod.score, 100 - 47 - 10);
    EXPECT_EQ(g.window.score_box.text, "43");
    EXPECT_EQ(g.window.CODE[0].text, "9");
}

}  // namespace
}  // namespace morvane
