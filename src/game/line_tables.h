// The tables of every valid line of the four board sizes, with an index of the lines that fit
// a partial line, and the generator's acceptance thresholds. A valid line of N cells holds N/2
// ones and N/2 zeros with no three equal values side by side. The order (increasing bit value)
// and the encodings are relied on by the solver, the generator and the hint engine.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace tl {

// A LineCode holds a line of N cells in 2N bits, two bits per position p (bits 2p, 2p+1):
// 01 for a 0, 10 for a 1, 00 for an empty cell.
constexpr std::int32_t kCodeZero = 1;
constexpr std::int32_t kCodeOne = 2;

// The valid lines of one side as bit sets over their place in the table: the lines that fit a
// line's filled cells are the AND of one set per group of three positions (the lines that agree
// with the filled cells of the group), a few dozen word operations instead of a test of every
// valid line. The fitting lines are then met in table order, so every search that combines what
// they hold (an AND, an OR) gets the answer of a scan of the whole table that passes over the
// lines that do not fit. The index keeps its own copy of the lines, so it stays right for every
// copy of the tables it was built with; it never changes once built.
class FittingIndex {
public:
    static constexpr int kMaxWords = 16; // up to 1,024 lines (14 x 14 has 518)

    // The index of `lines` (valid lines of at most 14 cells, as bits), or null for an empty
    // table or one of more than 1,024 lines.
    static std::shared_ptr<const FittingIndex> Build(const std::vector<std::int32_t> &lines);

    int words() const { return words_; }
    int count() const { return static_cast<int>(lines_.size()); }
    // The lines as bits, in the order of the sets' bits.
    const std::int32_t *lines() const { return lines_.data(); }

    // The lines that fit the filled cells (bit p of `filled`; the value is bit p of `ones`),
    // into `out` (words() words). False when none fits.
    bool fitting(std::uint32_t filled, std::uint32_t ones, std::uint64_t *out) const
    {
        ones &= filled;
        bool first = true;
        for (int g = 0; g < kGroups; ++g) {
            const std::uint32_t f = (filled >> (3 * g)) & 7u;
            if (!f)
                continue;
            const std::uint64_t *set = groupSet(g, f | ((ones >> (3 * g)) & 7u) << 3);
            std::uint64_t any = 0;
            if (first) {
                for (int w = 0; w < words_; ++w)
                    any |= (out[w] = set[w]);
                first = false;
            } else {
                for (int w = 0; w < words_; ++w)
                    any |= (out[w] &= set[w]);
            }
            if (!any)
                return false;
        }
        if (first) // no filled cell: every line fits
            std::copy(all_.begin(), all_.begin() + words_, out);
        return true;
    }

private:
    static constexpr int kGroups = 5; // positions 0-2, 3-5, 6-8, 9-11, 12-13
    // State of a group: bit k (k < 3) for a filled position 3g + k, bit 3 + k for its 1.
    const std::uint64_t *groupSet(int g, std::uint32_t state) const
    {
        return &groups_[(static_cast<std::size_t>(g) * 64 + state) * words_];
    }

    std::vector<std::int32_t> lines_;
    int words_ = 0;
    std::array<std::uint64_t, kMaxWords> all_{};
    std::vector<std::uint64_t> groups_;
};

struct LineTables {
    std::array<std::int32_t, 16384> BitCount{};
    std::vector<std::int32_t> LineBits8, LineBits10, LineBits12, LineBits14;
    std::vector<std::int32_t> LineCodes8, LineCodes10, LineCodes12, LineCodes14;
    std::int32_t LastLine8 = -1, LastLine10 = -1, LastLine12 = -1, LastLine14 = -1;
    // The index of each side's lines (N = 8, 10, 12, 14 at 0..3), built with them; copies of
    // the tables share it. Tables filled in by hand have none, and whoever puts other lines
    // into a table must clear its entry.
    std::array<std::shared_ptr<const FittingIndex>, 4> Fitting;

    // The tables of side n (8, 10, 12 or 14); an empty table for any other n.
    const std::vector<std::int32_t> &bits(int n) const;
    const std::vector<std::int32_t> &codes(int n) const;
    std::int32_t lastLine(int n) const;
    // The index of the lines of side n, or null when there is none or it holds another number
    // of lines than the tables (their lines were replaced): the searches then scan the tables.
    const FittingIndex *fittingIndex(int n) const;
};

// The generator's acceptance thresholds, indexed by size index 0..3 (N = 8, 10, 12, 14).
struct GeneratorThresholds {
    std::array<std::int16_t, 4> DuplicateMin{};
    std::array<std::int16_t, 4> DuplicateThreshold{};
    std::array<std::int16_t, 4> DuplicateMax{};
    std::array<std::int16_t, 4> HeavyMin{};
    std::array<std::int16_t, 4> HeavyThreshold{};
    std::array<std::int16_t, 4> HeavyMax{};
};

// Builds every table and its index from scratch and sets the thresholds to their starting
// values.
void Init_Line_Tables(LineTables &tables, GeneratorThresholds &thresholds);

// The tables built once for the whole process: they never change after being built.
const LineTables &SharedLineTables();

// The LineCode of a complete line given as bits (bit p = value at position p).
std::int32_t LineCodeOfBits(std::int32_t bits, int n);

} // namespace tl
