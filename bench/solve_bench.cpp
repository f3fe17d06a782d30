// solve_bench: the solver's figures on dealt boards, side by side with
// plainer searches on the same boards, and the hint's budget of work.
//
//     solve_bench [--deal N] [--seed S] [--plain-every K] [--slowest J]
//     solve_bench --hint [--deal N] [--seeds A-B] [--walks W]
//     solve_bench CODE...
//
// The first form deals N boards (100000) from seed S (1) as the Randomizer
// does and solves each with the solver, with the same depth-first search
// without relaxed games or restarts ("cut search"), and on every K-th board
// (10) and on the J (10) slowest for the solver with a plain depth-first
// search with a table of lost states. It prints the CPU time of each (median,
// 99th percentile, largest, all boards), the ratios, and the slowest boards;
// the solver's J slowest are timed again, the median of 5 runs each.
// Exits with status 1 if two searches ever disagree.
//
// --hint deals N boards from each seed A to B (1-5) and, from each, W (4)
// positions reached by random legal clicks, and prints the most work (states
// searched) any of them needs against the hint's budget, and what searching
// the whole budget costs. Exits with status 1 if a position needs more.
//
// With board codes of whole cells ("28,6,10,24,6,13,8") it times those, each
// the median of 5 runs.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "game/dealer.h"
#include "plain_search.h"
#include "solve/hint.h"
#include "solve/solver.h"

namespace {

using namespace morvane;
using bench::format;

std::string code_of(const std::array<int, 7>& cells) {
    std::string code;
    for (const int cell : cells) code += (code.empty() ? "" : ",") + std::to_string(cell);
    return code;
}

// One way of deciding a board, with its figures on each board.
struct Search {
    std::string name;
    std::function<bool(const solver::Position&)> winnable;
    std::function<std::uint64_t()> states;
    std::vector<double> us;  // CPU time per board, NaN where not run
    std::vector<double> work;
};

constexpr double kNotRun = -1;

struct Bench {
    solver::Solver solver;
    bench::CutSearch cut;
    bench::PlainSearch plain;
    std::vector<Search> searches;
    std::vector<std::array<int, 7>> boards;
    std::vector<bool> won;
    bool agree = true;
    // Taken off every time: a small board's solve is only a few readings of
    // the clock long.
    const double clock_cost = bench::thread_cpu_cost();

    Bench() {
        searches.push_back({"solver", [this](const auto& p) { return solver.solve(p).has_value(); },
                            [this] { return solver.stats().work(); }, {}, {}});
        searches.push_back({"cut search", [this](const auto& p) { return cut.winnable(p); },
                            [this] { return cut.states(); }, {}, {}});
        searches.push_back({"plain search", [this](const auto& p) { return plain.winnable(p); },
                            [this] { return plain.states(); }, {}, {}});
    }

    // Times searches on board `i` (all of them when `which` is empty), the
    // median of `runs` runs each.
    void measure(std::size_t i, const std::vector<std::size_t>& which, int runs) {
        const solver::Position position = solver::dealt_position(boards[i]);
        for (std::size_t s = 0; s < searches.size(); ++s) {
            if (!which.empty() && std::find(which.begin(), which.end(), s) == which.end()) continue;
            Search& search = searches[s];
            std::vector<double> times;
            bool verdict = false;
            for (int run = 0; run < runs; ++run) {
                const double start = bench::thread_cpu_now();
                verdict = search.winnable(position);
                times.push_back(std::max(0.0, bench::thread_cpu_now() - start - clock_cost));
            }
            search.us[i] = bench::summarize(times).median;
            search.work[i] = double(search.states());
            if (s == 0) won[i] = verdict;
            if (verdict != won[i]) {
                std::printf("DISAGREE on %s: solver says %s, %s the opposite\n", code_of(boards[i]).c_str(),
                            won[i] ? "winnable" : "lost", search.name.c_str());
                agree = false;
            }
        }
    }

    void add(const std::array<int, 7>& cells) {
        boards.push_back(cells);
        won.push_back(false);
        for (Search& s : searches) {
            s.us.push_back(kNotRun);
            s.work.push_back(kNotRun);
        }
    }

    void print_boards(const char* title, const std::vector<std::size_t>& which) const {
        std::vector<std::string> headings{"board", "verdict"};
        for (const Search& s : searches) headings.push_back(s.name + " ms");
        for (const Search& s : searches) headings.push_back(s.name + " states");
        bench::Table table(title, headings);
        for (const std::size_t i : which) {
            std::vector<std::string> row{code_of(boards[i]), won[i] ? "won" : "lost"};
            for (const Search& s : searches) row.push_back(s.us[i] < 0 ? "-" : format("%.2f", s.us[i] / 1e3));
            for (const Search& s : searches) row.push_back(s.work[i] < 0 ? "-" : format("%.0f", s.work[i]));
            table.row(row);
        }
        table.print();
    }

