#include "solve/dead_table.h"

#include <algorithm>

namespace morvane::solver {

DeadTable::DeadTable(int bucket_bits)
    : slots_(std::size_t{kWays} << bucket_bits, 0), mask_((std::uint64_t{1} << bucket_bits) - 1) {}

void DeadTable::next_board() {
    ++generation_;
    // 31 bits of board number; on the (distant) wrap, clear for real.
    if (generation_ >> (64 - kStateBits)) {
        std::fill(slots_.begin(), slots_.end(), 0);
        generation_ = 1;
    }
}

void DeadTable::insert(std::uint32_t cells, int player) {
    std::uint64_t* bucket = bucket_of(cells, player);
    const std::uint64_t current = generation_ << kStateBits;
    // A slot of an older board (or an empty one) is free. Newer entries sit
    // nearer the front; in a full bucket the entries move back one place and
    // the one at the back, about the oldest, drops out.
    for (int i = kWays - 1; i >= 0; --i)
        if ((bucket[i] >> kStateBits << kStateBits) != current) {
            bucket[i] = entry_of(cells, player);
            return;
        }
    std::copy_backward(bucket, bucket + kWays - 1, bucket + kWays);
    bucket[0] = entry_of(cells, player);
}

}  // namespace morvane::solver
