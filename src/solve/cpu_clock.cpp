#include "solve/cpu_clock.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace morvane::solver {

double thread_cpu_now() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

double thread_cpu_cost() {
    std::vector<double> empty;
    for (int i = 0; i < 101; ++i) {
        const double start = thread_cpu_now();
        empty.push_back(thread_cpu_now() - start);
    }
    return summarize(std::move(empty)).median;
}

TimeSummary summarize(std::vector<double> values) {
    TimeSummary summary;
    summary.count = values.size();
    if (values.empty()) return summary;
    std::sort(values.begin(), values.end());
    const auto rank = [&](double share) {
        const auto index = static_cast<std::size_t>(std::ceil(share * double(values.size())));
        return values[std::clamp<std::size_t>(index, 1, values.size()) - 1];
    };
    summary.median = rank(0.5);
    summary.p99 = rank(0.99);
    summary.max = values.back();
    for (const double value : values) summary.total += value;
    return summary;
}

}  // namespace morvane::solver
