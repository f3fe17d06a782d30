#include "solve/solver.h"

#include <algorithm>
#include <bit>

#include "app/morvane1.h"
#include "board/cell_text.h"
#include "solve/board_masks.h"
#include "solve/dead_table.h"

namespace morvane::solver {

// ---------------------------------------------------------------------------
// Reading boards

Position position_of(const Morvane1& game) {
    Position position;
    for (int n = 1; n <= kBoardCells; ++n)
        if (game.Square[n].shown) position.on_board |= bit(n);
    if (const auto cell = exact_cell(game.CODE[0].text)) position.player = *cell;
    for (int box = 0; box < kBoxes; ++box) position.code[box] = game.CODE[box].text;
    return position;
}

namespace {

// Stands in for the window: no sound, no focus, no help; it keeps the text
// of the first message box the game shows.
class QuietOutside : public Outside {
public:
    void enter_program_folder() override {}
    void play_cue(std::string_view) override {}
    void message(std::string_view text, std::string_view, Icon) override {
        if (!said) said = std::string(text);
    }
    void focus_code_box(int) override {}
    void open_help(std::string_view) override {}

    std::optional<std::string> said;
};

}  // namespace

std::variant<Position, Refusal> place(const std::array<std::string, 7>& code) {
    QuietOutside outside;
    Morvane1 game(outside);
    for (int box = 0; box < kBoxes; ++box) {
        std::string text = code[box];
        if (const std::size_t limit = game.CODE[box].max_length; limit != 0 && text.size() > limit)
            text.resize(limit);
        game.CODE[box].text = std::move(text);
    }
    game.spot.text = std::string(1, '0');  // a new board records its own starting cell
    game.Reset_button_Click();
    if (outside.said) return Refusal{*outside.said};
    return position_of(game);
}

Position dealt_position(const std::array<int, 7>& cells) {
    Position position;
    position.on_board = kAllCells;
    position.player = cells[0];
    for (int box = 0; box < 7; ++box) position.code[box] = plain_decimal(cells[box]);
    return position;
}

// ---------------------------------------------------------------------------
// The search
//
// A state is the set B of cells on the board and the player's cell p (in B).
// A click on a neighbour q of p in B takes p off the board and then the
// pattern of the piece that fires on q, if any: B' = B - p - fire(q). The
// pattern never holds q itself. B' = {q} is a win; otherwise q without a
// neighbour in B' is a loss. Cells never come back, so every piece fires at
// most once and the states form an acyclic graph: a depth-first search with
// a table of states proven lost looks at each state at most once (as long as
// the table keeps it).

struct Solver::Impl {
    const BoardMasks& masks = BoardMasks::get();
    DeadTable dead;

    // Per board: what landing on each cell takes off, and the cells where
    // that is anything at all.
    std::array<Cells, kBoardCells + 1> fire{};
    Cells firing = 0;

    std::array<int, kBoardCells> path{};
    SearchStats* stats = nullptr;

