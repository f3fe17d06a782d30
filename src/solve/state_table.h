#pragma once
// A table of states (cells on the board, player's cell) with a verdict:
// lost, or winnable.
//
// Fixed size, set-associative and lossy: when a bucket is full an old entry
// makes way, which costs only a repeated search, never a wrong answer, since
// an entry is trusted only when its whole state matches.
//
// An entry takes 32 bits. A state's 33 bits are mixed by a multiplication
// that loses nothing (by an odd number, modulo 2^33); the high bits of the
// mix pick the bucket and the entry keeps the low ones, so that bucket and
// entry together still tell the whole state. Above them sit the verdict and
// the number of the board the entry belongs to, so starting a new board
// forgets the old one's entries without touching memory.

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

namespace morvane::solver {

class StateTable {
public:
    // 2^bucket_bits buckets of four entries; 8 to 20 bits.
    explicit StateTable(int bucket_bits);

    // Forgets every entry; the next board starts empty.
    void next_board();

    // The verdict stored for the state (true: winnable), if any.
    std::optional<bool> find(std::uint32_t cells, int player) const {
        // The four entries at once; at most one of them holds the state.
        const Slot slot = slot_of(cells, player);
        const Lanes entries = buckets_[slot.bucket].lanes;
        const Lanes found = ((entries & ~verdict_) == (board_ | slot.rest)) & (entries | kFound);
        std::uint64_t halves[2];
        std::memcpy(halves, &found, sizeof halves);
        const std::uint64_t both = halves[0] | halves[1];
        const std::uint32_t entry = std::uint32_t(both | both >> 32);
        if (!(entry & kFound)) return std::nullopt;
        return (entry & verdict_) != 0;
    }

    void store(std::uint32_t cells, int player, bool winnable);

    // The memory its entries take.
    std::size_t bytes() const { return buckets_count_ * sizeof(Bucket); }

    // Asks the memory for the state's bucket ahead of find() or store().
    void prefetch(std::uint32_t cells, int player) const {
        __builtin_prefetch(&buckets_[slot_of(cells, player).bucket]);
    }

private:
    // Four entries per bucket, a quarter of a cache line; compared as one
    // vector of four lanes.
    using Lanes = std::uint32_t __attribute__((vector_size(16)));
    union Bucket {
        std::uint32_t entries[4];
        Lanes lanes;
    };
    static constexpr int kStateBits = 33;  // 28 cells and 5 bits of player
    static constexpr std::uint64_t kStateMask = (std::uint64_t{1} << kStateBits) - 1;
    // Bit 31 is in no entry; find() marks the lane it found with it.
    static constexpr std::uint32_t kFound = std::uint32_t{1} << 31;

    struct Slot {
        std::uint64_t bucket;
        std::uint32_t rest;  // the bits of the mixed state the bucket does not tell
    };
    Slot slot_of(std::uint32_t cells, int player) const {
        const std::uint64_t mixed = ((std::uint64_t(player) << 28 | cells) * 0x9E3779B97F4A7C15ull) & kStateMask;
        return {mixed >> rest_bits_, std::uint32_t(mixed) & rest_mask_};
    }

    int rest_bits_;
    std::uint32_t rest_mask_;
    std::uint32_t verdict_;  // the bit above the rest
    int board_shift_;        // where the board number starts, above the verdict
    std::uint32_t board_;    // this board's number, in place; never 0
    std::size_t buckets_count_;
    std::unique_ptr<Bucket[]> buckets_;
};

}  // namespace morvane::solver
