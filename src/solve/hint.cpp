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

// The hint to click `clicks[from]`, with the clicks of the winning line after it.
Hint click_of(const std::vector<int>& clicks, std::size_t from) {
    const auto rest = clicks.begin() + static_cast<std::ptrdiff_t>(from) + 1;
    return {Hint::Verdict::Click, clicks[from], std::vector<int>(rest, clicks.end())};
}

// The hint along `line` when `now` is one of the states along it.
std::optional<Hint> follow(const Line& line, const Position& now) {
    if (!same_rules(line.from, now)) return std::nullopt;
    const BoardRules rules(line.from);
    Cells board = cells_of(line.from);
    int at = line.from.player;
    for (std::size_t i = 0; i < line.clicks.size(); ++i) {
        if (board == cells_of(now) && at == now.player) return click_of(line.clicks, i);
        board = rules.after_click(board, at, line.clicks[i]);
        at = line.clicks[i];
    }
    return std::nullopt;
}

// Whether `now` is `before` after the legal click on `now.player`.
bool one_click_after(const Position& before, const Position& now) {
    if (!same_rules(before, now)) return false;
    const auto on_board = [](int cell) { return cell >= 1 && cell <= kBoardCells; };
    if (!on_board(before.player) || !on_board(now.player)) return false;
    const Cells board = cells_of(before);
    if (!(BoardMasks::get().neighbours(before.player) & board & bit(now.player))) return false;
    return cells_of(now) == BoardRules(before).after_click(board, before.player, now.player);
}

}  // namespace

Hint hint(const Morvane1& game, std::uint64_t work_limit) { return hint_for(position_of(game), work_limit); }

Hint hint_for(const Position& now, std::uint64_t work_limit, const std::atomic<bool>* cancel) {
    if (now.player == 0) return {Hint::Verdict::NoWin, 0};

    thread_local std::optional<Line> last;
    if (last)
        if (auto along = follow(*last, now)) return *std::move(along);

    thread_local Solver solver;
    solver.set_work_limit(work_limit);
    solver.set_cancel(cancel);
    auto clicks = solver.solve(now);
    if (solver.out_of_work()) return {Hint::Verdict::Undecided, 0};
    if (!clicks || clicks->empty()) return {Hint::Verdict::NoWin, 0};
    last = Line{now, std::move(*clicks)};
    return click_of(last->clicks, 0);
}

std::optional<Hint> hint_after(const Position& before, const Hint& answer, const Position& now) {
    const bool along = answer.verdict == Hint::Verdict::Click && answer.cell == now.player && !answer.then.empty();
    if (answer.verdict != Hint::Verdict::NoWin && !along) return std::nullopt;
    if (!one_click_after(before, now)) return std::nullopt;
    if (along) return click_of(answer.then, 0);
    return answer;
}

}  // namespace morvane::solver
