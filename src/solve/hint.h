#pragma once
// The hint key: the next click of a winning line from the board as it stands.

#include <chrono>

namespace morvane {
class Morvane1;
}

namespace morvane::solver {

struct Hint {
    enum class Verdict {
        Click,      // clicking `cell` keeps the game winnable
        NoWin,      // no sequence of clicks wins any more (or no board is in play)
        Undecided,  // the time limit ran out first
    };
    Verdict verdict = Verdict::NoWin;
    int cell = 0;
};

// Looks at the game's board (cells shown, the player's cell, the code boxes)
// and answers within `time_limit`: the search looks at the clock as it goes
// and gives up when the time is up. On every board tried so far it needed
// far less (see the Solver section of README.md); the limit only guards the
// window against a board that would take longer. Consecutive hints along
// the same winning line come from the line found for the first one.
Hint hint(const Morvane1& game,
          std::chrono::milliseconds time_limit = std::chrono::milliseconds(50));

}  // namespace morvane::solver
