#pragma once
// What every benchmark here shares: clocks, a summary of many measurements
// and a plain table of figures.
//
// Benchmarks time with the CPU time of the thread doing the work, not with
// the wall clock: on a busy machine the wall clock also counts the time the
// thread sat waiting for a core. A figure that only the wall clock can give
// (how long until a window shows) takes wall_now() and is run several times,
// and the median is what counts.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace morvane::bench {

// CPU time of the calling thread, in microseconds.
double thread_cpu_now();
// What a reading of thread_cpu_now() itself costs, as an empty stretch
// between two readings measures it (the median of 101): a system call, over
// a microsecond on some machines. Short timings take it off.
double thread_cpu_cost();
// A monotonic wall clock, in microseconds.
double wall_now();

// Median, 99th percentile (nearest rank), largest and sum of a set of
// measurements, all 0 for none.
struct Summary {
    std::size_t count = 0;
    double median = 0, p99 = 0, max = 0, total = 0;
};
Summary summarize(std::vector<double> values);

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
