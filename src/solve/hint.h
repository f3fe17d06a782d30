#pragma once
// The hint key: the next click of a winning line from the board as it stands.

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "solve/solver.h"

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
    // For Click: the clicks after `cell` of the winning line it starts, as
    // far as they are known (possibly none).
    std::vector<int> then{};
};

// How many states a hint may search, of the real and the relaxed games
// together: generous. The most any board the Randomizer dealt needed, or
// any position reached from one by a few clicks, is far below it
// (docs/performance.md); `solve_bench --hint` checks that. Searching the
// whole budget takes far longer than a frame, so a window that must stay
// responsive even then asks hint_for() off its UI thread.
inline constexpr std::uint64_t kHintWork = 1000000;

// Looks at the game's board (cells shown, the player's cell, the code boxes)
// and answers after searching at most `work_limit` states. The budget is
// counted in states, not in time, so the answer is the same however busy
// the machine is. Consecutive hints along the same winning line come from
// the line found for the first one. Changes nothing in the game.
Hint hint(const Morvane1& game, std::uint64_t work_limit = kHintWork);

// The same for a board read with position_of(game), from any thread (each
// thread keeps its own solver and last line). Setting `cancel` from another
// thread stops the search soon after, with Undecided; the board it was
// asked for is stale by then.
Hint hint_for(const Position& position, std::uint64_t work_limit = kHintWork,
              const std::atomic<bool>* cancel = nullptr);

// The answer for `now` when the answer for `before` already tells it, with
// no search, when `now` is `before` after one legal click: a board no click
// wins any more stays so after each click, so when `answer` was NoWin the
// answer is NoWin again; and when `answer` was a Click whose line goes on
// and the click was its cell, the answer is the line's next click. nullopt
// otherwise.
std::optional<Hint> hint_after(const Position& before, const Hint& answer, const Position& now);

}  // namespace morvane::solver
