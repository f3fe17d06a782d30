// The solver's tables: the table of verdicts (lossy, but never wrong, and a
// new board forgets the old ones, also when the board numbers wrap round)
// and the cells with two neighbours or more.

#include <gtest/gtest.h>

#include <bit>
#include <map>
#include <random>
#include <utility>

#include "solve/board_masks.h"
#include "solve/state_table.h"

namespace morvane::solve_test {
namespace {

using State = std::pair<std::uint32_t, int>;

State random_state(std::mt19937& random) {
    return {std::uniform_int_distribution<std::uint32_t>(0, (1u << 28) - 1)(random),
            std::uniform_int_distribution<int>(1, 28)(random)};
}

TEST(StateTable, AVerdictFoundIsTheOneStoredAndTheLastStoredIsFound) {
    std::mt19937 random(5);
    for (const int bits : {8, 14, 16, 20}) {
        solver::StateTable table(bits);
        std::map<State, bool> stored;
        // Many times more states than the table holds, and states that
        // differ in a bit or two, which share buckets more often.
        for (int i = 0; i < 40000; ++i) {
            State state = random_state(random);
            if (i % 2 && !stored.empty()) state = {stored.rbegin()->first.first ^ (1u << (i % 28)), state.second};
            const bool won = random() % 2;
            if (const auto known = table.find(state.first, state.second)) {
                ASSERT_EQ(*known, stored.at(state)) << bits;
                continue;
            }
            table.store(state.first, state.second, won);
            stored[state] = won;
            ASSERT_EQ(table.find(state.first, state.second), won) << bits;
        }
        for (const auto& [state, won] : stored)
            if (const auto known = table.find(state.first, state.second)) {
                ASSERT_EQ(*known, won) << bits;
            }
    }
}

TEST(StateTable, ANewBoardForgetsEveryOldOneThroughManyWraps) {
    // The smallest table keeps board numbers in a few bits only, so they
    // wrap every few dozen boards.
    solver::StateTable table(8);
    std::mt19937 random(9);
    std::vector<State> states;
    for (int board = 0; board < 300; ++board) {
        table.next_board();
        for (const State& old : states) ASSERT_FALSE(table.find(old.first, old.second)) << "board " << board;
        states.push_back(random_state(random));
        table.store(states.back().first, states.back().second, board % 2);
        ASSERT_EQ(table.find(states.back().first, states.back().second), board % 2 == 1);
    }
}

}  // namespace
}  // namespace morvane::solve_test

namespace morvane::solve_test {
namespace {

// Two neighbours or more, counted a row at a time, against counting
// neighbours().
TEST(BoardMasks, CellsWithTwoNeighboursOrMoreAsCountedCellByCell) {
    const auto& masks = solver::BoardMasks::get();
    std::mt19937 random(3);
    for (int round = 0; round < 20000; ++round) {
        // Full, sparse and dense boards alike.
        solver::Cells board = random() & solver::kAllCells;
        if (round % 3 == 1) board &= random();
        if (round % 3 == 2) board |= random() & solver::kAllCells;
        const solver::Cells crowded = masks.two_or_more_neighbours(board);
        for (int cell = 1; cell <= solver::kBoardCells; ++cell) {
            const int count = std::popcount(masks.neighbours(cell) & board);
            ASSERT_EQ((crowded & solver::bit(cell)) != 0, count >= 2) << board << " " << cell;
        }
    }
}

}  // namespace
}  // namespace morvane::solve_test
