#pragma once
// What every benchmark here shares: clocks, a summary of many measurements
// and a plain table of figures.
//
// Benchmarks time with the CPU time of the thread doing the work, the
// solver's own clock (solve/cpu_clock.h), not with the wall clock: on a
// busy machine the wall clock also counts the time the thread sat waiting
// for a core. A figure that only the wall clock can give (how long until a
// window shows) takes wall_now() and is run several times, and the median
// is what counts.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "solve/cpu_clock.h"

namespace morvane::bench {

using solver::summarize;
using solver::thread_cpu_cost;
using solver::thread_cpu_now;
using Summary = solver::TimeSummary;

// A monotonic wall clock, in microseconds.
double wall_now();

// A table printed as aligned text: a title, column headings, then rows.
class Table {
public:
    Table(std::string title, std::vector<std::string> headings);
    void row(std::vector<std::string> cells);
    void print(std::FILE* out = stdout) const;

private:
    std::string title_;
    std::vector<std::vector<std::string>> rows_;
};

// printf into a string, for table cells.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

}  // namespace morvane::bench
