#pragma once
// One level of the search: the real game, or a relaxed game.
//
// A relaxed game keeps some cells of the board as they are and makes all
// others "open": an open cell never leaves the board and never needs to, so
// the player may cross it again and again, and a piece on an open cell may
// fire whenever the player is in that cell's open area, or not at all. The
// relaxed game is won once every kept cell but the player's is off the board.
// The real game is the relaxed game that keeps every cell.
//
// Every game on the real board is also a game of any relaxed one: the same
// clicks are legal there (the real board lies within the relaxed one), they
// take the same kept cells off (the relaxed game may fire open pieces just as
// the real one does), and a real win leaves no kept cell but the player's.
// The same holds between two relaxed games when one keeps a part of the cells
// the other keeps. So a state whose coarser relaxed state cannot be won
// cannot be won either, and each level cuts off its search with its coarser
// levels.
//
// Walking among open cells changes nothing by itself, so a player on an open
// cell stands for its whole open area. With few kept cells a relaxed game is
// small, and its verdicts, once found, serve every finer state with the same
// kept cells and the player in the same place.

#include <array>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "solve/board_rules.h"
#include "solve/state_table.h"

namespace morvane::solver {

class Level {
public:
    explicit Level(int table_bits) : table_(table_bits) {}

    std::size_t table_bytes() const { return table_.bytes(); }

    // A new board. `rules` must outlive the use; `board` is the cells on it
    // now, `kept` the cells this level keeps. The levels in `coarser` cut
    // off this one's search; the cells each keeps must be a part of these.
    void start(const BoardRules& rules, Cells board, Cells kept, std::initializer_list<Level*> coarser);

    // Whether the state (cells on the board, player's cell) can be won at
    // this level; exact for the real game. Gives up, answering false, once
    // the budget of searched states is spent; see gave_up().
    bool winnable(Cells board, int player);

    // The next click of a win from a state winnable() said can be won, or 0.
    int winning_move(Cells board, int player);

    // A short first try: no table of verdicts and no coarser levels. Off
    // again by a call with false.
    void quick(bool on) {
        use_coarser_ = !on;
        use_table_ = !on;
    }
    // The clicks of the win the last search found on its way down. (At the
    // real level a search that finds a win returns at once, so the line is
    // complete; a state found winnable in the table would cut it short, but
    // such a state ends the search that found it.)
    std::vector<int> line() const { return {line_.begin(), line_.begin() + line_length_}; }

    // A budget of states to search, counted from now; unlimited at start().
    void set_budget(std::uint64_t states) {
        budget_ = states > ~searched_ ? ~std::uint64_t{0} : searched_ + states;
        gave_up_ = false;
    }
    bool gave_up() const { return gave_up_; }
    // The work of one solve, shared by all its levels: states searched at
    // any level, and how many may be.
    struct Work {
        std::uint64_t done = 0;
        std::uint64_t limit = ~std::uint64_t{0};
        // Set from another thread to stop the search (looked at every 256
        // states), as if the work had run out.
        const std::atomic<bool>* cancel = nullptr;
    };
    // Counts this level's states into `work` and gives up, as when the
    // budget is spent, once the shared work passes its limit; see
    // out_of_work().
    void share_work(Work* work) { work_ = work; }
    bool out_of_work() const { return out_of_work_; }
    // Each question this level puts to a coarser level may search at most
    // this many states there; a coarser level that gives up cuts nothing.
    void set_coarser_budget(std::uint64_t states) { coarser_budget_ = states; }
    void set_coarser(std::initializer_list<Level*> coarser);

    // Which of equally good moves to try first: `salt` 0 takes the moves that
    // fire a piece first, any other salt shuffles them, and also shuffles all
    // moves of the first `shuffled_moves` moves of a game.
    void shuffle(std::uint64_t salt, int shuffled_moves) {
        salt_ = salt;
        shuffled_moves_ = shuffled_moves;
    }

    std::uint64_t searched() const { return searched_; }
    std::uint64_t cut_by_coarser() const { return cut_by_coarser_; }

private:
    // Each twice: for a level with open cells, and for one without (the
    // real game), where all that concerns open cells drops out.
    template <bool kOpen>
    bool state_winnable(Cells kept, int player);
    bool coarser_winnable(Cells kept, int player);
    template <bool kOpen>
    bool search(Cells kept, int player);
    template <bool kOpen>
    bool promising(Cells kept, int player) const;
    template <bool kOpen>
    bool ends_well(Cells kept, Cells rest, Cells must_visit) const;
    template <bool kOpen>
    bool in_open(int player) const {
        return kOpen && (open_ & bit(player));
    }
    template <bool kOpen>
    Cells area(int player) const {
        return in_open<kOpen>(player) ? part_[player] : bit(player);
    }
    int order_of(Cells next, int cell, int onward, bool fires) const;

    const BoardMasks& masks_ = BoardMasks::get();
    const BoardRules* rules_ = nullptr;
    // At most four coarser levels, kept in place: boards come and go by the
    // thousand, and a list on the heap for each would cost more than a
    // small board's search.
    std::array<Level*, 4> coarser_{};
    int coarser_count_ = 0;
    bool use_coarser_ = true;
    bool use_table_ = true;
    Cells kept_ = 0;
    Cells open_ = 0;
    Cells next_to_open_ = 0;
    std::array<Cells, kBoardCells + 1> part_{};  // the open area of each open cell
    StateTable table_;

    std::uint64_t searched_ = 0;
    std::uint64_t cut_by_coarser_ = 0;
    std::uint64_t budget_ = ~std::uint64_t{0};
    std::uint64_t coarser_budget_ = ~std::uint64_t{0};
    bool gave_up_ = false;
    Work* work_ = nullptr;
    bool out_of_work_ = false;
    std::uint64_t salt_ = 0;
    // As a coarser level: whether it is still asked on this board, and how
    // often it was, and how often it told a loss.
    bool pays_ = true;
    std::uint64_t asked_ = 0;
    std::uint64_t cuts_ = 0;
    int shuffled_moves_ = 0;

    // The line being searched; when a search finds a win, the whole line.
    std::array<int, 2 * kBoardCells + 2> line_{};
    int depth_ = 0;
    int line_length_ = 0;
};

}  // namespace morvane::solver
