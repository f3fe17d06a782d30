#include "solve/hint.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "solve/board_rules.h"
#include "solve/solver.h"

namespace morvane::solver {

namespace {

// The last winning line found, from the state where it was asked for.
struct Line {
    Position from;
    std::vector<int> clicks;
};

// The pieces' boxes, CODE(1) to CODE(6): the player's box follows the player.
bool same_rules(const Position& a, const Position& b) {
    return std::equal(a.code.begin() + 1, a.code.end(), b.code.begin() + 1);
}

// The next click of `line` when `now` is one of the states along it.
std::optional<int> follow(const Line& line, const Position& now) {
    if (!same_rules(line.from, now)) return std::nullopt;
    const BoardRules rules(line.from);
    Cells board = cells_of(line.from);
    int at = line.from.player;
    for (const int click : line.clicks) {
        if (board == cells_of(now) && at == now.player) return click;
        board = rules.after_click(board, at, click);
        at = click;
    }
    return std::nullopt;
}

}  // namespace

Hint hint(const Morvane1& game, std::uint64_t work_limit) {
    return hint_for(position_of(game), work_limit);
}

Hint hint_for(const Position& now, std::uint64_t work_limit, const std::atomic<bool>* cancel) {
    if (now.player == 0) return {Hint::Verdict::NoWin, 0};

    thread_local std::optional<Line> last;
    if (last)
        if (const auto click = follow(*last, now)) return {Hint::Verdict::Click, *click};

    thread_local Solver solver;
    solver.set_work_limit(work_limit);
    solver.set_cancel(cancel);
    auto clicks = solver.solve(now);
    if (solver.out_of_work()) return {Hint::Verdict::Undecided, 0};
    if (!clicks || clicks->empty()) return {Hint::Verdict::NoWin, 0};
    const int first = clicks->front();
    last = Line{now, std::move(*clicks)};
    return {Hint::Verdict::Click, first};
}

std::optional<Hint> hint_after(const Position& before, const Hint& answer, const Position& now) {
    if (answer.verdict != Hint::Verdict::NoWin || !same_rules(before, now)) return std::nullopt;
    const auto on_board = [](int cell) { return cell >= 1 && cell <= kBoardCells; };
    if (!on_board(before.player) || !on_board(now.player)) return std::nullopt;
    const Cells board = cells_of(before);
    if (!(BoardMasks::get().neighbours(before.player) & board & bit(now.player))) return std::nullopt;
    if (cells_of(now) != BoardRules(before).after_click(board, before.player, now.player)) return std::nullopt;
    return answer;
}

}  // namespace morvane::solver
