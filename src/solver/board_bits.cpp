#include "solver/board_bits.h"

#include <bit>

namespace tl {

namespace {

// Sets or clears bit k of a mask.
inline void setBit(std::uint32_t &mask, int k, bool on)
{
    mask = (mask & ~(1u << k)) | (static_cast<std::uint32_t>(on) << k);
}

// Counts value v of the cell at row r, column c into the summary (Add) or out of it.
template <bool Add>
inline void account(BoardBits &b, int r, int c, std::int32_t v)
{
    const std::uint32_t rb = 1u << c, cb = 1u << r;
    const int half = b.half;
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
        setBit(b.rowsHalfZeros, r, b.rowZeros[r] == half);
        setBit(b.colsHalfZeros, c, b.colZeros[c] == half);
    } else if (v == 1) {
        mark(b.rowOne[r], b.colOne[c]);
        step(b.rowOnes[r]);
        step(b.colOnes[c]);
        setBit(b.rowsHalfOnes, r, b.rowOnes[r] == half);
        setBit(b.colsHalfOnes, c, b.colOnes[c] == half);
    } else if (v == -1) {
        mark(b.rowEmpty[r], b.colEmpty[c]);
        step(b.emptyCount);
        setBit(b.emptyRows, r, b.rowEmpty[r] != 0);
    } else {
        step(b.odd);
    }
}

} // namespace

void BoardBits::build(const std::int32_t *cells, int side)
{
    // Without branches on the cells' values: a grid being solved mixes them at random.
    n = side;
    half = side / 2;
    rowOfIndex = 65536u / static_cast<std::uint32_t>(side) + 1u;
    colZero.fill(0);
    colOne.fill(0);
    colEmpty.fill(0);
    colZeros.fill(0);
    colOnes.fill(0);
    emptyCount = 0;
    odd = 0;
    for (int r = 0, i = 0; r < n; ++r) {
        std::uint32_t z = 0, o = 0, e = 0;
        int zeros = 0, ones = 0, empties = 0, others = 0;
        for (int c = 0; c < n; ++c, ++i) {
            const std::int32_t v = cells[i];
            const bool isZero = v == 0, isOne = v == 1, isEmpty = v == -1;
            z |= static_cast<std::uint32_t>(isZero) << c;
            o |= static_cast<std::uint32_t>(isOne) << c;
            e |= static_cast<std::uint32_t>(isEmpty) << c;
            colZero[c] |= static_cast<std::uint32_t>(isZero) << r;
            colOne[c] |= static_cast<std::uint32_t>(isOne) << r;
            colEmpty[c] |= static_cast<std::uint32_t>(isEmpty) << r;
            colZeros[c] = static_cast<std::int8_t>(colZeros[c] + isZero);
            colOnes[c] = static_cast<std::int8_t>(colOnes[c] + isOne);
            zeros += isZero;
            ones += isOne;
            empties += isEmpty;
            others += static_cast<std::uint32_t>(v + 1) > 2u;
        }
        rowZero[r] = z;
        rowOne[r] = o;
        rowEmpty[r] = e;
        rowZeros[r] = static_cast<std::int8_t>(zeros);
        rowOnes[r] = static_cast<std::int8_t>(ones);
        emptyCount += empties;
        odd += others;
    }
    for (int r = n; r < 14; ++r) {
        rowZero[r] = rowOne[r] = rowEmpty[r] = 0;
        rowZeros[r] = rowOnes[r] = 0;
    }
    emptyRows = rowsHalfZeros = rowsHalfOnes = colsHalfZeros = colsHalfOnes = 0;
    for (int k = 0; k < n; ++k) {
        emptyRows |= static_cast<std::uint32_t>(rowEmpty[k] != 0) << k;
        rowsHalfZeros |= static_cast<std::uint32_t>(rowZeros[k] == half) << k;
        rowsHalfOnes |= static_cast<std::uint32_t>(rowOnes[k] == half) << k;
        colsHalfZeros |= static_cast<std::uint32_t>(colZeros[k] == half) << k;
        colsHalfOnes |= static_cast<std::uint32_t>(colOnes[k] == half) << k;
    }
    for (int r = 0; r < 14; ++r)
        rowKeys[r] = rowZero[r] | (rowOne[r] << 14);
    decided = {};
    decidedRows = {};
    colDecided = {};
    stale.fill((1u << n) - 1u);
}

