#pragma once
// An exact solver for the game's boards.
//
// From a board as it stands it finds a sequence of clicks that solves the
// puzzle, or proves that no such sequence exists. Toolkit-free; it plays by
// the core's own neighbour and removal definitions.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace morvane {
class Morvane1;
}

namespace morvane::solver {

// A board as it stands.
struct Position {
    // Cells on the board: cell n is bit n - 1. The player's cell counts as on
    // the board whatever this says.
    std::uint32_t on_board = 0;
    // The player's cell, 1..28; 0 when the player box names no whole cell,
    // in which case the game marks no legal target and no click is possible.
    int player = 0;
    // The texts of the code boxes: 0 the player, 1..6 yellow to orange.
    // A piece's rule fires when the player lands on the cell its text spells
    // in plain decimal ("5", not "05") and no later box spells the same cell.
    std::array<std::string, 7> code;
};

// The board held by a game window right now: cells shown, the player's cell
// from CODE(0) (whole cells only, as the legal-target marking reads it) and
// the box texts.
Position position_of(const Morvane1& game);

// Why a board code cannot be placed: the game's own message for it.
struct Refusal {
    std::string reason;
};

// Places a board code (CODE(0)..CODE(6); texts longer than a box's two
// characters are cut as the box would cut them) on a fresh game window,
// exactly as typing it in code entry and pressing OK does, and returns the
// board it puts in play or the message the game shows instead.
std::variant<Position, Refusal> place(const std::array<std::string, 7>& code);

// Board of a dealt code (every box a whole cell 1..28, as the Randomizer
// writes them): all 28 cells on, the player on CODE(0). Cheap; no window.
Position dealt_position(const std::array<int, 7>& cells);

// What the last search did, for the curious and for benchmarks.
struct SearchStats {
    std::uint64_t states = 0;          // states of the real game searched
    std::uint64_t relaxed_cuts = 0;    // of those, cut off because a relaxed game is lost
    std::uint64_t relaxed_states = 0;  // states of the relaxed games searched
    std::uint64_t work() const { return states + relaxed_states; }
};

// The search, with its tables of verdicts (2.5 MiB in all). One Solver
// per thread; reusing it across boards keeps the tables' memory.
class Solver {
public:
    Solver();
    ~Solver();
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;

    // The cells to click, in order, to solve the puzzle from `position`;
    // an empty list when it is solved already; nullopt when no sequence of
    // clicks solves it.
    std::optional<std::vector<int>> solve(const Position& position);

    // From now on, a search gives up once it has searched `states` states
    // of the real and the relaxed games together: solve() then answers
    // nullopt and out_of_work() is true. A count of work, not of time, so
    // that the answer does not depend on how busy the machine is.
    void set_work_limit(std::uint64_t states) { work_limit_ = states; }
    bool out_of_work() const { return out_of_work_; }
    // From now on, a search also gives up, as when out of work, once `flag`
    // (if any) is set, from any thread; for a search off the UI thread that
    // the next move makes stale.
    void set_cancel(const std::atomic<bool>* flag) { cancel_ = flag; }

    const SearchStats& stats() const { return stats_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    SearchStats stats_;
    std::uint64_t work_limit_ = ~std::uint64_t{0};
    const std::atomic<bool>* cancel_ = nullptr;
    bool out_of_work_ = false;
};

// The same with this thread's own Solver.
std::optional<std::vector<int>> solve(const Position& position);

// The first click of a winning sequence from `position`, or nullopt when no
// click wins any more (or the puzzle is solved already).
std::optional<int> next_winning_move(const Position& position);

}  // namespace morvane::solver
