#include "solve/level.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace morvane::solver {

namespace {
// Every so many questions a coarser level is looked at, and given up for the
// board unless at least one question in this many told a loss.
constexpr std::uint64_t kPayCheck = 1024;
constexpr std::uint64_t kAskedPerCut = 256;

constexpr bool single(Cells cells) { return cells && !(cells & (cells - 1)); }
// How many cells, in registers: the x86-64 baseline the game is built for
// has no population count instruction, and std::popcount would call a
// library routine for it.
constexpr int count_of(Cells cells) {
    cells = cells - ((cells >> 1) & 0x55555555u);
    cells = (cells & 0x33333333u) + ((cells >> 2) & 0x33333333u);
    cells = (cells + (cells >> 4)) & 0x0F0F0F0Fu;
    return int((cells * 0x01010101u) >> 24);
}
}  // namespace

void Level::set_coarser(std::initializer_list<Level*> coarser) {
    if (coarser.size() > coarser_.size()) throw std::length_error("Level: more than four coarser levels");
    std::copy(coarser.begin(), coarser.end(), coarser_.begin());
    coarser_count_ = int(coarser.size());
}

void Level::start(const BoardRules& rules, Cells board, Cells kept, std::initializer_list<Level*> coarser) {
    rules_ = &rules;
    set_coarser(coarser);
    use_coarser_ = true;
    use_table_ = true;
    kept_ = kept & board;
    open_ = board & ~kept;
    next_to_open_ = masks_.with_neighbours(open_);
    part_.fill(0);
    for (Cells left = open_; left;) {
        const Cells part = flood(masks_, left & (Cells{0} - left), open_);
        for (Cells c = part; c; c &= c - 1) part_[lowest_cell(c)] = part;
        left &= ~part;
    }
    table_.next_board();
    searched_ = 0;
    cut_by_coarser_ = 0;
    budget_ = ~std::uint64_t{0};
    gave_up_ = false;
    out_of_work_ = false;
    salt_ = 0;
    shuffled_moves_ = 0;
    depth_ = line_length_ = 0;
    pays_ = true;
    asked_ = cuts_ = 0;
}

bool Level::winnable(Cells board, int player) {
    return open_ ? state_winnable<true>(board & kept_, player) : state_winnable<false>(board & kept_, player);
}

template <bool kOpen>
bool Level::state_winnable(Cells kept, int player) {
    // A player on an open cell stands for its whole open area.
    if (in_open<kOpen>(player)) player = lowest_cell(part_[player]);
    if (!use_table_) {
        if (!promising<kOpen>(kept, player)) return false;
        if (searched_ >= budget_) gave_up_ = true;
        return !gave_up_ && search<kOpen>(kept, player);
    }
    if (const auto known = table_.find(kept, player)) return *known;
    bool won = false;
    if (!promising<kOpen>(kept, player)) {
        // lost, as proven there
    } else if (use_coarser_ && !coarser_winnable(kept, player)) {
        ++cut_by_coarser_;
    } else {
        if (searched_ >= budget_) gave_up_ = true;
        if (gave_up_) return false;
        won = search<kOpen>(kept, player);
        if (gave_up_) return false;  // not searched to the end: no verdict
    }
    table_.store(kept, player, won);
    return won;
}

bool Level::coarser_winnable(Cells kept, int player) {
    for (int i = 0; i < coarser_count_; ++i) {
        Level* level = coarser_[i];
        if (!level->pays_) continue;
        level->set_budget(coarser_budget_);
        const bool lost = !level->winnable(kept, player) && !level->gave_up();
        level->cuts_ += lost;
        // A coarser level that almost never tells a loss costs its questions
        // and saves nothing: not asked again on this board.
        if (++level->asked_ % kPayCheck == 0 && level->cuts_ * kAskedPerCut < level->asked_) level->pays_ = false;
        if (lost) return false;
    }
    return true;
}