    // The figures of each search over the boards it ran on, and the
    // solver's time against each over the same boards.
    void print_summary(const std::string& title) const {
        std::vector<std::string> headings{""};
        for (const Search& s : searches) headings.push_back(s.name);
        bench::Table table(title, headings);
        std::vector<bench::Summary> time, work;
        for (const Search& s : searches) {
            std::vector<double> us, states;
            for (std::size_t i = 0; i < boards.size(); ++i)
                if (s.us[i] >= 0) us.push_back(s.us[i]), states.push_back(s.work[i]);
            time.push_back(bench::summarize(us));
            work.push_back(bench::summarize(states));
        }
        const auto line = [&](const char* what, auto figure) {
            std::vector<std::string> row{what};
            for (std::size_t s = 0; s < searches.size(); ++s) row.push_back(figure(s));
            table.row(row);
        };
        line("boards", [&](std::size_t s) { return format("%zu", time[s].count); });
        line("median", [&](std::size_t s) { return format("%.2f us", time[s].median); });
        line("99th percentile", [&](std::size_t s) { return format("%.0f us", time[s].p99); });
        line("largest", [&](std::size_t s) { return format("%.2f ms", time[s].max / 1e3); });
        line("all boards", [&](std::size_t s) { return format("%.3f s", time[s].total / 1e6); });
        line("states, median", [&](std::size_t s) { return format("%.0f", work[s].median); });
        line("states, largest", [&](std::size_t s) { return format("%.0f", work[s].max); });
        // The solver against each over the boards both ran on.
        line("solver / this, all boards", [&](std::size_t s) {
            double a = 0, b = 0;
            for (std::size_t i = 0; i < boards.size(); ++i)
                if (searches[s].us[i] >= 0) a += searches[0].us[i], b += searches[s].us[i];
            return format("%.2f", a / b);
        });
        line("solver / this, worst board", [&](std::size_t s) {
            // Only boards with something to time (0.5 ms for either).
            double worst = 0;
            for (std::size_t i = 0; i < boards.size(); ++i)
                if (searches[s].us[i] >= 0 && std::max(searches[0].us[i], searches[s].us[i]) >= 500)
                    worst = std::max(worst, searches[0].us[i] / searches[s].us[i]);
            return format("%.2f", worst);
        });
        table.print();
    }
};

std::vector<std::size_t> slowest(const Search& search, std::size_t count) {
    std::vector<std::size_t> order(search.us.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    count = std::min(count, order.size());
    std::partial_sort(order.begin(), order.begin() + count, order.end(),
                      [&](std::size_t a, std::size_t b) { return search.us[a] > search.us[b]; });
    order.resize(count);
    return order;
}

// The hint's budget against the work dealt boards and positions reached
// from them need.
int check_hint_budget(std::uint64_t boards, std::uint64_t first_seed, std::uint64_t last_seed, int walks) {
    solver::Solver solver;
    const auto& masks = solver::BoardMasks::get();
    std::mt19937_64 random(7);
    double most = 0, most_us = 0, total_us = 0, total_work = 0;
    std::string hardest;
    std::uint64_t positions = 0, over = 0;
    for (std::uint64_t seed = first_seed; seed <= last_seed; ++seed) {
        Dealer dealer;
        dealer.seed(seed);
        for (std::uint64_t b = 0; b < boards; ++b) {
            std::array<int, 7> cells;
            for (int& cell : cells) cell = dealer.draw();
            solver::Position position = solver::dealt_position(cells);
            const solver::BoardRules rules(position);
            for (int walk = 0; walk <= walks; ++walk) {
                // Walk 0 is the board as dealt; the others click at random
                // for a few moves first, as a player who strays might.
                solver::Position at = position;
                for (int clicks = int(random() % 12); walk && clicks > 0; --clicks) {
                    const solver::Cells board = at.on_board | solver::bit(at.player);
                    const solver::Cells targets = masks.neighbours(at.player) & board & ~solver::bit(at.player);
                    if (!targets) break;
                    std::vector<int> moves;
                    for (solver::Cells t = targets; t; t &= t - 1) moves.push_back(solver::lowest_cell(t));
                    const int q = moves[random() % moves.size()];
                    const solver::Cells next = rules.after_click(board, at.player, q);
                    if (next == solver::bit(q) || !(masks.neighbours(q) & next)) break;  // the game ends
                    at.on_board = next;
                    at.player = q;
                }
                solver.set_work_limit(~std::uint64_t{0});
                const double start = bench::thread_cpu_now();
                solver.solve(at);
                const double us = bench::thread_cpu_now() - start;
                const double work = double(solver.stats().work());
                ++positions;
                total_us += us;
                total_work += work;
                over += work > double(solver::kHintWork);
                if (work > most) most = work, most_us = us, hardest = code_of(cells) + (walk ? " (after clicks)" : "");
            }
        }
    }
    // What a search that spends the whole budget costs: the hardest position
    // asked again with a budget just short of what it needs, timed, scaled.
    std::printf("\npositions: %llu (%llu boards from each of seeds %llu to %llu, and %d walks from each)\n",
                (unsigned long long)positions, (unsigned long long)boards, (unsigned long long)first_seed,
                (unsigned long long)last_seed, walks);
    std::printf("most work for one position: %.0f states (%s), %.2f ms\n", most, hardest.c_str(), most_us / 1e3);
    std::printf("hint budget: %llu states; positions over it: %llu\n", (unsigned long long)solver::kHintWork,
                (unsigned long long)over);
    std::printf("CPU per state: %.0f ns on average, %.0f ns on the hardest position; the whole budget"
                " at the hardest position's rate: %.1f ms\n",
                total_us * 1e3 / total_work, most_us * 1e3 / most, most_us / most * double(solver::kHintWork) / 1e3);
    return over ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t boards = 100000, seed = 1, first_seed = 1, last_seed = 5;
    std::size_t plain_every = 10, slow = 10;
    int walks = 4;
    bool hint = false;
    Bench bench;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--hint") {
            hint = true;
        } else if (arg == "--deal" && has_value) {
            boards = std::strtoull(argv[++i], nullptr, 10);
        } else if (arg == "--seed" && has_value) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (arg == "--seeds" && has_value) {
            char* end = nullptr;
            first_seed = std::strtoull(argv[++i], &end, 10);
            last_seed = *end == '-' ? std::strtoull(end + 1, nullptr, 10) : first_seed;
        } else if (arg == "--walks" && has_value) {
            walks = std::atoi(argv[++i]);
        } else if (arg == "--plain-every" && has_value) {
            plain_every = std::max<std::size_t>(1, std::strtoull(argv[++i], nullptr, 10));
        } else if (arg == "--slowest" && has_value) {
            slow = std::strtoull(argv[++i], nullptr, 10);
        } else {
            std::array<int, 7> cells{};
            const char* at = argv[i];
            char* end = nullptr;
            bool ok = true;
            for (int& cell : cells) {
                cell = int(std::strtol(at, &end, 10));
                ok &= end != at && cell >= 1 && cell <= 28;
                at = *end == ',' ? end + 1 : end;
            }
            if (!ok || *end) {
                std::fprintf(stderr, "usage: solve_bench [--deal N] [--seed S] [--plain-every K] [--slowest J]\n"
                                     "       solve_bench --hint [--deal N] [--seeds A-B] [--walks W]\n"
                                     "       solve_bench CODE...\n");
                return 2;
            }
            bench.add(cells);
        }
    }
    if (hint) return check_hint_budget(boards, first_seed, last_seed, walks);

