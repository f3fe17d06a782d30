// morvane-solve: solves board codes, or times the solver on dealt boards.

#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "solve/batch.h"

namespace {

constexpr std::string_view kUsage = R"(Usage:
  morvane-solve [CODE...]
  morvane-solve --deal N [--seed S] [--max-median-us X] [--max-board-ms X] [--max-total-s X]

Solves boards of Morvane's Challenge II exactly.

Each CODE is a board code: the seven box texts, player first, then yellow,
blue, navy, green, red and orange, separated by commas, e.g. 6,1,2,1,21,26,1
or 5,05,,x,.5,2.,28. Texts are read exactly as a box holds them (blanks
count; a box keeps only its first 2 characters). Without CODE arguments the
codes are read from standard input, one per line; a line longer than 4096
bytes is answered "invalid: " and skipped. For each code one line is
printed: the cells to click in order, separated by blanks, or "unsolvable",
or "invalid: " and the reason the game refuses the code.

--deal N      deals N boards as the Randomizer does and prints how many are
              solvable and the median, 99th-percentile and largest CPU time
              of a solve (less the clock's own cost; the ten slowest boards
              are timed again, the median of five runs each)
--seed S      seed of the dealer for --deal (default 1)
--max-median-us, --max-board-ms, --max-total-s
              with --deal: exit with status 1 when the median, the slowest
              board or the whole batch takes longer than this
--help        shows this text
--version     shows the name and version
)";

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

int usage_error(std::string_view what) {
    std::cerr << "morvane-solve: " << what << " (see morvane-solve --help)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace morvane::solver;

    std::vector<std::string> codes;
    std::optional<double> boards, seed, max_median_us, max_board_ms, max_total_s;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--version" || arg == "-v") {
            std::cout << "morvane-solve " MORVANE_VERSION "\n";
            return 0;
        }
        if (!arg.starts_with("--")) {  // a code may start with one dash
            codes.emplace_back(arg);
            continue;
        }
        std::optional<double>* target = arg == "--deal"            ? &boards
                                        : arg == "--seed"          ? &seed
                                        : arg == "--max-median-us" ? &max_median_us
                                        : arg == "--max-board-ms"  ? &max_board_ms
                                        : arg == "--max-total-s"   ? &max_total_s
                                                                   : nullptr;
        if (!target) return usage_error("unknown option '" + std::string(arg) + "'");
        if (i + 1 == argc) return usage_error(std::string(arg) + " needs a number");
        *target = number(argv[++i]);
        if (!*target) return usage_error(std::string(arg) + " needs a number, not " + argv[i]);
    }

    Solver solver;
    if (!boards) {
        if (seed || max_median_us || max_board_ms || max_total_s)
            return usage_error("--seed and the --max options go with --deal");
        if (codes.empty()) {
            std::string line;
            for (LineRead read; (read = read_line(std::cin, line)) != LineRead::End;)
                std::cout << (read == LineRead::TooLong ? std::string(kLineTooLong) : answer(line, solver)) << '\n';
        } else {
            for (const auto& code : codes) std::cout << answer(code, solver) << '\n';
        }
        return 0;
    }

    if (!codes.empty()) return usage_error("--deal takes no board codes");
    const auto whole = [](double value, double most) {
        return value <= most && value == static_cast<double>(static_cast<std::uint64_t>(value));
    };
    if (!whole(*boards, 1e8)) return usage_error("--deal needs a whole number of boards, at most 100000000");
    if (seed && !whole(*seed, 1e18)) return usage_error("--seed needs a whole number");
    const auto report = deal(static_cast<std::uint64_t>(*boards), static_cast<std::uint64_t>(seed.value_or(1)), solver);
    const TimeSummary times = summarize(report.microseconds);
    std::printf("boards:   %llu\n", static_cast<unsigned long long>(report.boards));
    std::printf("solvable: %llu (%.2f%%)\n", static_cast<unsigned long long>(report.solvable),
                report.boards ? 100.0 * report.solvable / report.boards : 0.0);
    std::printf("median:   %.2f us\n", times.median);
    std::printf("p99:      %.2f us\n", times.p99);
    std::printf("max:      %.3f ms\n", times.max / 1000);
    std::printf("total:    %.3f s\n", report.total_seconds);
    std::printf("clock:    %.2f us a time, taken off each\n", report.clock_microseconds);

    bool within = true;
    const auto check = [&](const char* what, double value, const std::optional<double>& limit) {
        if (limit && value > *limit) {
            std::printf("too slow: %s %g over the limit %g\n", what, value, *limit);
            within = false;
        }
    };
    check("median (us)", times.median, max_median_us);
    check("slowest board (ms)", times.max / 1000, max_board_ms);
    check("whole batch (s)", report.total_seconds, max_total_s);
    return within ? 0 : 1;
}
