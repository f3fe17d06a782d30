#include "bench_support.h"

#include <algorithm>
#include <cstdarg>
#include <ctime>

namespace morvane::bench {

double wall_now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

Table::Table(std::string title, std::vector<std::string> headings)
    : title_(std::move(title)), rows_{std::move(headings)} {}

void Table::row(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

void Table::print(std::FILE* out) const {
    std::vector<std::size_t> width;
    for (const auto& row : rows_)
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (width.size() <= i) width.push_back(0);
            width[i] = std::max(width[i], row[i].size());
        }
    std::fprintf(out, "\n%s\n", title_.c_str());
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        std::string line;
        for (std::size_t i = 0; i < rows_[r].size(); ++i) {
            const std::string& cell = rows_[r][i];
            const std::string pad(width[i] - cell.size(), ' ');
            // The first column reads left to right, figures line up on the right.
            line += i == 0 ? cell + pad : "  " + pad + cell;
        }
        std::fprintf(out, "  %s\n", line.c_str());
        if (r == 0) {
            std::size_t all = 0;
            for (const std::size_t w : width) all += w + 2;
            std::fprintf(out, "  %s\n", std::string(all - 2, '-').c_str());
        }
    }
}

std::string format(const char* pattern, ...) {
    char buffer[256];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

}  // namespace morvane::bench