// Which move to try first. Fewest ways on first: cells that are hard to reach
// are best visited while they still can be. The order among moves with as
// many ways on (and, early in the game, among all moves) changes from one try
// to the next, so that a try that got stuck is not repeated as it was.
int Level::order_of(Cells next, int cell, int onward, bool fires) const {
    if (!salt_) return onward * 2 - fires;
    std::uint64_t h = (std::uint64_t(next) << 5 | std::uint64_t(cell)) * 0x9E3779B97F4A7C15ull ^ salt_;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    if (depth_ < shuffled_moves_) return int(h & 0xffff);
    return onward * 256 + int(h & 255);
}

template <bool kOpen>
bool Level::search(Cells kept, int player) {
    ++searched_;
    if (work_ && (++work_->done > work_->limit ||
                  (work_->cancel && work_->done % 256 == 0 && work_->cancel->load(std::memory_order_relaxed)))) {
        out_of_work_ = gave_up_ = true;
        return false;
    }
    const auto& fire = rules_->fire;
    const Cells here = area<kOpen>(player);
    const bool on_open = in_open<kOpen>(player);
    const Cells open = kOpen ? open_ : 0;
    const Cells left = kept & ~here;
    if (!left) {
        line_length_ = depth_;
        return true;
    }

    struct Move {
        Cells kept;
        int cell;
        int order;
    };
    std::array<Move, kBoardCells> moves;
    int count = 0;

    // Steps onto kept cells.
    for (Cells targets = masks_.with_neighbours(here) & left; targets; targets &= targets - 1) {
        const int q = lowest_cell(targets);
        const Cells next = left & ~fire[q];
        if (next == bit(q)) {  // only the player's cell left
            line_[depth_] = q;
            line_length_ = depth_ + 1;
            return true;
        }
        const Cells onward = masks_.neighbours(q) & (next | open);
        if (!onward) continue;  // lost on the spot
        const Move move{next, q, order_of(next, q, count_of(onward), (fire[q] & left) != 0)};
        int at = count++;
        for (; at > 0 && moves[at - 1].order > move.order; --at) moves[at] = moves[at - 1];
        moves[at] = move;
    }
    if constexpr (kOpen) {
        if (!on_open) {
            // From a kept cell, steps into the open areas next to it.
            for (Cells targets = masks_.neighbours(player) & open_; targets;) {
                const int q = lowest_cell(targets);
                targets &= ~part_[q];
                moves[count++] = {left, q, 0};
            }
        } else {
            // In an open area, firing one of its pieces.
            for (Cells pieces = here & rules_->firing; pieces; pieces &= pieces - 1) {
                const Cells next = kept & ~fire[lowest_cell(pieces)];
                if (next == kept) continue;
                if (!next) {
                    line_length_ = depth_;
                    return true;
                }
                moves[count++] = {next, player, 0};
            }
        }
    }

    if (use_table_)
        for (int i = 0; i < count; ++i) {
            const int q = moves[i].cell;
            table_.prefetch(moves[i].kept, in_open<kOpen>(q) ? lowest_cell(part_[q]) : q);
        }
    for (int i = 0; i < count; ++i) {
        line_[depth_++] = moves[i].cell;
        const bool won = state_winnable<kOpen>(moves[i].kept, moves[i].cell);
        --depth_;
        if (won) return true;
        if (gave_up_) return false;
    }
    return false;
}

int Level::winning_move(Cells board, int player) {
    const Cells kept = board & kept_;
    const Cells left = kept & ~bit(player);
    for (Cells targets = masks_.neighbours(player) & left; targets; targets &= targets - 1) {
        const int q = lowest_cell(targets);
        const Cells next = left & ~rules_->fire[q];
        if (next == bit(q) || (open_ ? state_winnable<true>(next, q) : state_winnable<false>(next, q))) return q;
    }
    return 0;
}

