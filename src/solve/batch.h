#pragma once
// What the morvane-solve tool does, apart from reading its arguments.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "solve/cpu_clock.h"
#include "solve/solver.h"

namespace morvane::solver {

// The answer to one line of input, a board code of seven box texts separated
// by commas ("6,1,2,1,21,26,1", "5,05,,x,.5,2.,28"): the cells to click,
// separated by blanks, or "unsolvable", or "invalid: " and the reason.
// Texts are taken exactly as written, blanks included, as a box would hold
// them; a trailing carriage return is dropped.
std::string answer(std::string_view line, Solver& solver);

// Input is read a line at a time in bounded memory: a line longer than this
// many bytes (its line end not counted) is answered with kLineTooLong
// instead, and is read to its end without being kept.
inline constexpr std::size_t kLongestLine = 4096;
inline constexpr std::string_view kLineTooLong = "invalid: the line is longer than 4096 bytes";

enum class LineRead { Line, TooLong, End };
// Reads the next line of `in` into `line` (its line end, "\n" or "\r\n",
// dropped): Line, TooLong (then `line` holds only its start), or End when
// nothing is left.
LineRead read_line(std::istream& in, std::string& line);

// A batch of boards dealt as the Randomizer deals them.
struct DealReport {
    std::uint64_t boards = 0;
    std::uint64_t solvable = 0;
    std::vector<double> microseconds;  // CPU time of each solve, in dealing order
    double total_seconds = 0;          // all solves together
    double clock_microseconds = 0;     // the clock's own cost, taken off each time
};

// Deals `boards` boards from a Dealer seeded with `seed` (seven draws per
// board, CODE(0) first) and solves each, timing the solves alone (CPU time
// of the calling thread, less what reading the clock costs). The kRetimed
// slowest boards are then timed again: the median of five runs each.
inline constexpr std::size_t kRetimed = 10;
DealReport deal(std::uint64_t boards, std::uint64_t seed, Solver& solver);

}  // namespace morvane::solver
