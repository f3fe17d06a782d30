#pragma once
// The game-wide variables: they start empty (0) and live as long as the
// program. Whole numbers without an upper bound for all practical play.

#include <cstdint>

namespace morvane {

struct Morvymod {
    std::int64_t moves_left = 0;    // moves left in this game; may go below 0
    std::int64_t score = 0;         // running score, never below 0 after a game
    std::int64_t cell_count = 0;    // scratch counter of the end-of-game tests
    std::int64_t restore_mode = 0;  // 1 once the score box may restore cells
};

}  // namespace morvane
