// hint_native [BOARDS]: deals BOARDS boards (20000) from seed 1 as the
// Randomizer does, asks each for its hint as the window's hint thread does,
// and prints the ten whose hint takes longest, one "CODE MS" a line: the
// median CPU time of five more asks each (other boards between them, so that
// no answer comes from the line kept for the board before). The browser
// edition's benchmark asks its worker the same boards.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "game/dealer.h"
#include "solve/hint.h"
#include "solve/solver.h"

using namespace morvane;
using namespace morvane::bench;

int main(int argc, char* argv[]) {
    const int boards = argc > 1 ? std::atoi(argv[1]) : 20000;
    Dealer dealer;
    dealer.seed(1);
    struct Timed {
        std::array<int, 7> cells;
        double us;
    };
    std::vector<Timed> all;
    const double cost = thread_cpu_cost();
    for (int b = 0; b < boards; ++b) {
        Timed t{};
        for (int& cell : t.cells) cell = dealer.draw();
        const solver::Position position = solver::dealt_position(t.cells);
        const double start = thread_cpu_now();
        (void)solver::hint_for(position);
        t.us = thread_cpu_now() - start - cost;
        all.push_back(t);
    }
    std::sort(all.begin(), all.end(), [](const Timed& a, const Timed& b) { return a.us > b.us; });
    all.resize(std::min<std::size_t>(all.size(), 10));
    std::vector<std::vector<double>> times(all.size());
    for (int round = 0; round < 5; ++round)
        for (std::size_t i = 0; i < all.size(); ++i) {
            const solver::Position position = solver::dealt_position(all[i].cells);
            const double start = thread_cpu_now();
            (void)solver::hint_for(position);
            times[i].push_back(thread_cpu_now() - start - cost);
        }
    for (std::size_t i = 0; i < all.size(); ++i) {
        std::string code;
        for (int cell : all[i].cells) code += (code.empty() ? "" : ",") + std::to_string(cell);
        std::printf("%s %.3f\n", code.c_str(), summarize(times[i]).median / 1e3);
    }
}
