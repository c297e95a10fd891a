// Line-level helpers shared by the level-2 and level-3 finders (and the hint engine): a bit
// summary of one line of an OrientedGrid and the valid lines of a side as bit values.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "game/line_tables.h"
#include "solver/finders.h"

namespace tl {

// One line as bit sets over its positions (bit p = position p).
struct LineScan {
    std::uint32_t filled = 0; // positions holding 0 or 1
    std::uint32_t ones = 0;   // positions holding 1
    int zeros = 0;
    int oneCount = 0;

    std::uint32_t empty(int n) const { return ~filled & ((1u << n) - 1u); }
    int filledCount() const { return zeros + oneCount; }
    // A complete valid line E (as bits) fits this line when it agrees on every filled cell.
    bool fits(std::uint32_t e) const { return ((e ^ ones) & filled) == 0; }
};

// A line's summary: cells holding 0 or 1 are filled, anything else counts as empty.
inline LineScan ScanLine(const OrientedGrid &g, int line)
{
    if (g.scans())
        return g.scans()[line];
    LineScan s;
    for (int p = 0; p < g.n(); ++p) {
        const std::int32_t v = g.at(line, p);
        if (v == 0) {
            s.filled |= 1u << p;
            ++s.zeros;
        } else if (v == 1) {
            s.filled |= 1u << p;
            s.ones |= 1u << p;
            ++s.oneCount;
        }
    }
    return s;
}

// The summaries of every line of the orientation, by line number.
inline std::array<LineScan, 14> ScanLines(const OrientedGrid &g)
{
    std::array<LineScan, 14> s;
    for (int l = 0; l < g.n(); ++l)
        s[l] = ScanLine(g, l);
    return s;
}

// The valid lines of side n as bit values, or nullptr (count 0) for a side without a table.
struct ValidLines {
    const std::int32_t *bits = nullptr;
    int count = 0;
};

inline ValidLines ValidLinesOf(const LineTables &tables, int n)
{
    const std::vector<std::int32_t> &b = tables.bits(n);
    return {b.empty() ? nullptr : b.data(), static_cast<int>(b.size())};
}

// The valid lines of a side are held in increasing order, as bits and as LineCodes alike (the
// two tables run in step), so the lines that share the values of the upper half of the
// positions (n/2 .. n-1) form one run. For a line whose upper half has at most four empty
// cells, UpperRuns gives the runs of the lines that agree with its filled upper cells, in
// increasing order: scanning them meets the lines that fit in the same order as a scan of the
// whole table, skipping only lines that cannot fit. Otherwise, or for a table of another
// length than the shared one, it gives false and the whole table is scanned.
struct TableRuns {
    int count = 0;
    std::array<int, 16> begin{}, end{};
};

// Per side, where the run of each upper half starts (entry u: the first line whose upper half
// is u or more; one entry more than there are upper halves).
inline const std::vector<int> &UpperRunStarts(int n)
{
    static const std::array<std::vector<int>, 15> starts = [] {
        std::array<std::vector<int>, 15> all;
        for (int side : {8, 10, 12, 14}) {
            const std::vector<std::int32_t> &bits = SharedLineTables().bits(side);
            const int h = side / 2;
            std::vector<int> &s = all[side];
            s.assign((std::size_t{1} << (side - h)) + 1, 0);
            for (std::size_t u = 0; u < s.size(); ++u)
                s[u] = static_cast<int>(
                    std::lower_bound(bits.begin(), bits.end(), static_cast<std::int32_t>(u << h)) -
                    bits.begin());
        }
        return all;
    }();
    return starts[n];
}

inline bool UpperRuns(int size, int n, std::uint32_t filled, std::uint32_t ones, TableRuns &runs)
{
    constexpr int kMaxUpperEmpty = 4;
    if (n < 0 || n > 14)
        return false;
    const std::vector<int> &starts = UpperRunStarts(n);
    if (starts.empty() || starts.back() != size)
        return false;
    const int h = n / 2;
    const std::uint32_t upperAll = ((1u << n) - 1u) & ~((1u << h) - 1u);
    const std::uint32_t free = upperAll & ~filled;
    if (std::popcount(free) > kMaxUpperEmpty)
        return false;
    const std::uint32_t fixedOnes = ones & filled & upperAll;
    runs.count = 0;
    // Submasks of `free` in increasing order.
    std::uint32_t sub = 0;
    while (true) {
        const std::uint32_t upper = (fixedOnes | sub) >> h;
        const int b = starts[upper], e = starts[upper + 1];
        if (b != e) {
            runs.begin[runs.count] = b;
            runs.end[runs.count] = e;
            ++runs.count;
        }
        if (sub == free)
            break;
        sub = (sub - free) & free;
    }
    return true;
}

// The board sides that have a table of valid lines; the upper-level finders decide nothing
// on any other side, and their fixed 14 x 14 tables are never indexed beyond 13.
inline bool SupportedSide(int n) { return n == 8 || n == 10 || n == 12 || n == 14; }

// The valid lines of the shared tables as bit sets over their index in the table: the lines
// that fit a line's filled cells are the AND of one set per group of three positions (the
// lines that agree with the filled cells of the group), a few dozen word operations instead
// of a test of every valid line. The fitting lines are then met in table order, so every
// search that combines what they hold (an AND, an OR) gets the answer of a scan of the whole
// table that passes over the lines that do not fit.
class FittingIndex {
public:
    static constexpr int kMaxWords = 16; // up to 1,024 lines (14 x 14 has 518)
    // The index of side n when `lines` is the shared table of that side, as bits or as
    // LineCodes, else null: another table has other lines in other places.
    static const FittingIndex *For(const std::int32_t *lines, int n)
    {
        static const std::array<FittingIndex, 4> all = [] {
            std::array<FittingIndex, 4> made;
            for (int side : {8, 10, 12, 14})
                made[side / 2 - 4].build(SharedLineTables(), side);
            return made;
        }();
        if (!SupportedSide(n))
            return nullptr;
        const FittingIndex &index = all[n / 2 - 4];
        if (index.words_ == 0 || (lines != index.bits_ && lines != index.codes_))
            return nullptr;
        return &index;
    }

