#include "solve/batch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>

#include "game/dealer.h"

namespace morvane::solver {

std::string answer(std::string_view line, Solver& solver) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    // Boxes are counted before any is copied, so that a line of many
    // commas takes no more memory than the line.
    const auto boxes = std::count(line.begin(), line.end(), ',') + 1;
    if (boxes != 7)
        return "invalid: a board code has 7 boxes separated by commas, this line has " + std::to_string(boxes);

    std::array<std::string, 7> code;
    for (std::string& box : code) {
        const std::size_t comma = std::min(line.find(','), line.size());
        box = line.substr(0, comma);
        line.remove_prefix(std::min(comma + 1, line.size()));
    }
    const auto placed = place(code);
    if (const auto* refusal = std::get_if<Refusal>(&placed)) return "invalid: " + refusal->reason;

    const auto clicks = solver.solve(std::get<Position>(placed));
    if (!clicks) return "unsolvable";
    std::string out;
    for (const int cell : *clicks) {
        if (!out.empty()) out += ' ';
        out += std::to_string(cell);
    }
    return out;
}

namespace {

// CPU time of this thread, in microseconds: on a busy machine the wall clock
// would count the time spent waiting for a core too.
double cpu_microseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

// What one reading of that clock costs, as seen between two readings with
// nothing in between: the median of 101 tries. A system call on most
// machines, and about a third of a small board's time.
double cpu_clock_cost() {
    std::vector<double> empty;
    for (int i = 0; i < 101; ++i) {
        const double start = cpu_microseconds();
        empty.push_back(cpu_microseconds() - start);
    }
    std::nth_element(empty.begin(), empty.begin() + 50, empty.end());
    return empty[50];
}

}  // namespace

LineRead read_line(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* const buffer = in.rdbuf();
    std::size_t length = 0;  // of the whole line; only its start is kept
    bool any = false;
    for (int c; (c = buffer->sbumpc()) != std::char_traits<char>::eof();) {
        any = true;
        if (c == '\n') break;
        if (length++ <= kLongestLine) line.push_back(static_cast<char>(c));
    }
    if (!any) {
        in.setstate(std::ios::eofbit);
        return LineRead::End;
    }
    if (length <= kLongestLine + 1 && !line.empty() && line.back() == '\r') {
        line.pop_back();
        --length;
    }
    return length > kLongestLine ? LineRead::TooLong : LineRead::Line;
}

DealReport deal(std::uint64_t boards, std::uint64_t seed, Solver& solver) {
    DealReport report;
    report.boards = boards;
    report.microseconds.reserve(boards);
    report.clock_microseconds = cpu_clock_cost();
    // The slowest boards so far, for timing them again.
    struct Slow {
        double microseconds;
        std::uint64_t index;
        std::array<int, 7> cells;
    };
    std::vector<Slow> slowest;
    Dealer dealer;
    dealer.seed(seed);
    for (std::uint64_t i = 0; i < boards; ++i) {
        std::array<int, 7> cells;
        for (int& cell : cells) cell = dealer.draw();
        const Position position = dealt_position(cells);
        const double start = cpu_microseconds();
        const bool solvable = solver.solve(position).has_value();
        const double took = std::max(0.0, cpu_microseconds() - start - report.clock_microseconds);
        report.solvable += solvable;
        report.microseconds.push_back(took);
        if (slowest.size() < kRetimed) {
            slowest.push_back({took, i, cells});
        } else if (const auto fastest = std::min_element(
                       slowest.begin(), slowest.end(),
                       [](const Slow& a, const Slow& b) { return a.microseconds < b.microseconds; });
                   took > fastest->microseconds) {
            *fastest = {took, i, cells};
        }
    }
    // The slowest boards again, the median of five runs each: a single run
    // may have been held up by the machine (another program's use of the
    // caches, a page fault), and the largest time should be the board's.
    for (const Slow& slow : slowest) {
        const Position position = dealt_position(slow.cells);
        std::array<double, 5> runs{};
        for (double& run : runs) {
            const double start = cpu_microseconds();
            solver.solve(position);
            run = std::max(0.0, cpu_microseconds() - start - report.clock_microseconds);
        }
        std::nth_element(runs.begin(), runs.begin() + 2, runs.end());
        report.microseconds[slow.index] = runs[2];
    }
    for (const double took : report.microseconds) report.total_seconds += took / 1e6;
    return report;
}

TimeSummary summarize(std::vector<double> microseconds) {
    TimeSummary summary;
    if (microseconds.empty()) return summary;
    std::sort(microseconds.begin(), microseconds.end());
    const auto rank = [&](double share) {
        const auto index = static_cast<std::size_t>(std::ceil(share * microseconds.size()));
        return microseconds[std::clamp<std::size_t>(index, 1, microseconds.size()) - 1];
    };
    summary.median = rank(0.5);
    summary.p99 = rank(0.99);
    summary.max = microseconds.back();
    return summary;
}

}  // namespace morvane::solver
