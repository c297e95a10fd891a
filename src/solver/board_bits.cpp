#include "solver/board_bits.h"

#include <bit>

namespace tl {

void BoardBits::build(const std::int32_t *cells, int side)
{
    n = side;
    rowZero.fill(0);
    rowOne.fill(0);
    rowEmpty.fill(0);
    colZero.fill(0);
    colOne.fill(0);
    colEmpty.fill(0);
    rowZeros.fill(0);
    rowOnes.fill(0);
    colZeros.fill(0);
    colOnes.fill(0);
    emptyCount = 0;
    odd = 0;
    for (int r = 0, i = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c, ++i) {
            const std::int32_t v = cells[i];
            const std::uint32_t rb = 1u << c, cb = 1u << r;
            if (v == 0) {
                rowZero[r] |= rb;
                colZero[c] |= cb;
                ++rowZeros[r];
                ++colZeros[c];
            } else if (v == 1) {
                rowOne[r] |= rb;
                colOne[c] |= cb;
                ++rowOnes[r];
                ++colOnes[c];
            } else if (v == -1) {
                rowEmpty[r] |= rb;
                colEmpty[c] |= cb;
                ++emptyCount;
            } else {
                ++odd;
            }
        }
    }
}

void BoardBits::change(int index, std::int32_t from, std::int32_t to)
{
    const int r = index / n, c = index % n;
    const std::uint32_t rb = 1u << c, cb = 1u << r;
    auto clear = [&](std::int32_t v) {
        if (v == 0) {
            rowZero[r] &= ~rb;
            colZero[c] &= ~cb;
            --rowZeros[r];
            --colZeros[c];
        } else if (v == 1) {
            rowOne[r] &= ~rb;
            colOne[c] &= ~cb;
            --rowOnes[r];
            --colOnes[c];
        } else if (v == -1) {
            rowEmpty[r] &= ~rb;
            colEmpty[c] &= ~cb;
            --emptyCount;
        } else {
            --odd;
        }
    };
    auto put = [&](std::int32_t v) {
        if (v == 0) {
            rowZero[r] |= rb;
            colZero[c] |= cb;
            ++rowZeros[r];
            ++colZeros[c];
        } else if (v == 1) {
            rowOne[r] |= rb;
            colOne[c] |= cb;
            ++rowOnes[r];
            ++colOnes[c];
        } else if (v == -1) {
            rowEmpty[r] |= rb;
            colEmpty[c] |= cb;
            ++emptyCount;
        } else {
            ++odd;
        }
    };
    clear(from);
    put(to);
}

namespace {

// The lines of one orientation: line k is row k (bit p = column p) or column k (bit p = row p).
struct Lines {
    const std::array<std::uint32_t, 14> &zero, &one, &empty;
    const std::array<std::int8_t, 14> &zeros, &ones;
};

Lines linesOf(const BoardBits &b, bool columns)
{
    return columns ? Lines{b.colZero, b.colOne, b.colEmpty, b.colZeros, b.colOnes}
                   : Lines{b.rowZero, b.rowOne, b.rowEmpty, b.rowZeros, b.rowOnes};
}

inline int lowest(std::uint32_t m) { return std::countr_zero(m); }
inline std::int32_t bit(std::uint32_t m, int p) { return static_cast<std::int32_t>((m >> p) & 1u); }

bool put(CellSetting &out, int index, std::int32_t value)
{
    out.index = index;
    out.value = value;
    return true;
}

} // namespace

// The level-0 scans visit the empty cells in CellIndex order, that is row by row and, within a
// row, from the left, whichever line the test looks along. So every scan walks the rows and
// tests all cells of a row at once: along the row with shifts of its own sets, along the
// columns with the sets of the rows above and below.

