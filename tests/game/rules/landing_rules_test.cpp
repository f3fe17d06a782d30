// The landing rules of the six coloured pieces, played through real moves.

#include <stdexcept>

#include "game.h"

namespace morvane {
namespace {

using Cues = std::vector<std::string>;
using Table = std::array<Cells, kCells + 1>;  // player's cell -> cells removed, in order

// The tables are laid out by rows of the board.
// clang-format off
// Row above.
const Table kYellow{{
    {}, {}, {}, {}, {}, {}, {}, {},  // 1 to 7: none
    /* 8*/ {1, 2}, /* 9*/ {1, 2, 3}, /*10*/ {2, 3, 4}, /*11*/ {3, 4, 5},
    /*12*/ {4, 5, 6}, /*13*/ {5, 6, 7}, /*14*/ {6, 7},
    /*15*/ {8, 9}, /*16*/ {8, 9, 10}, /*17*/ {9, 10, 11}, /*18*/ {10, 11, 12},
    /*19*/ {11, 12, 13}, /*20*/ {12, 13, 14}, /*21*/ {13, 14},
    /*22*/ {15, 16}, /*23*/ {15, 16, 17}, /*24*/ {16, 17, 18}, /*25*/ {17, 18, 19},
    /*26*/ {18, 19, 20}, /*27*/ {19, 20, 21}, /*28*/ {20, 21},
}};

// Column to the right.
const Table kBlue{{
    {},
    /* 1*/ {2, 9}, /* 2*/ {3, 10}, /* 3*/ {4, 11}, /* 4*/ {5, 12}, /* 5*/ {6, 13}, /* 6*/ {7, 14}, /* 7*/ {},
    /* 8*/ {2, 9, 16}, /* 9*/ {3, 10, 17}, /*10*/ {4, 11, 18}, /*11*/ {5, 12, 19},
    /*12*/ {6, 13, 20}, /*13*/ {7, 14, 21}, /*14*/ {},
    /*15*/ {9, 16, 23}, /*16*/ {10, 17, 24}, /*17*/ {11, 18, 25}, /*18*/ {12, 19, 26},
    /*19*/ {13, 20, 27}, /*20*/ {14, 21, 28}, /*21*/ {},
    /*22*/ {16, 23}, /*23*/ {17, 24}, /*24*/ {18, 25}, /*25*/ {19, 26}, /*26*/ {20, 27}, /*27*/ {21, 28},
    /*28*/ {},
}};

// Columns to the left and to the right.
const Table kNavy{{
    {},
    /* 1*/ {2, 9}, /* 2*/ {1, 8, 3, 10}, /* 3*/ {2, 9, 4, 11}, /* 4*/ {3, 10, 5, 12},
    /* 5*/ {4, 11, 6, 13}, /* 6*/ {5, 12, 7, 14}, /* 7*/ {6, 13},
    /* 8*/ {2, 9, 16}, /* 9*/ {1, 8, 15, 3, 10, 17}, /*10*/ {2, 9, 16, 4, 11, 18},
    /*11*/ {3, 10, 17, 5, 12, 19}, /*12*/ {4, 11, 18, 6, 13, 20}, /*13*/ {5, 12, 19, 7, 14, 21},
    /*14*/ {6, 13, 20},
    /*15*/ {9, 16, 23}, /*16*/ {8, 15, 22, 10, 17, 24}, /*17*/ {9, 16, 23, 11, 18, 25},
    /*18*/ {10, 17, 24, 12, 19, 26}, /*19*/ {11, 18, 25, 13, 20, 27}, /*20*/ {12, 19, 26, 14, 21, 28},
    /*21*/ {13, 20, 27},
    /*22*/ {16, 23}, /*23*/ {15, 22, 17, 24}, /*24*/ {16, 23, 18, 25}, /*25*/ {17, 24, 19, 26},
    /*26*/ {18, 25, 20, 27}, /*27*/ {19, 26, 21, 28}, /*28*/ {20, 27},
}};

// Column to the left.
const Table kGreen{{
    {},
    /* 1*/ {}, /* 2*/ {1, 8}, /* 3*/ {2, 9}, /* 4*/ {3, 10}, /* 5*/ {4, 11}, /* 6*/ {5, 12}, /* 7*/ {6, 13},
    /* 8*/ {}, /* 9*/ {1, 8, 15}, /*10*/ {2, 9, 16}, /*11*/ {3, 10, 17}, /*12*/ {4, 11, 18},
    /*13*/ {5, 12, 19}, /*14*/ {6, 13, 20},
    /*15*/ {}, /*16*/ {8, 15, 22}, /*17*/ {9, 16, 23}, /*18*/ {10, 17, 24}, /*19*/ {11, 18, 25},
    /*20*/ {12, 19, 26}, /*21*/ {13, 20, 27},
    /*22*/ {}, /*23*/ {15, 22}, /*24*/ {16, 23}, /*25*/ {17, 24}, /*26*/ {18, 25}, /*27*/ {19, 26},
    /*28*/ {20, 27},
}};

// Row below.
const Table kRed{{
    {},
    /* 1*/ {8, 9}, /* 2*/ {8, 9, 10}, /* 3*/ {9, 10, 11}, /* 4*/ {10, 11, 12},
    /* 5*/ {11, 12, 13}, /* 6*/ {12, 13, 14}, /* 7*/ {13, 14},
    /* 8*/ {15, 16}, /* 9*/ {15, 16, 17}, /*10*/ {16, 17, 18}, /*11*/ {17, 18, 19},
    /*12*/ {18, 19, 20}, /*13*/ {19, 20, 21}, /*14*/ {20, 21},
    /*15*/ {22, 23}, /*16*/ {22, 23, 24}, /*17*/ {23, 24, 25}, /*18*/ {24, 25, 26},
    /*19*/ {25, 26, 27}, /*20*/ {26, 27, 28}, /*21*/ {27, 28},
    {}, {}, {}, {}, {}, {}, {},  // 22 to 28: none
}};

// Rows above and below.
const Table kOrange{{
    {},
    /* 1*/ {8, 9}, /* 2*/ {8, 9, 10}, /* 3*/ {9, 10, 11}, /* 4*/ {10, 11, 12},
    /* 5*/ {11, 12, 13}, /* 6*/ {12, 13, 14}, /* 7*/ {13, 14},
    /* 8*/ {1, 2, 15, 16}, /* 9*/ {1, 2, 3, 15, 16, 17}, /*10*/ {2, 3, 4, 16, 17, 18},
    /*11*/ {3, 4, 5, 17, 18, 19}, /*12*/ {4, 5, 6, 18, 19, 20}, /*13*/ {5, 6, 7, 19, 20, 21},
    /*14*/ {6, 7, 20, 21},
    /*15*/ {8, 9, 22, 23}, /*16*/ {8, 9, 10, 22, 23, 24}, /*17*/ {9, 10, 11, 23, 24, 25},
    /*18*/ {10, 11, 12, 24, 25, 26}, /*19*/ {11, 12, 13, 25, 26, 27}, /*20*/ {12, 13, 14, 26, 27, 28},
    /*21*/ {13, 14, 27, 28},
    /*22*/ {15, 16}, /*23*/ {15, 16, 17}, /*24*/ {16, 17, 18}, /*25*/ {17, 18, 19},
    /*26*/ {18, 19, 20}, /*27*/ {19, 20, 21}, /*28*/ {20, 21},
}};
// clang-format on

struct Colour {
    const char* name;
    int box;
    const char* cue;
    const Table& removes;
    bool takes_columns;  // removes beside the player rather than above or below
};

const Colour kColours[] = {
    {"yellow", 1, "Yellow.wav", kYellow, false}, {"blue", 2, "Yellow.wav", kBlue, true},
    {"navy", 3, "red.wav", kNavy, true},         {"green", 4, "blue.wav", kGreen, true},
    {"red", 5, "Yellow.wav", kRed, false},       {"orange", 6, "green.wav", kOrange, false},
};

const Colour& colour(const char* name) {
    for (const auto& c : kColours)
        if (std::string(name) == c.name) return c;
    throw std::invalid_argument(name);
}

// A neighbour of `cell` from which the move onto it cannot itself be part of
// the pattern: beside it for the row rules, above or below it for the column rules.
int start_next_to(int cell, bool takes_columns) {
    if (takes_columns) return cell <= 21 ? cell + 7 : cell - 7;
    return (cell - 1) % 7 < 6 ? cell + 1 : cell - 1;
}

// The cues of the move itself, without the end-of-game cue and what follows it.
Cues move_cues(const Moment& m) {
    Cues cues;
    for (const auto& c : m.cues) {
        if (c == "won.wav" || c == "lose.wav") break;
        cues.push_back(c);
    }
    return cues;
}

Code board_with(int player, std::initializer_list<std::pair<int, std::string>> pieces) {
    Code code{std::to_string(player), "", "", "", "", "", ""};
    for (const auto& [box, text] : pieces) code[box] = text;
    return code;
}

TEST(LandingRules, EveryRowOfEveryColoursTable) {
    for (const Colour& c : kColours)
        for (int cell = 1; cell <= kCells; ++cell) {
            SCOPED_TRACE(std::string(c.name) + " piece on " + std::to_string(cell));
            const int start = start_next_to(cell, c.takes_columns);
            Game g;
            g.place(board_with(start, {{c.box, std::to_string(cell)}}));
            g.click({cell});
            const Moment m = g.after_move();
            Cells expected = c.removes[cell];
            expected.push_back(start);
            EXPECT_EQ(m.removed, sorted(expected));
            EXPECT_EQ(move_cues(m), Cues{c.cue});
            EXPECT_EQ(m.player, std::to_string(cell));
            EXPECT_EQ(m.pictures, (Pictures{{cell, Picture::Morvy}}));  // the player covers the piece
            EXPECT_EQ(g.window.CODE[c.box].text, std::to_string(cell));
        }
}

TEST(LandingRules, PatternsDoNotWrapAroundTheRowEnds) {
    const struct {
        const char* colour;
        int cell;
        Cells left_alone;
    } cases[] = {
        {"yellow", 14, {8}}, {"yellow", 22, {14}},    {"blue", 14, {15}},      {"blue", 7, {8}},    {"navy", 7, {8}},
        {"navy", 15, {14}},  {"navy", 22, {21}},      {"green", 8, {7}},       {"green", 22, {21}}, {"red", 14, {22}},
        {"red", 8, {14}},    {"orange", 15, {7, 21}}, {"orange", 14, {8, 22}},
    };
    for (const auto& w : cases) {
        const Colour& c = colour(w.colour);
        Game g;
        g.place(board_with(start_next_to(w.cell, c.takes_columns), {{c.box, std::to_string(w.cell)}}));
        g.click({w.cell});
        const Moment m = g.after_move();
        for (int n : w.left_alone)
            EXPECT_FALSE(std::binary_search(m.removed.begin(), m.removed.end(), n))
                << w.colour << " on " << w.cell << " took " << n;
    }
}

TEST(LandingRules, OnlyTheLatestPieceOnTheCellFires) {
    const struct {
        std::vector<const char*> on_cell;
        const char* fires;
    } cases[] = {
        {{"yellow", "navy"}, "navy"},
        {{"yellow", "blue"}, "blue"},
        {{"green", "red"}, "red"},
        {{"navy", "green"}, "green"},
        {{"yellow", "blue", "navy"}, "navy"},
        {{"yellow", "orange"}, "orange"},
        {{"blue", "orange"}, "orange"},
        {{"navy", "orange"}, "orange"},
        {{"green", "orange"}, "orange"},
        {{"red", "orange"}, "orange"},
        {{"yellow", "blue", "navy", "green", "red", "orange"}, "orange"},
    };
    for (const auto& p : cases) {
        SCOPED_TRACE(std::string(p.on_cell.front()) + " ... " + p.on_cell.back());
        Game g;
        Code code = board_with(11, {});
        for (const char* name : p.on_cell) code[colour(name).box] = "10";
        g.place(code);
        g.click({10});
        Cells expected = colour(p.fires).removes[10];
        expected.push_back(11);
        EXPECT_EQ(g.removed(), sorted(expected));
        EXPECT_EQ(g.heard.cues, Cues{colour(p.fires).cue});
    }
}

TEST(LandingRules, BoxesCompareAsTexts) {
    // Navy typed "09" stands on 9 but never fires, and does not hold yellow back.
    Game both;
    both.place(board_with(10, {{1, "9"}, {3, "09"}}));
    EXPECT_EQ(both.window.Square[9].picture, Picture::NAV);
    both.click({9});
    EXPECT_EQ(both.heard.cues, Cues{"Yellow.wav"});
    EXPECT_EQ(both.removed(), (Cells{1, 2, 3, 10}));

    Game alone;
    alone.place(board_with(10, {{3, "09"}}));
    alone.click({9});
    EXPECT_TRUE(alone.heard.cues.empty());
    EXPECT_EQ(alone.removed(), Cells{10});
    EXPECT_EQ(alone.window.CODE[3].text, "09");
}

TEST(LandingRules, APieceOnTheStartingCellNeverFires) {
    Game g;
    g.type_board({"10", "10", "", "", "", "", "10"});
    EXPECT_EQ(g.heard.cues, (Cues{"move.wav", "move.wav"}));  // placing fires nothing
    g.forget();
    g.click({11});
    EXPECT_TRUE(g.heard.cues.empty());
    EXPECT_EQ(g.removed(), Cells{10});
    EXPECT_EQ(g.window.Square[10].picture, Picture::None);
    EXPECT_EQ(g.window.CODE[1].text, "10");
    EXPECT_EQ(g.window.CODE[6].text, "10");
}

TEST(LandingRules, RemovedCellsKeepTheirPiecesAndFlags) {
    // Orange on 10 takes the red piece's cell 3 and the yellow piece's cell 18.
    Game g;
    g.place(board_with(9, {{1, "18"}, {5, "3"}, {6, "10"}}));
    g.click({10});
    EXPECT_EQ(g.removed(), (Cells{2, 3, 4, 9, 16, 17, 18}));
    EXPECT_EQ(g.window.Square[3].picture, Picture::RED);
    EXPECT_EQ(g.window.Square[18].picture, Picture::YEL);
    EXPECT_EQ(g.window.Square[3].pointer, kPointerArrow);
    EXPECT_EQ(g.window.Square[18].pointer, kPointerArrow);
    EXPECT_EQ(g.window.CODE[5].text, "3");
    EXPECT_EQ(g.window.CODE[1].text, "18");
    EXPECT_EQ(g.flagged(), kNeighbourTable[10]);
    EXPECT_EQ(g.window.morvymod.cell_count, 1);  // only 11 is left to move to
}

TEST(LandingRules, TakingACellAlreadyGoneChangesNothing) {
    // Moving down onto yellow: the cell just left is in the row above.
    Game g;
    g.place(board_with(10, {{1, "17"}}));
    g.click({17});
    EXPECT_EQ(g.removed(), (Cells{9, 10, 11}));
    EXPECT_EQ(g.heard.cues, Cues{"Yellow.wav"});
}

}  // namespace
}  // namespace morvane
