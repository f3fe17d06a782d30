#include "solve/state_table.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace morvane::solver {

StateTable::StateTable(int bucket_bits)
    : rest_bits_(kStateBits - bucket_bits),
      rest_mask_((std::uint32_t{1} << rest_bits_) - 1),
      verdict_(std::uint32_t{1} << rest_bits_),
      board_shift_(rest_bits_ + 1),
      board_(std::uint32_t{1} << board_shift_),
      buckets_count_(std::size_t{1} << bucket_bits),
      buckets_(new Bucket[buckets_count_]()) {
    // At least a few bits of board number below kFound.
    if (bucket_bits < 8 || bucket_bits > 20) throw std::invalid_argument("StateTable: 8 to 20 bucket bits");
}

void StateTable::next_board() {
    const std::uint32_t next = (board_ >> board_shift_) + 1;
    if (next >> (31 - board_shift_)) {
        // The board numbers wrap (every few thousand boards): clear for real.
        std::fill(buckets_.get(), buckets_.get() + buckets_count_, Bucket{});
        board_ = std::uint32_t{1} << board_shift_;
        return;
    }
    board_ = next << board_shift_;
}

void StateTable::store(std::uint32_t cells, int player, bool winnable) {
    const Slot slot = slot_of(cells, player);
    std::uint32_t* bucket = buckets_[slot.bucket].entries;
    const std::uint32_t entry = board_ | slot.rest | (winnable ? verdict_ : 0);
    // A slot of an older board (or an empty one) is free. Newer entries sit
    // nearer the front; in a full bucket the entries move back one place and
    // the one at the back, about the oldest, drops out.
    constexpr int ways = std::size(Bucket{}.entries);
    for (int i = ways - 1; i >= 0; --i)
        if ((bucket[i] >> board_shift_ << board_shift_) != board_) {
            bucket[i] = entry;
            return;
        }
    std::copy_backward(bucket, bucket + ways - 1, bucket + ways);
    bucket[0] = entry;
}

}  // namespace morvane::solver