    int words() const { return words_; }
    // The shared table of valid lines as bits, in the order of the sets' bits.
    const std::int32_t *lines() const { return bits_; }

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

    void build(const LineTables &tables, int n)
    {
        const std::vector<std::int32_t> &lines = tables.bits(n);
        if (lines.empty() || lines.size() > static_cast<std::size_t>(kMaxWords) * 64 ||
            tables.codes(n).size() != lines.size())
            return;
        bits_ = lines.data();
        codes_ = tables.codes(n).data();
        words_ = static_cast<int>((lines.size() + 63) / 64);
        groups_.assign(static_cast<std::size_t>(kGroups) * 64 * words_, 0);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::uint64_t bit = std::uint64_t{1} << (i % 64);
            all_[i / 64] |= bit;
            const auto e = static_cast<std::uint32_t>(lines[i]);
            for (int g = 0; g < kGroups; ++g) {
                const std::uint32_t mine = (e >> (3 * g)) & 7u;
                // Line i fits every state whose filled cells agree with it.
                for (std::uint32_t state = 0; state < 64; ++state) {
                    const std::uint32_t f = state & 7u, o = state >> 3;
                    if ((o & ~f) == 0 && ((mine ^ o) & f) == 0)
                        groups_[(static_cast<std::size_t>(g) * 64 + state) * words_ + i / 64] |= bit;
                }
            }
        }
    }

    const std::int32_t *bits_ = nullptr, *codes_ = nullptr;
    int words_ = 0;
    std::array<std::uint64_t, kMaxWords> all_{};
    std::vector<std::uint64_t> groups_;
};

} // namespace tl

namespace tl {

inline bool IsColumns(const OrientedGrid &g) { return g.orientation() == Orientation::Columns; }

} // namespace tl

namespace tl {

// Fills `out` with a one-cell deduction at (line, pos) of the orientation and returns true.
inline bool Report(Deduction &out, Technique t, const OrientedGrid &g, int line, int pos, int value,
                   int other = -1, int third = -1, int a = -1, int b = -1)
{
    out.clear(t, g.orientation(), line);
    out.otherLine = other;
    out.thirdLine = third;
    out.posA = a;
    out.posB = b;
    out.add(g.index(line, pos), value);
    return true;
}

} // namespace tl
