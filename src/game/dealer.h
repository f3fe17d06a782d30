#pragma once
// The random source behind the Randomizer: uniform cells 1..28.

#include <cstdint>
#include <deque>
#include <random>

namespace morvane {

class Dealer {
public:
    // Seeded once from the system's entropy source and the clock, so that
    // draws in quick succession are still independent.
    Dealer();

    // A cell 1..28, each equally likely; after seed(v) the same cells on
    // every build and platform.
    int draw();

    void seed(std::uint64_t value);  // repeatable deals from here on
    void queue(int cell);            // dealt before the generator is asked again

private:
    std::mt19937_64 engine_;
    std::deque<int> queued_;
};

}  // namespace morvane
