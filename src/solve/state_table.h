#pragma once
// A table of states (cells on the board, player's cell) with a verdict:
// lost, or winnable.
//
// Fixed size, set-associative and lossy: when a bucket is full an old entry
// makes way, which costs only a repeated search, never a wrong answer, since
// an entry is trusted only when its whole state matches. Entries carry the
// number of the board they belong to, so starting a new board forgets the
// old one's entries without touching memory.

#include <cstdint>
#include <optional>
#include <vector>

namespace morvane::solver {

class StateTable {
public:
    explicit StateTable(int bucket_bits);

    // Forgets every entry; the next board starts empty.
    void next_board();

    // The verdict stored for the state (true: winnable), if any.
    std::optional<bool> find(std::uint32_t cells, int player) const {
        const std::uint64_t state = state_of(cells, player);
        const Bucket& bucket = bucket_of(cells, player);
        for (const std::uint64_t entry : bucket.entries)
            if ((entry & ~kVerdict) == state) return (entry & kVerdict) != 0;
        return std::nullopt;
    }

    void store(std::uint32_t cells, int player, bool winnable);

    // Asks the memory for the state's bucket ahead of find() or store().
    void prefetch(std::uint32_t cells, int player) const {
        __builtin_prefetch(&bucket_of(cells, player));
    }

private:
    // Four states per bucket, half a cache line.
    struct alignas(32) Bucket {
        std::uint64_t entries[4];
    };
    static constexpr int kStateBits = 33;  // 28 cells and 5 bits of player
    static constexpr std::uint64_t kVerdict = std::uint64_t{1} << kStateBits;
    static constexpr int kBoardShift = kStateBits + 1;

    std::uint64_t state_of(std::uint32_t cells, int player) const {
        return generation_ << kBoardShift | std::uint64_t(player) << 28 | cells;
    }
    Bucket& bucket_of(std::uint32_t cells, int player) { return buckets_[hash(cells, player) & mask_]; }
    const Bucket& bucket_of(std::uint32_t cells, int player) const {
        return buckets_[hash(cells, player) & mask_];
    }
    static std::uint64_t hash(std::uint32_t cells, int player) {
        const std::uint64_t x = (std::uint64_t(player) << 28 | cells) * 0x9E3779B97F4A7C15ull;
        return x >> 29;
    }

    std::vector<Bucket> buckets_;
    std::uint64_t mask_;
    std::uint64_t generation_ = 1;  // never 0, so an empty slot matches nothing
};

}  // namespace morvane::solver
