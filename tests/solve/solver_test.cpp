// The solver against the real game: its verdicts against playing every line
// of small boards, its solutions replayed click by click.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "game/cell_text.h"
#include "game/dealer.h"
#include "game/geometry.h"
#include "real_game.h"
#include "solve/board_masks.h"
#include "solve/hint.h"
#include "solve/level.h"
#include "solve/solver.h"

namespace morvane::solve_test {
namespace {

using solver::Position;
using solver::Solver;

// A random text for a piece box, as a user might type it: mostly a cell in
// plain decimal, sometimes a cell spelled otherwise ("07", "7.") that is
// placed but never fires, sometimes no cell at all.
std::string random_piece_text(std::mt19937& random) {
    const int cell = std::uniform_int_distribution<int>(1, 28)(random);
    const int digit = std::uniform_int_distribution<int>(1, 9)(random);
    switch (std::uniform_int_distribution<int>(0, 11)(random)) {
        case 0: return "0" + std::to_string(digit);
        case 1: return std::to_string(digit) + ".";
        case 2: return ".5";
        case 3: return "x";
        case 4: return "";
        default: return std::to_string(cell);
    }
}

Code random_code(std::mt19937& random) {
    Code code;
    const int player = std::uniform_int_distribution<int>(1, 28)(random);
    code[0] = player < 10 && random() % 4 == 0 ? "0" + std::to_string(player) : std::to_string(player);
    for (int box = 1; box < kBoxes; ++box) code[box] = random_piece_text(random);
    return code;
}

// Takes all but `keep` cells off the board: the player's cell and a random
// patch of cells grown from it, so that a good part of the boards can still
// be won.
void thin_out(Table& table, int keep, std::mt19937& random) {
    const int player = *cell_of(table.game.CODE[0].text);
    std::vector<int> patch{player};
    while (static_cast<int>(patch.size()) < keep) {
        const int from = patch[random() % patch.size()];
        const auto around = neighbours(from);
        const int next = around[random() % around.size()];
        if (std::find(patch.begin(), patch.end(), next) == patch.end()) patch.push_back(next);
    }
    std::vector<int> off;
    for (int n = 1; n <= kCells; ++n)
        if (std::find(patch.begin(), patch.end(), n) == patch.end()) off.push_back(n);
    table.remove(off);
}

std::string describe(const Table& table) {
    std::string out = "code";
    for (const auto& box : table.game.CODE) out += " \"" + box.text + "\"";
    out += ", cells on:";
    for (int n = 1; n <= kCells; ++n)
        if (table.game.Square[n].shown) out += " " + std::to_string(n);
    return out;
}

TEST(SolverAgainstTheGame, VerdictsMatchPlayingEveryLineOfSmallBoards) {
    std::mt19937 random(2024);
    Solver solver;
    int unsolvable = 0, solvable = 0;
    for (int round = 0; round < 2000; ++round) {
        Table table(random_code(random));
        ASSERT_TRUE(table.heard.messages.empty());
        thin_out(table, std::uniform_int_distribution<int>(4, 14)(random), random);

        const auto clicks = solver.solve(solver::position_of(table.game));
        PlayEverything oracle(table.heard);
        const bool winnable = oracle.winnable(table.game);
        ASSERT_EQ(clicks.has_value(), winnable) << describe(table);
        if (clicks) {
            ++solvable;
            EXPECT_EQ(replay(table.game, table.heard, *clicks), "won") << describe(table);
        } else {
            ++unsolvable;
        }
    }
    // Both verdicts must have been put to the test.
    EXPECT_GT(unsolvable, 300);
    EXPECT_GT(solvable, 300);
}

TEST(SolverAgainstTheGame, VerdictsMatchOnLargerBoardsWithManyPieces) {
    std::mt19937 random(77);
    Solver solver;
    const struct { int cells, rounds; } sizes[] = {{17, 200}, {21, 40}};
    for (const auto& size : sizes) {
        int won = 0;
        for (int round = 0; round < size.rounds; ++round) {
            Code code;
            code[0] = std::to_string(std::uniform_int_distribution<int>(1, 28)(random));
            for (int box = 1; box < kBoxes; ++box)
                code[box] = std::to_string(std::uniform_int_distribution<int>(1, 28)(random));
            Table table(code);
            thin_out(table, size.cells, random);

            const auto clicks = solver.solve(solver::position_of(table.game));
            PlayEverything oracle(table.heard);
            ASSERT_EQ(clicks.has_value(), oracle.winnable(table.game)) << describe(table);
            if (clicks) {
                ++won;
                EXPECT_EQ(replay(table.game, table.heard, *clicks), "won") << describe(table);
            }
        }
        // Both verdicts must have been put to the test.
        EXPECT_GT(won, size.rounds / 4) << size.cells << " cells";
        EXPECT_LT(won, size.rounds) << size.cells << " cells";
    }
}

TEST(SolverAgainstTheGame, SolutionsOfDealtBoardsWinTheRealGame) {
    Recorder heard;
    Morvane1 game(heard);
    game.dealer.seed(5);
    Solver solver;
    int solved = 0;
    for (int board = 0; board < 1000; ++board) {
        game.Randomizer_button_Click();
        const auto clicks = solver.solve(solver::position_of(game));
        if (!clicks) continue;
        ++solved;
        ASSERT_EQ(replay(game, heard, *clicks), "won") << "board " << board;
    }
    EXPECT_GT(solved, 950);
}

TEST(SolverAgainstTheGame, BoardsWithoutPiecesAreWonFromEveryCell) {
    Solver solver;
    for (int start = 1; start <= 28; ++start) {
        Table table({std::to_string(start), "", "", "", "", "", ""});
        const auto clicks = solver.solve(solver::position_of(table.game));
        ASSERT_TRUE(clicks) << "from " << start;
        EXPECT_EQ(clicks->size(), 27u);
        EXPECT_EQ(replay(table.game, table.heard, *clicks), "won") << "from " << start;
    }
}

// Texts that name no cell in plain decimal never fire and hold nothing back,
// but "05" and "2." still put their piece on a cell.
TEST(SolverReadsBoxesAsTheGame, OddlySpelledPiecesNeitherFireNorHoldBack) {
    std::mt19937 random(11);
    Solver solver;
    for (int round = 0; round < 300; ++round) {
        Code code = random_code(random);
        const int box = std::uniform_int_distribution<int>(1, 6)(random);
        const int digit = std::uniform_int_distribution<int>(1, 9)(random);
        Code odd = code, empty = code;
        odd[box] = random() % 2 ? "0" + std::to_string(digit) : std::to_string(digit) + ".";
        empty[box] = "";

        Table with_odd(odd), without(empty);
        thin_out(with_odd, 9, random);
        for (int n = 1; n <= kCells; ++n) without.game.Square[n].shown = with_odd.game.Square[n].shown;

        const auto a = solver.solve(solver::position_of(with_odd.game));
        const auto b = solver.solve(solver::position_of(without.game));
        ASSERT_EQ(a.has_value(), b.has_value()) << describe(with_odd);
        PlayEverything oracle(with_odd.heard);
        ASSERT_EQ(a.has_value(), oracle.winnable(with_odd.game)) << describe(with_odd);
    }
}

TEST(SolverReadsBoxesAsTheGame, LaterPieceOnTheSameCellHoldsEarlierOnesBack) {
    // Player on 2; only 3, 4, 8, 9 and 12 on the board besides. Green on 9
    // takes 8 (the column to the left): 2 9 3 4 12 wins. Orange on 9 takes
    // 3 instead (the rows above and below), and then nothing wins.
    Solver solver;
    const auto verdict = [&](const Code& code) {
        Table table(code);
        std::vector<int> off;
        for (int n = 1; n <= kCells; ++n)
            if (n != 2 && n != 3 && n != 4 && n != 8 && n != 9 && n != 12) off.push_back(n);
        table.remove(off);
        const auto clicks = solver.solve(solver::position_of(table.game));
        PlayEverything oracle(table.heard);
        EXPECT_EQ(clicks.has_value(), oracle.winnable(table.game)) << describe(table);
        if (clicks) {
            EXPECT_EQ(replay(table.game, table.heard, *clicks), "won");
        }
        return clicks.has_value();
    };
    EXPECT_TRUE(verdict({"2", "", "", "", "9", "", ""}));    // green alone
    EXPECT_FALSE(verdict({"2", "", "", "", "9", "", "9"}));  // orange holds green back
    EXPECT_TRUE(verdict({"2", "", "", "", "9", "", "09"}));  // "09" holds nothing back
    EXPECT_TRUE(verdict({"2", "", "", "", "9", "", "9."}));  // nor does "9."
    EXPECT_FALSE(verdict({"2", "", "", "", "", "", "9"}));   // orange alone
    EXPECT_TRUE(verdict({"02", "", "", "", "9", "", "x"}));  // the player may read "02"
}

TEST(SolverReadsPositions, ReadsTheBoardAsItStandsInPlay) {
    Table table({"1", "9", "", "", "", "", ""});
    table.game.Square_Click(2);
    const Position position = solver::position_of(table.game);
    EXPECT_EQ(position.player, 2);
    EXPECT_EQ(position.on_board, solver::kAllCells & ~solver::bit(1));
    EXPECT_EQ(position.code[1], "9");
    const auto clicks = solver::solve(position);
    ASSERT_TRUE(clicks);
    EXPECT_EQ(replay(table.game, table.heard, *clicks), "won");
}

TEST(SolverReadsPositions, EdgeCases) {
    Position won;
    won.on_board = solver::bit(7);
    won.player = 7;
    EXPECT_EQ(solver::solve(won), std::vector<int>{});
    EXPECT_EQ(solver::next_winning_move(won), std::nullopt);

    Position no_player;
    no_player.on_board = solver::kAllCells;
    EXPECT_EQ(solver::solve(no_player), std::nullopt);

    // The player's cell counts as on the board even when the bits forget it.
    Position two;
    two.on_board = solver::bit(2);
    two.player = 1;
    EXPECT_EQ(solver::solve(two), std::vector<int>{2});
    EXPECT_EQ(solver::next_winning_move(two), 2);

    // Cells that are not neighbours cannot be reached.
    Position apart;
    apart.on_board = solver::bit(1) | solver::bit(3);
    apart.player = 1;
    EXPECT_EQ(solver::solve(apart), std::nullopt);
}

TEST(Placement, RefusesCodesWithTheGamesMessages) {
    const auto refusal = [](const Code& code) -> std::string {
        const auto placed = solver::place(code);
        if (const auto* refused = std::get_if<solver::Refusal>(&placed)) return refused->reason;
        return "placed";
    };
    EXPECT_EQ(refusal({"5", "29", "", "", "", "", ""}), kEachNumber);
    EXPECT_EQ(refusal({"0", "29", "", "", "", "", ""}), kEachNumber);  // yellow is read first
    EXPECT_EQ(refusal({"5", "3", "29", "", "", "", ""}), kTheNumber);
    EXPECT_EQ(refusal({"5", "", "", "", "", "", "-1"}), kTheNumber);
    EXPECT_EQ(refusal({"", "", "", "", "", "", ""}), kTheNumber);
    EXPECT_EQ(refusal({"0", "", "", "", "", "", ""}), kTheNumber);
    EXPECT_EQ(refusal({".6", "", "", "", "", "", ""}), kTheNumber);
    EXPECT_EQ(refusal({"29", "", "", "", "", "", ""}), kTheNumber);
    EXPECT_EQ(refusal({"5", "", "", "87", "", "87", ""}), kTheNumber);  // no board either
    EXPECT_EQ(refusal({"28", "28", "0", "x", ".5", "", "2."}), "placed");
    EXPECT_EQ(refusal({"1", "", "", "", "", "", ""}), "placed");
    // A box holds two characters: "123" is "12".
    EXPECT_EQ(refusal({"5", "123", "", "", "", "", ""}), "placed");
    EXPECT_EQ(refusal({"5", "299", "", "", "", "", ""}), kEachNumber);
}

TEST(Placement, PutsTheBoardInPlayAsTheGameDoes) {
    const auto placed = solver::place({"1.", "05", "", "x", ".5", "2.", "28"});
    const auto* position = std::get_if<Position>(&placed);
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->player, 1);
    EXPECT_EQ(position->on_board, solver::kAllCells);
    EXPECT_EQ(position->code[1], "05");
    EXPECT_EQ(position->code[5], "2.");

