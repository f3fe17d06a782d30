#pragma once
// The hint key: the next click of a winning line from the board as it stands.

#include <cstdint>

namespace morvane {
class Morvane1;
}

namespace morvane::solver {

struct Hint {
    enum class Verdict {
        Click,      // clicking `cell` keeps the game winnable
        NoWin,      // no sequence of clicks wins any more (or no board is in play)
        Undecided,  // the search ran out of its budget of work first
    };
    Verdict verdict = Verdict::NoWin;
    int cell = 0;
};

// How many states a hint may search, of the real and the relaxed games
// together. The most any board the Randomizer dealt needed is some 130,000
// (see the Solver section of README.md), and searching the whole budget
// takes 25 to 40 ms of one core; `solve_bench --hint` checks both.
inline constexpr std::uint64_t kHintWork = 200000;

// Looks at the game's board (cells shown, the player's cell, the code boxes)
// and answers after searching at most `work_limit` states. The budget is
// counted in states, not in time, so the answer is the same however busy
// the machine is. Consecutive hints along the same winning line come from
// the line found for the first one. Changes nothing in the game.
Hint hint(const Morvane1& game, std::uint64_t work_limit = kHintWork);

}  // namespace morvane::solver
