// Fuzz target: morvane-solve's standard input. The input is read line by
// line as the tool reads it, and each line answered.

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "solve/batch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvane::solver;
    static Solver solver;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string line;
    for (LineRead read; (read = read_line(in, line)) != LineRead::End;) {
        if (line.size() > kLongestLine + 1) std::abort();
        if (read == LineRead::TooLong) continue;
        const std::string answer = morvane::solver::answer(line, solver);
        const bool known = answer.starts_with("invalid: ") || answer == "unsolvable" ||
                           (!answer.empty() && answer.front() >= '1' && answer.front() <= '9');
        if (!known) std::abort();
    }
    return 0;
}
