// The table of verdicts: lossy, but never wrong, and a new board forgets the
// old ones, also when the board numbers wrap round.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <utility>

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
            if (const auto known = table.find(state.first, state.second)) ASSERT_EQ(*known, won) << bits;
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