// False only when the state can be proven lost. Every test is a necessary
// condition for a win, so a state it rejects has no winning continuation and
// cutting it off never loses a solution.
//
// A kept cell leaves the board in one of two ways only: the player stands on
// it and moves on (it is "visited"), or a pattern takes it, which needs the
// player to land on that pattern's piece later, so the piece's cell must
// still be there and not under the player (or, for an open piece, within the
// player's reach).
template <bool kOpen>
bool Level::promising(Cells kept, int player) const {
    const Cells here = area<kOpen>(player);
    const Cells rest = kept & ~here;
    const bool on_kept = !in_open<kOpen>(player);
    const Cells open = kOpen ? open_ : 0;
    Cells must_visit = 0;

    // A player on a kept cell leaves it behind with the first step, into
    // one of the parts the rest of the board falls into without that cell,
    // and never comes back to the others. When `seed` must be visited, its
    // part is the one: the player must be next to it, only the pieces in it
    // can still fire, and every cell they cannot take must lie in it; those
    // are the cells to visit. Mostly the part is all there is, and what its
    // pieces take is known: `taken_by_all`.
    const Cells all = rest | open;
    const auto visit_within_one_part = [&](Cells seed, Cells taken_by_all) {
        const Cells part = flood(masks_, seed & (Cells{0} - seed), all);
        must_visit = rest & ~(part == all ? taken_by_all : rules_->taken_by(part));
        return (masks_.neighbours(player) & part) && !(must_visit & ~part);
    };
    // A cell that no piece at all can take must be visited, and tells the
    // part without a flood of the player's reach.
    if (on_kept) {
        const Cells taken = rules_->taken_by(all);
        if (const Cells untakeable = rest & ~taken)
            return visit_within_one_part(untakeable, taken) && ends_well<kOpen>(kept, rest, must_visit);
    }

    // Cells the player can still walk to. Walking only shrinks the board, so
    // a cell outside this set can never be visited from here on, nor can a
    // piece standing on it ever fire.
    const Cells reach = flood(masks_, here, kept | open);

    // Every cell some piece within reach could still take off.
    const Cells takeable = rules_->taken_by(all & reach);

    // Cells that no pattern can take must be visited, so they must be
    // reachable.
    must_visit = rest & ~takeable;
    if (must_visit & ~reach) return false;

    // (A part that is all there is lies within reach: its pieces take what
    // `takeable` says.)
    if (on_kept && must_visit && !visit_within_one_part(must_visit, takeable)) return false;
    return ends_well<kOpen>(kept, rest, must_visit);
}

template <bool kOpen>
bool Level::ends_well(Cells kept, Cells rest, Cells must_visit) const {
    const auto& fire = rules_->fire;
    // Where the game can end. The player enters a cell to visit from one
    // neighbour and must leave it for another that is still there after the
    // landing rule of the cell (if any) has fired; the player's cell now is
    // gone by then. A cell without such a way on must be the last cell of the
    // game. A cell with exactly one way on, x, is either last or followed by
    // x; if x then has no way on either, the game ends on one of the two. All
    // these places of the end must share a cell, as the game ends only once.
    // Cells and ways on only ever disappear, so none of this can get better
    // later. Open cells are always there: next to one there is always a way
    // on, so only cells away from them are looked at. A plain cell with two
    // ways on or more is never a dead end either.
    const Cells next_to_open = kOpen ? next_to_open_ : 0;
    const Cells tight = must_visit & ~next_to_open & (rules_->firing | ~masks_.two_or_more_neighbours(rest));
    Cells end = kAllCells;
    for (Cells cells = tight; cells; cells &= cells - 1) {
        const int c = lowest_cell(cells);
        const Cells around = masks_.neighbours(c) & kept;
        const Cells ways_on = around & rest & ~fire[c];
        if (!ways_on || single(around)) {
            end &= bit(c);
        } else if (single(ways_on) && !(ways_on & next_to_open)) {
            const int x = lowest_cell(ways_on);
            if (!(masks_.neighbours(x) & rest & ~bit(c) & ~fire[c] & ~fire[x])) end &= bit(c) | ways_on;
        }
        if (!end) return false;
    }
    return true;
}

}  // namespace morvane::solver
