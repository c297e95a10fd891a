// A direct-mapped memo table that forgets everything at once without clearing its entries.
//
// The solver's memos (the two forms of Uncovered cell(s), the couples of a line) hold tens of
// thousands of entries, of which one solve meets a few hundred. Clearing them in full when a
// solver is made, or when it moves to another side, cost more than the solve itself. Here
// the entries are grouped in blocks of 2^BlockBits, and each block carries the generation in
// which its entries were last reset: an entry counts only when its block's stamp is the
// current generation, and a block whose stamp is old reads as empty and is reset on its first
// write. Forgetting everything moves on to the next generation.
//
// Why it forgets exactly what a full clear forgets: an entry is read (find) only when its
// block's stamp equals the current generation, and a block takes that stamp (slot) only
// after every entry in it was set to `empty` within this generation; so every entry read was
// either reset or written since the last forget(). No stamp is ever ahead of the generation,
// so a stamp equal to the current one cannot come from an earlier generation, except after
// the counter wraps: when it would wrap to 0 every stamp is set back to 0 and counting starts
// again at 1, so no stamp left from before the wrap can match a generation after it. The
// entries' storage is never read before its block is reset, so it is allocated without
// being initialised.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tl {

// Entry must be trivially copyable; `empty` is the value of an entry nothing was written to.
template <typename Entry, int SlotBits, int BlockBits>
class StampedTable {
public:
    static constexpr std::size_t kSlots = std::size_t{1} << SlotBits;
    static constexpr std::size_t kBlockSize = std::size_t{1} << BlockBits;
    static constexpr std::size_t kBlocks = kSlots / kBlockSize;

    explicit StampedTable(const Entry &empty) : empty_(empty) {}

    // The entry at `slot` when it was reset or written since the last forget(), else null.
    const Entry *find(std::size_t slot) const
    {
        if (!stamps_ || stamps_[slot >> BlockBits] != generation_)
            return nullptr;
        return &entries_[slot];
    }

    // The entry at `slot` for reading and writing: `empty` unless written since the last
    // forget().
    Entry &slot(std::size_t slot)
    {
        if (!stamps_)
            allocate();
        const std::size_t block = slot >> BlockBits;
        if (stamps_[block] != generation_) {
            std::fill_n(&entries_[block << BlockBits], kBlockSize, empty_);
            stamps_[block] = generation_;
        }
        return entries_[slot];
    }

    // Forgets every entry.
    void forget()
    {
        if (++generation_ == 0) {
            if (stamps_)
                std::fill_n(stamps_.get(), kBlocks, std::uint8_t{0});
            generation_ = 1;
        }
    }

    // The generation now counted, for tests of the wrap.
    std::uint8_t generation() const { return generation_; }

private:
    void allocate()
    {
        entries_ = std::make_unique_for_overwrite<Entry[]>(kSlots);
        stamps_ = std::make_unique<std::uint8_t[]>(kBlocks); // every block stamped 0: empty
    }

    Entry empty_;
    std::unique_ptr<Entry[]> entries_;
    std::unique_ptr<std::uint8_t[]> stamps_; // per block; 0 never matches the generation
    std::uint8_t generation_ = 1;
};

} // namespace tl
