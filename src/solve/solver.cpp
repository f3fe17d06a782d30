#include "solve/solver.h"

#include <bit>
#include <stdexcept>
#include <unordered_map>

#include "game/board_code.h"
#include "game/cell_text.h"
#include "game/morvane1.h"
#include "game/responses.h"
#include "solve/board_masks.h"
#include "solve/board_rules.h"
#include "solve/level.h"
#include "game/geometry.h"

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

// Keeps the text of the first message box the game shows, and nothing else.
class FirstMessage final : public GameEvents {
public:
    void happened(const Event& event) override {
        if (const std::string_view text = response_to(event).text; !said && !text.empty()) said = std::string(text);
    }

    std::optional<std::string> said;
};

}  // namespace

std::variant<Position, Refusal> place(const std::array<std::string, 7>& code) {
    FirstMessage heard;
    Morvane1 game(heard);
    place_code(game, code);
    if (heard.said) return Refusal{*heard.said};
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
// The landing rules of a board

namespace {

// cell_spelled(), remembered for the few texts that come up again and again.
std::optional<int> spelled(const std::string& text) {
    thread_local std::unordered_map<std::string, std::optional<int>> known;
    if (const auto found = known.find(text); found != known.end()) return found->second;
    const auto cell = cell_spelled(text);
    if (known.size() < 4096) known.emplace(text, cell);
    return cell;
}

}  // namespace

BoardRules::BoardRules(const Position& position) {
    const BoardMasks& masks = BoardMasks::get();
    // The rule that fires on cell n is that of the last piece whose box
    // spells n: a later piece on the same cell holds every earlier one back,
    // and a box spelling no cell ("05", "x", "") neither fires nor holds back.
    for (int piece = 1; piece < 7; ++piece)
        if (const auto cell = spelled(position.code[piece]))
            fire[*cell] = masks.pattern(static_cast<Colour>(piece), *cell);
    for (int n = 1; n <= kBoardCells; ++n)
        if (fire[n]) firing |= bit(n);
    for (int row = 0; row < kRows; ++row) {
        const Cells pieces = firing >> row * kColumns & kRowCells;
        row_firing_[row] = pieces;
        // Every set of the row's pieces but the empty one, each after the
        // set without its lowest piece.
        for (Cells set = pieces & (0 - pieces); set; set = (set - pieces) & pieces)
            taken_[row][set] = taken_[row][set & (set - 1)] | fire[row * kColumns + lowest_cell(set)];
    }
}

// ---------------------------------------------------------------------------
// The search
//
// A state is the set of cells on the board and the player's cell. A click on
// a neighbour q of the player's cell p takes p off the board and then the
// pattern of the piece that fires on q, if any; the pattern never holds q
// itself. Only q left is a win; otherwise q without a neighbour left is a
// loss. Cells never come back, so every piece fires at most once and the
// states form an acyclic graph: a depth-first search with a table of verdicts
// looks at each state at most once (as long as the table keeps it). The
// search and its cut-offs live in Level; relaxed games (see level.h) prove
// most lost states lost long before the real game would.

namespace {

// How many states the first, plain try may search; most boards are won on
// the first line the search follows, and this finds those fastest. Then up
// to a dozen tries as plain but shorter still, each with other first moves:
// where the first move was the wrong one, one of them mostly gets it right.
constexpr std::uint64_t kQuickTry = 32;
constexpr int kShortTries = 12;
constexpr std::uint64_t kShortTry = 32;
// The tries after it may search 50, 100, 200, ... states each, and the last
// one as many as it takes; each shuffles the moves anew.
constexpr std::uint64_t kFirstTry = 50;
constexpr int kLimitedTries = 24;
// Moves in any order for the first two moves of a try after the first.
constexpr int kShuffledMoves = 2;
// The relaxed game near the pieces costs the most to ask; the first tries,
// all that most boards need, make do with the games of columns.
constexpr int kTriesWithColumnsOnly = 2;
// The relaxed game near the pieces pays only while it keeps well under all
// the board: where the pieces and what they take cover this many cells or
// more, it is nearly as big as the real game, its player roams the few open
// cells at will, and its questions, most of them cut short, cost more than
// they save. Such boards make do with the games of columns.
constexpr int kNearPiecesMostCells = 20;
// A question to a relaxed game may search this many of its states.
constexpr std::uint64_t kRelaxedQuestion = 100;
// Table sizes, as log2 of their buckets of four states: the real game's
// table the largest, the relaxed games' a quarter of it.
constexpr int kRealTableBits = 16;
constexpr int kRelaxedTableBits = 14;

}  // namespace

struct Solver::Impl {
    BoardRules rules;
    Level game{kRealTableBits};
    // Relaxed games: the pieces' cells with what they take; within those,
    // the columns 0 to 3; all cells of the columns 0 to 3; of the columns
    // 3 to 6; of the columns 2 to 4, where the other two overlap least.
    Level near_pieces{kRelaxedTableBits};
    Level near_pieces_left{kRelaxedTableBits};
    Level left{kRelaxedTableBits};
    Level right{kRelaxedTableBits};
    Level middle{kRelaxedTableBits};
    Level::Work work;
    bool near_pieces_pays = true;

    void start(const Position& position, Cells board);
    // The relaxed games, first needed after the short tries that win most
    // boards.
    void start_relaxed(const Position& position, Cells board);
    std::uint64_t relaxed_searched() const {
        return near_pieces.searched() + near_pieces_left.searched() + left.searched() + right.searched() +
               middle.searched();
    }
};

void Solver::Impl::start(const Position& position, Cells board) {
    rules = BoardRules(position);
    game.start(rules, board, board, {});
}

void Solver::Impl::start_relaxed(const Position& position, Cells board) {
    // The player's cell, the pieces that can still fire and what they take.
    // The player's cell is kept everywhere: the first move takes it off.
    const Cells player = bit(position.player);
    Cells pieces = player;
    for (Cells q = board & rules.firing & ~player; q; q &= q - 1)
        pieces |= bit(lowest_cell(q)) | rules.fire[lowest_cell(q)];
    Cells columns_0_to_3 = player, columns_3_to_6 = player, columns_2_to_4 = player;
    for (int n = 1; n <= kBoardCells; ++n) {
        if (column_of(n) <= 3) columns_0_to_3 |= bit(n);
        if (column_of(n) >= 3) columns_3_to_6 |= bit(n);
        if (column_of(n) >= 2 && column_of(n) <= 4) columns_2_to_4 |= bit(n);
    }

    near_pieces_pays = std::popcount(pieces) < kNearPiecesMostCells;
    near_pieces_left.start(rules, board, pieces & columns_0_to_3, {});
    near_pieces.start(rules, board, pieces, {&near_pieces_left});
    left.start(rules, board, columns_0_to_3, {});
    right.start(rules, board, columns_3_to_6, {});
    middle.start(rules, board, columns_2_to_4, {});
    for (Level* level : {&game, &near_pieces}) level->set_coarser_budget(kRelaxedQuestion);
}

namespace {

// Whether `clicks` from (board, player) are legal moves all the way and win
// with the last one.
bool wins(const BoardRules& rules, Cells board, int player, const std::vector<int>& clicks) {
    const BoardMasks& masks = BoardMasks::get();
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        const int q = clicks[i];
        if (q < 1 || q > kBoardCells || !(masks.neighbours(player) & board & bit(q))) return false;
        board = rules.after_click(board, player, q);
        player = q;
        if (board == bit(q)) return i + 1 == clicks.size();
        if (!(masks.neighbours(q) & board)) return false;
    }
    return false;
}

}  // namespace