namespace {

// The empty cells of a line (bits `empty`, holding zeros `z` and ones `o`) that a Bordering
// (Center false) or Centering scan along that line decides.
template <bool Center>
inline std::uint32_t decidedAlong(std::uint32_t z, std::uint32_t o, std::uint32_t empty)
{
    std::uint32_t pairs;
    if constexpr (Center) {
        pairs = ((z << 1) & (z >> 1)) | ((o << 1) & (o >> 1));
    } else {
        pairs = ((z >> 1) & (z >> 2)) | ((o >> 1) & (o >> 2)) | ((z << 1) & (z << 2)) |
                ((o << 1) & (o << 2));
    }
    return empty & pairs;
}

// Brings the stale entries of scan S up to date; returns the rows where it decides a cell.
// A row scan works out each stale row. A column scan works out each stale column and carries
// the cells whose answer changed into their rows (only the cells of a stale column can have
// changed: the scan along a column reads that column alone).
template <BoardBits::Scan S>
inline std::uint32_t refresh(BoardBits &b)
{
    constexpr bool columns = S == BoardBits::kBorderCols || S == BoardBits::kCenterCols;
    constexpr bool center = S == BoardBits::kCenterRows || S == BoardBits::kCenterCols;
    const std::uint32_t stale = b.stale[S];
    if (!stale)
        return b.decidedRows[S];
    auto &entries = b.decided[S];
    std::uint32_t rows = b.decidedRows[S];
    if constexpr (columns) {
        auto &byColumn = b.colDecided[center];
        std::uint32_t touched = 0;
        for (std::uint32_t m = stale; m; m &= m - 1) {
            const int c = std::countr_zero(m);
            const std::uint32_t hit = decidedAlong<center>(b.colZero[c], b.colOne[c], b.colEmpty[c]);
            const std::uint32_t flipped = hit ^ byColumn[c];
            byColumn[c] = hit;
            touched |= flipped;
            for (std::uint32_t f = flipped; f; f &= f - 1)
                entries[std::countr_zero(f)] ^= 1u << c;
        }
        for (std::uint32_t t = touched; t; t &= t - 1) {
            const int k = std::countr_zero(t);
            rows = (rows & ~(1u << k)) | (static_cast<std::uint32_t>(entries[k] != 0) << k);
        }
    } else {
        for (std::uint32_t m = stale; m; m &= m - 1) {
            const int k = std::countr_zero(m);
            const std::uint32_t hit = decidedAlong<center>(b.rowZero[k], b.rowOne[k], b.rowEmpty[k]);
            entries[k] = hit;
            rows = (rows & ~(1u << k)) | (static_cast<std::uint32_t>(hit != 0) << k);
        }
    }
    b.stale[S] = 0;
    b.decidedRows[S] = rows;
    return rows;
}

// The value of the pair that decides the cell at row r, column c for scan S, read along the
// cell's line at position p: a Bordering scan takes the pair after the cell (p+1, p+2) when
// both hold one value, else the pair before it; a Centering scan the cell before it (p-1).
// Bits beyond the end of a line are never set, so no pair is seen there.
template <BoardBits::Scan S>
inline std::int32_t pairValueAt(const BoardBits &b, int r, int c)
{
    constexpr bool columns = S == BoardBits::kBorderCols || S == BoardBits::kCenterCols;
    constexpr bool center = S == BoardBits::kCenterRows || S == BoardBits::kCenterCols;
    const std::uint32_t z = columns ? b.colZero[c] : b.rowZero[r];
    const std::uint32_t o = columns ? b.colOne[c] : b.rowOne[r];
    const int p = columns ? r : c;
    if constexpr (!center) {
        if (((z >> (p + 1)) & 3u) == 3u || ((o >> (p + 1)) & 3u) == 3u)
            return static_cast<std::int32_t>((o >> (p + 1)) & 1u);
    }
    return static_cast<std::int32_t>((o >> (p - 1)) & 1u);
}

} // namespace