    void set_rules(const Position& position);
    bool promising(Cells board, int player) const;
    bool search(Cells board, int player, int depth);
};

void Solver::Impl::set_rules(const Position& position) {
    fire.fill(0);
    firing = 0;
    // The rule that fires on cell n is that of the last piece whose box
    // spells n: a later piece on the same cell holds every earlier one back,
    // and a box spelling no cell ("05", "x", "") neither fires nor holds back.
    for (int piece = 1; piece < 7; ++piece)
        if (const auto cell = cell_spelled(position.code[piece]))
            fire[*cell] = masks.pattern(static_cast<Colour>(piece), *cell);
    for (int n = 1; n <= kBoardCells; ++n)
        if (fire[n]) firing |= bit(n);
}

// False only when the state can be proven lost. Every test below is a
// necessary condition for a win, so a state it rejects has no winning
// continuation and cutting it off never loses a solution.
//
// A cell leaves the board in one of two ways only: the player stands on it
// and moves on (it is "visited"), or a pattern takes it, which needs the
// player to land on that pattern's piece later, so the piece's cell must
// still be on the board and not under the player.
bool Solver::Impl::promising(Cells board, int player) const {
    const Cells rest = board & ~bit(player);

    // Cells the player can still walk to. Walking only shrinks the board, so
    // a cell outside this set can never be visited from here on, nor can a
    // piece standing on it ever fire.
    Cells reach = bit(player);
    for (;;) {
        const Cells grown = (reach | masks.spread(reach)) & board;
        if (grown == reach) break;
        reach = grown;
    }

    // Every cell some piece within reach could still take off.
    Cells takeable = 0;
    for (Cells pieces = rest & reach & firing; pieces; pieces &= pieces - 1)
        takeable |= fire[lowest_cell(pieces)];

    // Cells that no pattern can take must be visited, so they must be
    // reachable.
    const Cells must_visit = rest & ~takeable;
    if (must_visit & ~reach) return false;

    // A cell to visit with at most one neighbour left can be entered only
    // from that neighbour, which is gone once the player stands on it: it
    // must be the last cell of the game. So must a piece's cell whose pattern
    // takes every neighbour: there is no way on after landing there. Two
    // such cells cannot both be last. (Neighbours only ever disappear.)
    Cells dead_ends = must_visit & ~masks.two_or_more_neighbours(board);
    for (Cells pieces = must_visit & firing; pieces; pieces &= pieces - 1) {
        const int c = lowest_cell(pieces);
        if (!(masks.neighbours(c) & board & ~fire[c])) dead_ends |= bit(c);
    }
    if (std::popcount(dead_ends) > 1) return false;

    // A cell v whose removal splits the board is passed at most once: the
    // player walks its own part, crosses v once, and ends in the part it
    // crossed into. So at most one other part holds cells to visit, and
    // then the last cell lies there.
    for (Cells cut = reach & ~bit(player); cut; cut &= cut - 1) {
        const int v = lowest_cell(cut);
        const Cells ring = masks.neighbours(v) & board;
        // If the neighbours of v hang together among themselves, v splits
        // nothing.
        Cells near = ring & (Cells{0} - ring);  // lowest neighbour
        for (;;) {
            const Cells grown = (near | masks.spread(near)) & ring;
            if (grown == near) break;
            near = grown;
        }
        if (near == ring) continue;
        const Cells without = board & ~bit(v);
        Cells own = bit(player);
        for (;;) {
            const Cells grown = (own | masks.spread(own)) & without;
            if (grown == own) break;
            own = grown;
        }
        const Cells beyond = must_visit & ~own & ~bit(v);
        if (!beyond) continue;
        Cells other = beyond & (Cells{0} - beyond);
        for (;;) {
            const Cells grown = (other | masks.spread(other)) & without;
            if (grown == other) break;
            other = grown;
        }
        if (beyond & ~other) return false;
        if (dead_ends & ~other) return false;
    }
    return true;
}

bool Solver::Impl::search(Cells board, int player, int depth) {
    ++stats->states;
    const Cells rest = board & ~bit(player);

    struct Move {
        Cells board;
        int cell;
        int onward;
    };
    std::array<Move, 8> moves;
    int count = 0;
    for (Cells targets = masks.neighbours(player) & board; targets; targets &= targets - 1) {
        const int q = lowest_cell(targets);
        const Cells next = rest & ~fire[q];
        if (next == bit(q)) {  // only the player's cell left: solved
            path[depth] = q;
            return true;
        }
        const Cells onward = masks.neighbours(q) & next;
        if (!onward) continue;  // lost on the spot
        moves[count++] = {next, q, std::popcount(onward)};
    }
    // Fewest onward moves first: cells that are hard to reach are best
    // visited while they still can be.
    for (int i = 1; i < count; ++i)
        for (int j = i; j > 0 && moves[j].onward < moves[j - 1].onward; --j)
            std::swap(moves[j], moves[j - 1]);

    for (int i = 0; i < count; ++i) {
        const Move& move = moves[i];
        if (!promising(move.board, move.cell)) {
            ++stats->pruned;
            continue;
        }
        if (dead.contains(move.board, move.cell)) {
            ++stats->memo_hits;
            continue;
        }
        path[depth] = move.cell;
        if (search(move.board, move.cell, depth + 1)) return true;
        dead.insert(move.board, move.cell);
    }
    return false;
}

Solver::Solver() : impl_(std::make_unique<Impl>()) {}
Solver::~Solver() = default;

std::optional<std::vector<int>> Solver::solve(const Position& position) {
    stats_ = {};
    if (position.player < 1 || position.player > kBoardCells) return std::nullopt;
    const Cells board = (position.on_board & kAllCells) | bit(position.player);
    if (board == bit(position.player)) return std::vector<int>{};

    Impl& impl = *impl_;
    impl.stats = &stats_;
    impl.set_rules(position);
    impl.dead.next_board();
    if (!impl.search(board, position.player, 0)) return std::nullopt;

    std::vector<int> clicks;
    // The path ends at the move that left only the player's cell.
    Cells left = board;
    int at = position.player;
    for (int depth = 0; left != bit(at); ++depth) {
        const int q = impl.path[depth];
        left = (left & ~bit(at)) & ~impl.fire[q];
        at = q;
        clicks.push_back(q);
    }
    return clicks;
}

std::optional<std::vector<int>> solve(const Position& position) {
    thread_local Solver solver;
    return solver.solve(position);
}

std::optional<int> next_winning_move(const Position& position) {
    const auto clicks = solve(position);
    if (!clicks || clicks->empty()) return std::nullopt;
    return clicks->front();
}

}  // namespace morvane::solver