    // A dealt code reads the same without a window.
    const auto dealt = solver::place({"6", "1", "2", "1", "21", "26", "1"});
    const Position expected = solver::dealt_position({6, 1, 2, 1, 21, 26, 1});
    ASSERT_TRUE(std::holds_alternative<Position>(dealt));
    EXPECT_EQ(std::get<Position>(dealt).on_board, expected.on_board);
    EXPECT_EQ(std::get<Position>(dealt).player, expected.player);
    EXPECT_EQ(std::get<Position>(dealt).code, expected.code);
}

TEST(Hint, FollowingHintsWinsAndALostBoardGetsNone) {
    Recorder heard;
    Morvane1 game(heard);
    game.dealer.seed(9);
    int followed = 0;
    for (int board = 0; board < 30; ++board) {
        game.Randomizer_button_Click();
        heard.messages.clear();
        solver::Position before;
        solver::Hint last;
        for (int click = 0; click < 28 && heard.messages.empty(); ++click) {
            const auto hint = solver::hint(game);
            // Along the line the last hint started, each hint is known without a search.
            if (click > 0) {
                const auto known = solver::hint_after(before, last, solver::position_of(game));
                ASSERT_TRUE(known.has_value()) << "board " << board << ", click " << click;
                EXPECT_EQ(known->cell, hint.cell);
            }
            if (hint.verdict != solver::Hint::Verdict::Click) {
                EXPECT_EQ(hint.verdict, solver::Hint::Verdict::NoWin);
                EXPECT_EQ(click, 0) << "a hint led into a lost game";
                break;
            }
            before = solver::position_of(game);
            last = hint;
            game.Square_Click(hint.cell);
            ++followed;
        }
        if (!heard.messages.empty()) {
            EXPECT_EQ(heard.messages.front().text, kSolved);
        }
    }
    EXPECT_GT(followed, 500);

    // Player on 1 with only 3 beside it: no way to win.
    Table lost({"1", "", "", "", "", "", ""});
    std::vector<int> off;
    for (int n = 2; n <= kCells; ++n)
        if (n != 3) off.push_back(n);
    lost.remove(off);
    EXPECT_EQ(solver::hint(lost.game).verdict, solver::Hint::Verdict::NoWin);

    // A board that takes a hundred thousand states to prove lost: with no
    // work allowed the hint cannot tell, with its budget it can.
    Table hard({"26", "10", "17", "13", "26", "24", "15"});
    EXPECT_EQ(solver::hint(hard.game, 0).verdict, solver::Hint::Verdict::Undecided);
    EXPECT_EQ(solver::hint(hard.game, 1000).verdict, solver::Hint::Verdict::Undecided);
    EXPECT_EQ(solver::hint(hard.game).verdict, solver::Hint::Verdict::NoWin);

    // Off the UI thread: a search the next move has made stale stops when
    // told, wherever it is.
    std::atomic<bool> stale{true};
    EXPECT_EQ(solver::hint_for(solver::position_of(hard.game), solver::kHintWork, &stale).verdict,
              solver::Hint::Verdict::Undecided);
    stale = false;
#if !defined(__EMSCRIPTEN__) || defined(__EMSCRIPTEN_PTHREADS__)  // wasm without threads has none to ask from
    std::thread worker([&] {
        EXPECT_EQ(solver::hint_for(solver::position_of(hard.game), solver::kHintWork, &stale).verdict,
                  solver::Hint::Verdict::NoWin);
    });
    worker.join();
#endif
}

// A lost board stays lost after every click, and the hint tells so without a
// search; anything but one legal click on from the answered board is not
// told. Played through the game on lost dealt boards, each answer checked
// against a search.
TEST(Hint, AfterAClickOnALostBoardTheAnswerIsKnown) {
    Recorder heard;
    Morvane1 game(heard);
    game.dealer.seed(5);
    std::mt19937 random(5);
    const solver::Hint no_win{solver::Hint::Verdict::NoWin, 0};
    int told = 0;
    for (int board = 0; board < 5000 && told < 300; ++board) {
        game.Randomizer_button_Click();
        heard.messages.clear();
        solver::Position before = solver::position_of(game);
        if (solver::hint_for(before).verdict != solver::Hint::Verdict::NoWin) continue;
        for (int click = 0; heard.messages.empty(); ++click) {
            std::vector<int> targets;
            for (int n = 1; n <= kCells; ++n)
                if (game.Square[n].shown && game.Square[n].pointer == kPointerArrow) targets.push_back(n);
            if (targets.empty()) break;
            game.Square_Click(targets[random() % targets.size()]);
            const solver::Position now = solver::position_of(game);
            if (!heard.messages.empty()) break;  // lost on the spot: a new board or the same again
            const auto known = solver::hint_after(before, no_win, now);
            ASSERT_TRUE(known.has_value()) << "click " << click << " on board " << board;
            EXPECT_EQ(known->verdict, solver::Hint::Verdict::NoWin);
            EXPECT_EQ(solver::hint_for(now).verdict, solver::Hint::Verdict::NoWin);
            ++told;
            // Not one click on: the same board, a board going back, the
            // board before with other pieces, or an answer that was a click.
            EXPECT_FALSE(solver::hint_after(now, no_win, now));
            EXPECT_FALSE(solver::hint_after(now, no_win, before));
            solver::Position recoded = before;
            recoded.code[1] = recoded.code[1] == "1" ? "2" : "1";
            EXPECT_FALSE(solver::hint_after(recoded, no_win, now));
            EXPECT_FALSE(solver::hint_after(before, {solver::Hint::Verdict::Click, now.player}, now));
            before = now;
        }
    }
    EXPECT_GE(told, 300);
}

// The hint's budget is work, not time, so it decides the same boards on a
// busy machine as on a quiet one. The hardest dealt boards known, and a
// batch of dealt ones, each well within it; a search that lost its cut-offs
// would not be.
TEST(Hint, DecidesTheHardestDealtBoardsWithinItsBudget) {
    Solver solver;
    solver.set_work_limit(solver::kHintWork);
    std::uint64_t most = 0;
    for (const auto& cells : std::vector<std::array<int, 7>>{{26, 10, 17, 13, 26, 24, 15},
                                                             {28, 6, 10, 24, 6, 13, 8},
                                                             {17, 12, 15, 2, 19, 1, 21},
                                                             {26, 10, 17, 13, 8, 22, 8},
                                                             {9, 15, 21, 22, 24, 8, 9}}) {
        EXPECT_FALSE(solver.solve(solver::dealt_position(cells)).has_value());
        EXPECT_FALSE(solver.out_of_work());
        most = std::max(most, solver.stats().work());
    }
    EXPECT_LT(most, solver::kHintWork * 3 / 4);

    Dealer dealer;
    dealer.seed(1);
    std::uint64_t total = 0;
    for (int board = 0; board < 5000; ++board) {
        std::array<int, 7> cells;
        for (int& cell : cells) cell = dealer.draw();
        solver.solve(solver::dealt_position(cells));
        ASSERT_FALSE(solver.out_of_work()) << "board " << board;
        total += solver.stats().work();
    }
    EXPECT_LT(total, 3000000u);  // some 1.2 million today
}

// On the hardest lost boards known the solver, relaxed games and restarts
// and all, searches fewer states than one depth-first search with the same
// table and cut-offs and nothing else: where the pieces cover most of the
// board, asking the relaxed game near them would cost more than it saves.
TEST(SolverWork, HardestLostBoardsCostLessThanASearchWithoutRelaxedGames) {
    Solver solver;
    solver::Level cut_search(16);
    for (const auto& cells : std::vector<std::array<int, 7>>{{7, 21, 17, 2, 28, 15, 13},
                                                             {26, 10, 17, 13, 26, 24, 15},
                                                             {28, 6, 10, 24, 6, 13, 8},
                                                             {24, 14, 7, 10, 21, 28, 22},
                                                             {28, 5, 10, 21, 6, 25, 9},
                                                             {26, 10, 17, 13, 8, 22, 8}}) {
        const Position position = solver::dealt_position(cells);
        const solver::BoardRules rules(position);
        cut_search.start(rules, solver::kAllCells, solver::kAllCells, {});
        EXPECT_FALSE(cut_search.winnable(solver::kAllCells, cells[0]));
        EXPECT_FALSE(solver.solve(position).has_value());
        EXPECT_LT(solver.stats().work(), cut_search.searched()) << "board " << cells[0] << "," << cells[1];
    }
}

// Hints on the hardest dealt boards, move after move along the line they
// give and after a wrong move: each says where to go or that no way is
// left, never that it could not tell, and none changes the game.
TEST(Hint, NeverUndecidedAlongTheHardestDealtBoards) {
    for (const Code& code : std::vector<Code>{{"7", "13", "23", "8", "13", "20", "17"},
                                              {"8", "10", "10", "21", "6", "24", "9"},
                                              {"26", "10", "17", "13", "8", "22", "8"},
                                              {"1", "6", "3", "6", "20", "22", "2"}}) {
        Table table(code);
        table.heard.cues.clear();
        for (int click = 0; click < 28 && table.heard.messages.empty(); ++click) {
            const Morvane1 before = table.game;
            const auto hint = solver::hint(table.game);
            ASSERT_NE(hint.verdict, solver::Hint::Verdict::Undecided) << describe(table);
            EXPECT_EQ(shown_cells(table.game), shown_cells(before));
            EXPECT_EQ(table.game.CODE[0].text, before.CODE[0].text);
            EXPECT_EQ(table.game.score_box.text, before.score_box.text);
            EXPECT_TRUE(table.heard.cues.empty() && table.heard.messages.empty());
            // Follow the hint; where there is none, stray to the first legal cell.
            int next = hint.verdict == solver::Hint::Verdict::Click ? hint.cell : 0;
            for (int n = 1; n <= kCells && !next; ++n)
                if (table.game.Square[n].shown && table.game.Square[n].pointer == kPointerArrow) next = n;
            if (!next) break;
            table.game.Square_Click(next);
            table.heard.cues.clear();
        }
    }
}

}  // namespace
}  // namespace morvane::solve_test
