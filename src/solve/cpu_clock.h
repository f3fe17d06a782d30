#pragma once
// The clock that timings of the solver read, and a summary of many timings;
// morvane-solve --deal and the benchmarks share them.
//
// Timings take the CPU time of the thread doing the work, not the wall
// clock: on a busy machine the wall clock also counts the time the thread
// sat waiting for a core.

#include <cstddef>
#include <vector>

namespace morvane::solver {

// CPU time of the calling thread, in microseconds.
double thread_cpu_now();
// What one reading of thread_cpu_now() itself costs, as an empty stretch
// between two readings measures it (the median of 101 tries): a system call
// on most machines, which short timings take off.
double thread_cpu_cost();

// Count, median, 99th percentile (nearest rank), largest and sum of a set of
// measurements; all 0 for none.
struct TimeSummary {
    std::size_t count = 0;
    double median = 0, p99 = 0, max = 0, total = 0;
};
TimeSummary summarize(std::vector<double> values);

}  // namespace morvane::solver
