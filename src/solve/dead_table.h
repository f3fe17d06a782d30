#pragma once
// A table of states (cells on the board, player's cell) already proven lost.
//
// Fixed size, set-associative and lossy: when a bucket is full an old entry
// makes way, which costs only a repeated search, never a wrong answer, since
// an entry is trusted only when its whole state matches. Entries carry the
// number of the board they belong to, so starting a new board forgets the
// old one's entries without touching memory.

#include <cstdint>
#include <vector>

namespace morvane::solver {

class DeadTable {
public:
    explicit DeadTable(int bucket_bits = 18);

    // Forgets every entry; the next board starts empty.
    void next_board();

    bool contains(std::uint32_t cells, int player) const {
        const std::uint64_t entry = entry_of(cells, player);
        const std::uint64_t* bucket = bucket_of(cells, player);
        for (int i = 0; i < kWays; ++i)
            if (bucket[i] == entry) return true;
        return false;
    }

    void insert(std::uint32_t cells, int player);

private:
    static constexpr int kWays = 8;  // one 64-byte cache line per bucket
    static constexpr int kStateBits = 33;  // 28 cells and 5 bits of player

    std::uint64_t entry_of(std::uint32_t cells, int player) const {
        return generation_ << kStateBits | std::uint64_t(player) << 28 | cells;
    }
    std::uint64_t* bucket_of(std::uint32_t cells, int player) {
        return slots_.data() + (hash(cells, player) & mask_) * kWays;
    }
    const std::uint64_t* bucket_of(std::uint32_t cells, int player) const {
        return slots_.data() + (hash(cells, player) & mask_) * kWays;
    }
    static std::uint64_t hash(std::uint32_t cells, int player) {
        std::uint64_t x = (std::uint64_t(player) << 28 | cells) * 0x9E3779B97F4A7C15ull;
        return x >> 29;
    }

    std::vector<std::uint64_t> slots_;
    std::uint64_t mask_;
    std::uint64_t generation_ = 1;  // never 0, so an empty slot matches nothing
};

}  // namespace morvane::solver
