#include "plain_search.h"

namespace morvane::bench {

using solver::bit;
using solver::Cells;

namespace {
constexpr int kBoardShift = 33;  // 28 cells, 5 bits of player, then the board's number
std::uint64_t slot_of(std::uint64_t state, std::size_t size) {
    return ((state & ((std::uint64_t{1} << kBoardShift) - 1)) * 0x9E3779B97F4A7C15ull >> 20) & (size - 1);
}
}  // namespace

PlainSearch::PlainSearch() : lost_(std::size_t{1} << 16, 0) {}

bool PlainSearch::winnable(const solver::Position& position) {
    states_ = 0;
    ++board_;
    used_ = 0;
    if (position.player < 1 || position.player > solver::kBoardCells) return false;
    rules_ = solver::BoardRules(position);
    const Cells board = (position.on_board & solver::kAllCells) | bit(position.player);
    if (board == bit(position.player)) return true;
    return search(board, position.player);
}

bool PlainSearch::known_lost(std::uint64_t state) const {
    const std::uint64_t entry = board_ << kBoardShift | state;
    for (std::size_t i = slot_of(state, lost_.size());; i = (i + 1) & (lost_.size() - 1)) {
        if (lost_[i] == entry) return true;
        if (lost_[i] >> kBoardShift != board_) return false;
    }
}

void PlainSearch::remember_lost(std::uint64_t state) {
    if (2 * (used_ + 1) > lost_.size()) {
        std::vector<std::uint64_t> old(lost_.size() * 2, 0);
        old.swap(lost_);
        used_ = 0;
        for (const std::uint64_t entry : old)
            if (entry >> kBoardShift == board_) remember_lost(entry & ((std::uint64_t{1} << kBoardShift) - 1));
    }
    std::size_t i = slot_of(state, lost_.size());
    while (lost_[i] >> kBoardShift == board_) i = (i + 1) & (lost_.size() - 1);
    lost_[i] = board_ << kBoardShift | state;
    ++used_;
}

bool PlainSearch::search(Cells board, int player) {
    ++states_;
    const solver::BoardMasks& masks = solver::BoardMasks::get();
    const Cells left = board & ~bit(player);
    for (Cells targets = masks.neighbours(player) & left; targets; targets &= targets - 1) {
        const int q = solver::lowest_cell(targets);
        const Cells next = left & ~rules_.fire[q];
        if (next == bit(q)) return true;
        const std::uint64_t state = std::uint64_t(q) << 28 | next;
        if (known_lost(state)) continue;
        if (!could_win(next, q)) {
            remember_lost(state);
            continue;
        }
        if (search(next, q)) return true;
        remember_lost(state);
    }
    return false;
}

bool PlainSearch::could_win(Cells board, int player) const {
    const solver::BoardMasks& masks = solver::BoardMasks::get();
    const Cells reach = solver::flood(masks, bit(player), board);
    Cells takeable = 0;
    for (Cells pieces = reach & rules_.firing & ~bit(player); pieces; pieces &= pieces - 1)
        takeable |= rules_.fire[solver::lowest_cell(pieces)];
    return !(board & ~reach & ~takeable);
}

bool CutSearch::winnable(const solver::Position& position) {
    if (position.player < 1 || position.player > solver::kBoardCells) return false;
    rules_ = solver::BoardRules(position);
    const Cells board = (position.on_board & solver::kAllCells) | bit(position.player);
    game_.start(rules_, board, board, {});
    return board == bit(position.player) || game_.winnable(board, position.player);
}

}  // namespace morvane::bench
