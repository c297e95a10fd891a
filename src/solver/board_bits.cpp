#include "solver/board_bits.h"

#include <bit>

namespace tl {

namespace {

// Counts value v of the cell at row r, column c into the summary (Add) or out of it.
template <bool Add>
inline void account(BoardBits &b, int r, int c, std::int32_t v)
{
    const std::uint32_t rb = 1u << c, cb = 1u << r;
    auto mark = [&](std::uint32_t &row, std::uint32_t &col) {
        if constexpr (Add) {
            row |= rb;
            col |= cb;
        } else {
            row &= ~rb;
            col &= ~cb;
        }
    };
    auto step = [](auto &count) {
        if constexpr (Add)
            ++count;
        else
            --count;
    };
    if (v == 0) {
        mark(b.rowZero[r], b.colZero[c]);
        step(b.rowZeros[r]);
        step(b.colZeros[c]);
    } else if (v == 1) {
        mark(b.rowOne[r], b.colOne[c]);
        step(b.rowOnes[r]);
        step(b.colOnes[c]);
    } else if (v == -1) {
        mark(b.rowEmpty[r], b.colEmpty[c]);
        step(b.emptyCount);
    } else {
        step(b.odd);
    }
}

} // namespace

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
    for (int r = 0, i = 0; r < n; ++r)
        for (int c = 0; c < n; ++c, ++i)
            account<true>(*this, r, c, cells[i]);
    decided = {};
    decidedRows = {};
    stale.fill((1u << n) - 1u);
}

namespace {

// The cells of row r with two equal cells after them (right, or below) and before them (left,
// or above), along the rows or along the columns; bits beyond the board are never set.
struct Pairs {
    std::uint32_t after = 0, before = 0;
};

Pairs borderingPairs(const BoardBits &b, int r, bool columns)
{
    const int n = b.n;
    Pairs p;
    if (!columns) {
        const std::uint32_t z = b.rowZero[r], o = b.rowOne[r];
        p.after = ((z >> 1) & (z >> 2)) | ((o >> 1) & (o >> 2));
        p.before = ((z << 1) & (z << 2)) | ((o << 1) & (o << 2));
    } else {
        if (r + 2 < n)
            p.after = (b.rowZero[r + 1] & b.rowZero[r + 2]) | (b.rowOne[r + 1] & b.rowOne[r + 2]);
        if (r >= 2)
            p.before = (b.rowZero[r - 1] & b.rowZero[r - 2]) | (b.rowOne[r - 1] & b.rowOne[r - 2]);
    }
    return p;
}

// The cells of row r between two equal cells, along the row or along the column.
std::uint32_t centeringPairs(const BoardBits &b, int r, bool columns)
{
    if (!columns) {
        const std::uint32_t z = b.rowZero[r], o = b.rowOne[r];
        return ((z << 1) & (z >> 1)) | ((o << 1) & (o >> 1));
    }
    if (r == 0 || r == b.n - 1)
        return 0;
    return (b.rowZero[r - 1] & b.rowZero[r + 1]) | (b.rowOne[r - 1] & b.rowOne[r + 1]);
}

} // namespace

std::uint32_t BoardBits::firstRows(Scan scan)
{
    // Rows whose cells changed near them since the scan last looked are worked out again.
    for (std::uint32_t m = stale[scan]; m; m &= m - 1) {
        const int r = std::countr_zero(m);
        const bool columns = scan == kBorderCols || scan == kCenterCols;
        std::uint32_t pairs;
        if (scan == kBorderRows || scan == kBorderCols) {
            const Pairs p = borderingPairs(*this, r, columns);
            pairs = p.after | p.before;
        } else {
            pairs = centeringPairs(*this, r, columns);
        }
        const std::uint32_t hit = rowEmpty[r] & pairs;
        decided[scan][r] = hit;
        if (hit)
            decidedRows[scan] |= 1u << r;
        else
            decidedRows[scan] &= ~(1u << r);
    }
    stale[scan] = 0;
    return decidedRows[scan];
}

void BoardBits::changedAround(int r)
{
    // A cell of row r takes part in the scans along its row and in the column scans of the
    // rows up to two above and below it (one for Centering).
    const std::uint32_t self = 1u << r;
    const std::uint32_t all = (1u << n) - 1u;
    stale[kBorderRows] |= self;
    stale[kCenterRows] |= self;
    stale[kBorderCols] |= ((self << 2) | (self << 1) | self | (self >> 1) | (self >> 2)) & all;
    stale[kCenterCols] |= ((self << 1) | self | (self >> 1)) & all;
}

std::int32_t BoardBits::pairValue(Scan scan, int r, int c) const
{
    const bool columns = scan == kBorderCols || scan == kCenterCols;
    if (scan == kCenterRows || scan == kCenterCols)
        return columns ? (rowOne[r - 1] >> c) & 1 : (rowOne[r] >> (c - 1)) & 1;
    const Pairs p = borderingPairs(*this, r, columns);
    if ((p.after >> c) & 1)
        return columns ? (rowOne[r + 1] >> c) & 1 : (rowOne[r] >> (c + 1)) & 1;
    return columns ? (rowOne[r - 1] >> c) & 1 : (rowOne[r] >> (c - 1)) & 1;
}

void BoardBits::change(int index, std::int32_t from, std::int32_t to)
{
    const int r = index / n, c = index % n;
    account<false>(*this, r, c, from);
    account<true>(*this, r, c, to);
    changedAround(r);
}

void LineMemo::prepare(int side)
{
    if (side_ == side && !entries_.empty())
        return;
    entries_.assign(std::size_t{1} << kSlotBits, Entry{});
    side_ = side;
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
// row, from the left, whichever line the test looks along: the first cell a scan decides is the
// lowest cell of the first row where it decides any. BoardBits keeps those cells per row for
// the Bordering and Centering scans; One kind left walks the rows.

namespace {

// The lowest cell of the first row where a Bordering or Centering scan decides any.
bool firstDecided(BoardBits &b, BoardBits::Scan scan, CellSetting &out)
{
    const std::uint32_t rows = b.firstRows(scan);
    if (!rows)
        return false;
    const int r = lowest(rows);
    const int c = lowest(b.decided[scan][r]);
    return put(out, r * b.n + c, 1 - b.pairValue(scan, r, c));
}

} // namespace

bool BitsBordering(BoardBits &b, bool columns, CellSetting &out)
{
    return firstDecided(b, columns ? BoardBits::kBorderCols : BoardBits::kBorderRows, out);
}

bool BitsCentering(BoardBits &b, bool columns, CellSetting &out)
{
    return firstDecided(b, columns ? BoardBits::kCenterCols : BoardBits::kCenterRows, out);
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
