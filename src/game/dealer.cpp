#include "game/dealer.h"

#include <chrono>
#include <limits>

namespace morvane {

Dealer::Dealer() {
    std::random_device entropy;
    const auto now = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seeds{
        entropy(), entropy(), entropy(), entropy(), static_cast<unsigned>(now), static_cast<unsigned>(now >> 32)};
    engine_.seed(seeds);
}

int Dealer::draw() {
    if (!queued_.empty()) {
        const int cell = queued_.front();
        queued_.pop_front();
        return cell;
    }
    // The generator's numbers are the same on every standard library, but
    // what std::uniform_int_distribution makes of them is not; so the cell
    // is taken from them here. A number from the top sliver that does not
    // fill a last round of 28 is drawn again, so that every cell is equally
    // likely (a real draw scaled by 28 could also round up to 29).
    constexpr std::uint64_t kSpan = 28;
    constexpr std::uint64_t kFullRounds = std::numeric_limits<std::uint64_t>::max() / kSpan * kSpan;
    std::uint64_t number = engine_();
    while (number >= kFullRounds) number = engine_();
    return static_cast<int>(number % kSpan) + 1;
}

void Dealer::seed(std::uint64_t value) {
    engine_.seed(value);
    queued_.clear();
}

void Dealer::queue(int cell) { queued_.push_back(cell); }

}  // namespace morvane