std::uint32_t BoardBits::firstRows(Scan scan)
{
    // Rows whose entries a change may have altered since the scan last looked are worked out
    // again.
    switch (scan) {
    case kBorderRows:
        return refresh<kBorderRows>(*this);
    case kBorderCols:
        return refresh<kBorderCols>(*this);
    case kCenterRows:
        return refresh<kCenterRows>(*this);
    case kCenterCols:
        return refresh<kCenterCols>(*this);
    }
    return 0;
}

void BoardBits::changeAny(int r, int c, std::int32_t from, std::int32_t to)
{
    account<false>(*this, r, c, from);
    account<true>(*this, r, c, to);
    rowKeys[r] = rowZero[r] | (rowOne[r] << 14);
}

void LineMemo::prepare(int side)
{
    // A line's key means its cells only for one side.
    if (side_ == side)
        return;
    entries_.forget();
    for (auto &lines : quiet_)
        lines.fill(0xFFFFFFFFu);
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
template <BoardBits::Scan S>
inline bool firstDecided(BoardBits &b, CellSetting &out)
{
    const std::uint32_t rows = refresh<S>(b);
    if (!rows)
        return false;
    const int r = lowest(rows);
    const int c = lowest(b.decided[S][r]);
    return put(out, r * b.n + c, 1 - pairValueAt<S>(b, r, c));
}

} // namespace

bool BitsBordering(BoardBits &b, bool columns, CellSetting &out)
{
    return columns ? firstDecided<BoardBits::kBorderCols>(b, out) : firstDecided<BoardBits::kBorderRows>(b, out);
}

bool BitsCentering(BoardBits &b, bool columns, CellSetting &out)
{
    return columns ? firstDecided<BoardBits::kCenterCols>(b, out) : firstDecided<BoardBits::kCenterRows>(b, out);
}

bool BitsOneKindLeft(const BoardBits &b, bool columns, CellSetting &out)
{
    const int n = b.n;
    if (!columns) {
        // The first row with an empty cell and half zeros (it takes 1) or half ones (0).
        const std::uint32_t rows = b.emptyRows & (b.rowsHalfZeros | b.rowsHalfOnes);
        if (!rows)
            return false;
        const int r = lowest(rows);
        return put(out, r * n + lowest(b.rowEmpty[r]), bit(b.rowsHalfZeros, r) ? 1 : 0);
    }
    // The columns already holding half zeros (they take 1) or else half ones (they take 0).
    const std::uint32_t zerosDone = b.colsHalfZeros;
    const std::uint32_t done = zerosDone | b.colsHalfOnes;
    if (!done)
        return false;
    for (std::uint32_t rows = b.emptyRows; rows; rows &= rows - 1) {
        const int r = lowest(rows);
        const std::uint32_t m = b.rowEmpty[r] & done;
        if (m) {
            const int c = lowest(m);
            return put(out, r * n + c, bit(zerosDone, c) ? 1 : 0);
        }
    }
    return false;
}

LevelZeroFind BitsLevelZero(BoardBits &b, CellSetting &out)
{
    if (firstDecided<BoardBits::kBorderRows>(b, out) || firstDecided<BoardBits::kBorderCols>(b, out) ||
        firstDecided<BoardBits::kCenterRows>(b, out) || firstDecided<BoardBits::kCenterCols>(b, out))
        return LevelZeroFind::BorderingCentering;
    if (BitsOneKindLeft(b, false, out))
        return LevelZeroFind::OneKindLeftRow;
    if (BitsOneKindLeft(b, true, out))
        return LevelZeroFind::OneKindLeftColumn;
    return LevelZeroFind::None;
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