Solver::Solver() : impl_(std::make_unique<Impl>()) {}
Solver::~Solver() = default;

std::size_t Solver::table_bytes() const {
    std::size_t bytes = 0;
    for (const Level* level :
         {&impl_->game, &impl_->near_pieces, &impl_->near_pieces_left, &impl_->left, &impl_->right, &impl_->middle})
        bytes += level->table_bytes();
    return bytes;
}

std::optional<std::vector<int>> Solver::solve(const Position& position) {
    stats_ = {};
    if (position.player < 1 || position.player > kBoardCells) return std::nullopt;
    const Cells board = cells_of(position);
    if (board == bit(position.player)) return std::vector<int>{};

    out_of_work_ = false;
    Impl& impl = *impl_;
    impl.start(position, board);
    Level& game = impl.game;
    // Every level counts its states into the same work: a relaxed game that
    // runs out of it gives up, which cuts nothing, and the real game gives
    // up at its next state.
    impl.work = {0, work_limit_, cancel_};
    for (Level* level : {&game, &impl.near_pieces, &impl.near_pieces_left, &impl.left, &impl.right, &impl.middle})
        level->share_work(&impl.work);

    // The first try: plain and short.
    game.quick(true);
    game.set_budget(kQuickTry);
    bool won = game.winnable(board, position.player);
    if (won) {
        stats_.states = game.searched();
        return game.line();
    }
    // A few more, shorter still, each starting with other first moves.
    for (int tried = 1; tried <= kShortTries && game.gave_up() && !game.out_of_work(); ++tried) {
        game.set_budget(kShortTry);
        game.shuffle(0x51ED2701ull * tried, kShuffledMoves);
        if (game.winnable(board, position.player)) {
            stats_.states = game.searched();
            return game.line();
        }
    }
    // The tries after it, with the table and the relaxed games. Verdicts
    // found in one try stay valid for the next.
    impl.start_relaxed(position, board);
    game.quick(false);
    for (int run = 0; game.gave_up() && !game.out_of_work(); ++run) {
        game.set_budget(run < kLimitedTries ? kFirstTry << run : ~std::uint64_t{0});
        game.shuffle(run ? 0x9E3779B97F4A7C15ull * run : 0, run ? kShuffledMoves : 0);
        if (run < kTriesWithColumnsOnly || !impl.near_pieces_pays)
            game.set_coarser({&impl.right, &impl.left, &impl.middle});
        else
            game.set_coarser({&impl.right, &impl.left, &impl.middle, &impl.near_pieces});
        won = game.winnable(board, position.player);
    }
    stats_.states = game.searched();
    stats_.relaxed_cuts = game.cut_by_coarser();
    stats_.relaxed_states = impl.relaxed_searched();
    out_of_work_ = game.out_of_work();
    if (!won) return std::nullopt;

    // The line the search followed to the win. Should it not hold (it
    // always does), walk a winning line through the table of verdicts: a
    // state that dropped out of the table is searched again.
    if (auto line = game.line(); wins(impl.rules, board, position.player, line)) return line;
    impl.work.limit = ~std::uint64_t{0};
    impl.work.cancel = nullptr;
    game.set_budget(~std::uint64_t{0});
    std::vector<int> clicks;
    Cells left = board;
    int at = position.player;
    while (left != bit(at)) {
        const int q = game.winning_move(left, at);
        if (q == 0) throw std::logic_error("solver: a won state without a winning move");
        left = impl.rules.after_click(left, at, q);
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
