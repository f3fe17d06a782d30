#include "solve/state_table.h"

#include <algorithm>
#include <iterator>

namespace morvane::solver {

StateTable::StateTable(int bucket_bits)
    : buckets_(std::size_t{1} << bucket_bits, Bucket{}), mask_((std::uint64_t{1} << bucket_bits) - 1) {}

void StateTable::next_board() {
    ++generation_;
    // 30 bits of board number; on the (distant) wrap, clear for real.
    if (generation_ >> (64 - kBoardShift)) {
        std::fill(buckets_.begin(), buckets_.end(), Bucket{});
        generation_ = 1;
    }
}

void StateTable::store(std::uint32_t cells, int player, bool winnable) {
    std::uint64_t* bucket = bucket_of(cells, player).entries;
    const std::uint64_t entry = state_of(cells, player) | (winnable ? kVerdict : 0);
    const std::uint64_t board = generation_ << kBoardShift;
    // A slot of an older board (or an empty one) is free. Newer entries sit
    // nearer the front; in a full bucket the entries move back one place and
    // the one at the back, about the oldest, drops out.
    constexpr int ways = std::size(Bucket{}.entries);
    for (int i = ways - 1; i >= 0; --i)
        if ((bucket[i] >> kBoardShift << kBoardShift) != board) {
            bucket[i] = entry;
            return;
        }
    std::copy_backward(bucket, bucket + ways - 1, bucket + ways);
    bucket[0] = entry;
}

}  // namespace morvane::solver