bool BitsBordering(const BoardBits &b, bool columns, CellSetting &out)
{
    const int n = b.n;
    for (int r = 0; r < n; ++r) {
        const std::uint32_t e = b.rowEmpty[r];
        if (!e)
            continue;
        std::uint32_t after, before; // the two cells after (right, below) / before agree
        std::uint32_t afterOne, beforeOne; // the value of the nearer cell of that pair
        if (!columns) {
            const std::uint32_t z = b.rowZero[r], o = b.rowOne[r];
            after = ((z >> 1) & (z >> 2)) | ((o >> 1) & (o >> 2));
            before = ((z << 1) & (z << 2)) | ((o << 1) & (o << 2));
            afterOne = o >> 1;
            beforeOne = o << 1;
        } else {
            after = r + 2 < n ? (b.rowZero[r + 1] & b.rowZero[r + 2]) | (b.rowOne[r + 1] & b.rowOne[r + 2])
                              : 0;
            before = r >= 2 ? (b.rowZero[r - 1] & b.rowZero[r - 2]) | (b.rowOne[r - 1] & b.rowOne[r - 2])
                            : 0;
            afterOne = r + 1 < n ? b.rowOne[r + 1] : 0;
            beforeOne = r >= 1 ? b.rowOne[r - 1] : 0;
        }
        const std::uint32_t m = e & (after | before);
        if (m) {
            const int c = lowest(m);
            // The pair after the cell is looked at first.
            const std::int32_t v = bit(after, c) ? bit(afterOne, c) : bit(beforeOne, c);
            return put(out, r * n + c, 1 - v);
        }
    }
    return false;
}

bool BitsCentering(const BoardBits &b, bool columns, CellSetting &out)
{
    const int n = b.n;
    for (int r = 0; r < n; ++r) {
        const std::uint32_t e = b.rowEmpty[r];
        if (!e)
            continue;
        std::uint32_t both, beforeOne;
        if (!columns) {
            const std::uint32_t z = b.rowZero[r], o = b.rowOne[r];
            both = ((z << 1) & (z >> 1)) | ((o << 1) & (o >> 1));
            beforeOne = o << 1;
        } else {
            if (r == 0 || r == n - 1)
                continue;
            both = (b.rowZero[r - 1] & b.rowZero[r + 1]) | (b.rowOne[r - 1] & b.rowOne[r + 1]);
            beforeOne = b.rowOne[r - 1];
        }
        const std::uint32_t m = e & both;
        if (m) {
            const int c = lowest(m);
            return put(out, r * n + c, 1 - bit(beforeOne, c));
        }
    }
    return false;
}

bool BitsOneKindLeft(const BoardBits &b, bool columns, CellSetting &out)
{
    const int n = b.n;
    const int half = n / 2;
    if (!columns) {
        for (int r = 0; r < n; ++r) {
            const std::uint32_t e = b.rowEmpty[r];
            if (!e)
                continue;
            if (b.rowZeros[r] == half)
                return put(out, r * n + lowest(e), 1);
            if (b.rowOnes[r] == half)
                return put(out, r * n + lowest(e), 0);
        }
        return false;
    }
    // The columns already holding half zeros (they take 1) or else half ones (they take 0).
    std::uint32_t zerosDone = 0, onesDone = 0;
    for (int c = 0; c < n; ++c) {
        if (b.colZeros[c] == half)
            zerosDone |= 1u << c;
        else if (b.colOnes[c] == half)
            onesDone |= 1u << c;
    }
    const std::uint32_t done = zerosDone | onesDone;
    if (!done)
        return false;
    for (int r = 0; r < n; ++r) {
        const std::uint32_t m = b.rowEmpty[r] & done;
        if (m) {
            const int c = lowest(m);
            return put(out, r * n + c, bit(zerosDone, c) ? 1 : 0);
        }
    }
    return false;
}

bool BitsAvoidableDuplicates(const BoardBits &b, bool columns, CellSetting &out)
{
    const int n = b.n;
    const int half = n / 2;
    const Lines L = linesOf(b, columns);
    for (int l1 = 0; l1 < n; ++l1) {
        // A line missing a single 0 is tried only for its zeros; otherwise, missing a single
        // 1, for its ones.
        const std::array<std::uint32_t, 14> *kind;
        const std::array<std::int8_t, 14> *counts;
        std::int32_t value; // what the decided cell takes
        if (L.zeros[l1] == half - 1) {
            kind = &L.zero;
            counts = &L.zeros;
            value = 1;
        } else if (L.ones[l1] == half - 1) {
            kind = &L.one;
            counts = &L.ones;
            value = 0;
        } else {
            continue;
        }
        const std::uint32_t mine = (*kind)[l1];
        for (int l2 = 0; l2 < n; ++l2) {
            const std::uint32_t theirs = (*kind)[l2];
            if (l2 == l1 || (*counts)[l2] != half || (mine & ~theirs) != 0)
                continue;
            // The positions where only the other line holds the value, if empty here.
            const std::uint32_t m = theirs & ~mine & L.empty[l1];
            if (m) {
                const int p = lowest(m);
                return put(out, columns ? p * n + l1 : l1 * n + p, value);
            }
        }
    }
    return false;
}

} // namespace tl
