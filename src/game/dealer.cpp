#include "game/dealer.h"

#include <chrono>

namespace morvane {

Dealer::Dealer() {
    std::random_device entropy;
    const auto now = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seeds{entropy(), entropy(), entropy(), entropy(),
                        static_cast<unsigned>(now), static_cast<unsigned>(now >> 32)};
    engine_.seed(seeds);
}

int Dealer::draw() {
    if (!queued_.empty()) {
        const int cell = queued_.front();
        queued_.pop_front();
        return cell;
    }
    // An integer distribution: a real draw scaled by 28 could round up to 29.
    return std::uniform_int_distribution<int>(1, 28)(engine_);
}

void Dealer::seed(std::uint64_t value) {
    engine_.seed(value);
    queued_.clear();
}

void Dealer::queue(int cell) { queued_.push_back(cell); }

}  // namespace morvane