    if (!bench.boards.empty()) {
        std::vector<std::size_t> all;
        for (std::size_t i = 0; i < bench.boards.size(); ++i) {
            bench.measure(i, {}, 5);
            all.push_back(i);
        }
        bench.print_boards("Boards (CPU time of one thread, median of 5 runs)", all);
        return bench.agree ? 0 : 1;
    }

    Dealer dealer;
    dealer.seed(seed);
    for (std::uint64_t b = 0; b < boards; ++b) {
        std::array<int, 7> cells;
        for (int& cell : cells) cell = dealer.draw();
        bench.add(cells);
    }
    // Each board by every search in turn, so that all meet the same machine.
    for (std::size_t i = 0; i < bench.boards.size(); ++i)
        bench.measure(i, i % plain_every ? std::vector<std::size_t>{0, 1} : std::vector<std::size_t>{}, 1);
    // The solver's slowest boards again, the median of 5 runs each: a single
    // run may have been held up by the machine (a page fault, another
    // program's cache traffic), and the largest time should be the board's.
    for (const std::size_t i : slowest(bench.searches[0], slow)) bench.measure(i, {0}, 5);
    const auto slowest_for_solver = slowest(bench.searches[0], slow);
    for (const std::size_t i : slowest_for_solver)
        if (bench.searches[2].us[i] < 0) bench.measure(i, {2}, 1);

    std::uint64_t winnable = 0;
    for (const bool w : bench.won) winnable += w;
    bench.print_summary(format("%llu boards dealt from seed %llu, %llu winnable; CPU time of one thread, less"
                               " the clock's own %.2f us; the plain search on one board in %zu and the"
                               " solver's slowest",
                               (unsigned long long)boards, (unsigned long long)seed,
                               (unsigned long long)winnable, bench.clock_cost, plain_every));
    bench.print_boards("The solver's slowest boards", slowest_for_solver);
    bench.print_boards("The cut search's slowest boards", slowest(bench.searches[1], slow));
    if (!bench.agree) std::printf("\nthe searches DISAGREE on some boards\n");
    return bench.agree ? 0 : 1;
}
