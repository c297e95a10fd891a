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

// The valid lines of side n as bit values, or nullptr (count 0) for a side without a table,
// with the tables' index of those lines (null for tables without one: the searches then scan).
struct ValidLines {
    const std::int32_t *bits = nullptr;
    int count = 0;
    const FittingIndex *index = nullptr;
};

inline ValidLines ValidLinesOf(const LineTables &tables, int n)
{
    const std::vector<std::int32_t> &b = tables.bits(n);
    return {b.empty() ? nullptr : b.data(), static_cast<int>(b.size()), tables.fittingIndex(n)};
}

// For tables without an index (filled in by hand): the valid lines of a side are held in
// increasing order, as bits and as LineCodes alike (the two tables run in step), so the lines
// that share the values of the upper half of the positions (n/2 .. n-1) form one run. For a
// line whose upper half has at most four empty cells, UpperRuns gives the runs of the lines
// that agree with its filled upper cells, in increasing order: scanning them meets the lines
// that fit in the same order as a scan of the whole table, skipping only lines that cannot
// fit. Otherwise, or for a table of another length than the shared one, it gives false and the
// whole table is scanned.
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
