#pragma once
// Yardsticks for the solver.
//
// PlainSearch: a plain depth-first search over (cells on the board, player's
// cell) that remembers the states it has proven lost. Its one cut-off: a
// state is lost when a cell no piece within reach can take is out of reach.
// Moves in cell order.
//
// CutSearch: the same search with the solver's own cut-offs (Level without
// relaxed games, without restarts): one depth-first search with a table.

#include <cstdint>
#include <vector>

#include "solve/board_rules.h"
#include "solve/level.h"

namespace morvane::bench {

class PlainSearch {
public:
    PlainSearch();

    // Whether the position can still be won.
    bool winnable(const solver::Position& position);

    // States searched by the last winnable().
    std::uint64_t states() const { return states_; }

private:
    bool search(solver::Cells board, int player);
    bool could_win(solver::Cells board, int player) const;
    bool known_lost(std::uint64_t state) const;
    void remember_lost(std::uint64_t state);

    solver::BoardRules rules_;
    // Open addressing; every entry carries the board's number, so a new board
    // starts empty without clearing. Grows when half full.
    std::vector<std::uint64_t> lost_;
    std::uint64_t used_ = 0;
    std::uint64_t board_ = 0;
    std::uint64_t states_ = 0;
};

class CutSearch {
public:
    bool winnable(const solver::Position& position);
    std::uint64_t states() const { return game_.searched(); }

private:
    solver::BoardRules rules_;
    solver::Level game_{16};
};

}  // namespace morvane::bench
