// The Randomizer: seven uniform, independent cells, then board placement.

#include <cmath>
#include <memory>
#include <set>

#include "game.h"

namespace morvane {
namespace {

const std::set<std::string>& cell_texts() {
    static const std::set<std::string> texts = [] {
        std::set<std::string> all;
        for (int n = 1; n <= kCells; ++n) all.insert(std::to_string(n));
        return all;
    }();
    return texts;
}

Code dealt(const Game& g) {
    Code code;
    for (int i = 0; i < kBoxes; ++i) code[i] = g.window.CODE[i].text;
    return code;
}

TEST(Randomizer, DealsAPlainCellIntoEveryBoxAndPlacesTheBoard) {
    Game g;
    g.window.dealer.seed(7);
    for (int press = 0; press < 300; ++press) {
        g.forget();
        g.window.Randomizer_button_Click();
        const Code code = dealt(g);
        for (const auto& text : code) ASSERT_TRUE(cell_texts().count(text)) << '"' << text << '"';
        // Later figures cover earlier ones on a shared cell, the player above all.
        Pictures expected;
        for (int i = 1; i < kBoxes; ++i) expected[std::stoi(code[i])] = picture_of_box(i);
        expected[std::stoi(code[0])] = Picture::Morvy;
        EXPECT_EQ(g.pictures(), expected);
        EXPECT_EQ(g.window.spot.text, code[0]);
        EXPECT_TRUE(g.window.spot.shown);
        EXPECT_FALSE(g.window.CODE[0].shown);
        EXPECT_EQ(g.window.morvymod.moves_left, 50);
        EXPECT_EQ(g.removed(), Cells{});
        EXPECT_EQ(g.flagged(), kNeighbourTable[std::stoi(code[0])]);
        EXPECT_EQ(g.heard.cues, std::vector<std::string>{"move.wav"});
        EXPECT_TRUE(g.heard.messages.empty());
    }
}

TEST(Randomizer, InTheMiddleOfAGameReplacesTheBoardAndKeepsTheScore) {
    Game g;
    g.type_board({"10", "17", "", "", "", "", ""});
    g.click({11, 17, 24});
    g.window.morvymod.score = 33;
    g.window.score_box.text = "33";
    for (int cell : {3, 1, 2, 4, 5, 6, 7}) g.window.dealer.queue(cell);

    g.window.Randomizer_button_Click();
    EXPECT_EQ(dealt(g), (Code{"3", "1", "2", "4", "5", "6", "7"}));
    EXPECT_EQ(g.removed(), Cells{});
    EXPECT_EQ(g.pictures(), (Pictures{{1, Picture::YEL},
                                      {2, Picture::BLU},
                                      {3, Picture::Morvy},
                                      {4, Picture::NAV},
                                      {5, Picture::GRE},
                                      {6, Picture::RED},
                                      {7, Picture::ORA}}));
    EXPECT_EQ(g.window.spot.text, "3");
    EXPECT_EQ(g.window.morvymod.moves_left, 50);
    EXPECT_EQ(g.window.morvymod.score, 33);
    EXPECT_EQ(g.window.score_box.text, "33");
    for (const auto& box : g.window.CODE) EXPECT_TRUE(box.locked);

    g.click({4});  // the board is in play; "Reset" goes back to the dealt start
    g.window.Reset_button_Click();
    EXPECT_EQ(g.window.CODE[0].text, "3");
}

TEST(Randomizer, TheSameSeedDealsTheSameBoards) {
    auto deal = [](std::uint64_t seed) {
        Game g;
        g.window.dealer.seed(seed);
        std::vector<Code> boards;
        for (int press = 0; press < 5; ++press) {
            g.window.Randomizer_button_Click();
            boards.push_back(dealt(g));
        }
        return boards;
    };
    EXPECT_EQ(deal(2024), deal(2024));
    EXPECT_NE(deal(2024), deal(2025));
    // The same boards from every build, whatever its standard library: these
    // cells are what seed 1 deals here, natively and compiled to wasm alike.
    Game g;
    g.window.dealer.seed(1);
    g.window.Randomizer_button_Click();
    EXPECT_EQ(dealt(g), (Code{"17", "3", "19", "27", "17", "22", "21"}));
    g.window.Randomizer_button_Click();
    EXPECT_EQ(dealt(g), (Code{"26", "17", "1", "13", "16", "10", "4"}));
}

// Pearson's statistic of `counts` against equal expected counts.
double chi_square(const std::vector<int>& counts) {
    double total = 0;
    for (int c : counts) total += c;
    const double expected = total / counts.size();
    double sum = 0;
    for (int c : counts) sum += (c - expected) * (c - expected) / expected;
    return sum;
}

// Uniformity of each box, and independence of every pair of boxes: the
// difference of two independent uniform cells is uniform modulo 28, and two
// boxes agree on about one board in 28. With 27 degrees of freedom the
// statistic exceeds 85 with probability about 1e-7 and 100 about 1e-9.
void expect_uniform_and_independent(const std::vector<Code>& boards, double bound) {
    const int n = static_cast<int>(boards.size());
    std::vector<std::array<int, kBoxes>> cells;
    for (const Code& code : boards) {
        std::array<int, kBoxes> row{};
        for (int i = 0; i < kBoxes; ++i) row[i] = std::stoi(code[i]);
        cells.push_back(row);
    }
    for (int i = 0; i < kBoxes; ++i) {
        std::vector<int> counts(kCells, 0);
        for (const auto& row : cells) ++counts[row[i] - 1];
        for (int c = 0; c < kCells; ++c) EXPECT_GT(counts[c], 0) << "box " << i << " never got cell " << c + 1;
        EXPECT_LT(chi_square(counts), bound) << "box " << i;
        for (int j = i + 1; j < kBoxes; ++j) {
            std::vector<int> differences(kCells, 0);
            for (const auto& row : cells) ++differences[(row[j] - row[i] + kCells) % kCells];
            EXPECT_LT(chi_square(differences), bound) << "boxes " << i << " and " << j;
            // Equal cells: n/28 expected, standard deviation about sqrt(n/28).
            const double expected = n / 28.0, spread = 6 * std::sqrt(expected);
            EXPECT_NEAR(differences[0], expected, spread) << "boxes " << i << " and " << j;
        }
    }
}

TEST(Randomizer, OverManyPressesTheBoxesAreUniformAndIndependent) {
    Game g;
    g.window.dealer.seed(12345);
    std::vector<Code> boards;
    for (int press = 0; press < 28 * 400; ++press) {
        g.window.Randomizer_button_Click();
        boards.push_back(dealt(g));
        g.forget();
    }
    expect_uniform_and_independent(boards, 85);
}

TEST(Randomizer, WindowsOpenedInQuickSuccessionDealIndependently) {
    std::vector<Code> boards;
    for (int window = 0; window < 28 * 150; ++window) {
        auto g = std::make_unique<Game>();
        g->window.Randomizer_button_Click();
        boards.push_back(dealt(*g));
    }
    expect_uniform_and_independent(boards, 100);
    // And one window's deal against the next one's.
    for (int box : {0, 6}) {
        std::vector<int> differences(kCells, 0);
        for (std::size_t w = 0; w + 1 < boards.size(); ++w)
            ++differences[(std::stoi(boards[w + 1][box]) - std::stoi(boards[w][box]) + kCells) % kCells];
        EXPECT_LT(chi_square(differences), 100) << "box " << box;
    }
}

}  // namespace
}  // namespace morvane
