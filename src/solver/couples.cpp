// Couple tables: for every row and column, the pairs of empty cells that hold opposite values
// in every valid line that fits the line's filled cells.
#include "solver/upper_finders.h"

namespace tl {

namespace {

// Pairs the empty cells of one line of the view. For every empty position p, `sameAs[p]`
// collects the positions at which some fitting valid line holds the same value as at p; a
// pair (p1, p2) is a couple exactly when p2 is not in sameAs[p1]. Lines are scanned until
// every empty position has met every other one, which for lines with many empty cells
// happens after a handful of fitting lines.
void pairLine(const LineScan &s, int n, const ValidLines &valid, std::int8_t partner[14],
              std::int16_t &couples)
{
    for (int p = 0; p < 14; ++p)
        partner[p] = -1;
    couples = 0;
    const std::uint32_t empty = s.empty(n);
    if (empty == 0)
        return;

    std::uint32_t sameAs[14] = {};
    int saturated = 0; // empty positions whose sameAs already covers every empty position
    const int emptyTotal = n - s.filledCount();
    const auto meetLine = [&](std::uint32_t e) {
        const std::uint32_t oneSet = e & empty;
        const std::uint32_t zeroSet = ~e & empty;
        saturated = 0;
        for (std::uint32_t rest = empty; rest; rest &= rest - 1) {
            const int p = __builtin_ctz(rest);
            sameAs[p] |= ((e >> p) & 1) ? oneSet : zeroSet;
            if (sameAs[p] == empty)
                ++saturated;
        }
    };
    const auto meet = [&](int begin, int end) {
        for (int i = begin; i < end && saturated < emptyTotal; ++i) {
            const std::uint32_t e = static_cast<std::uint32_t>(valid.bits[i]);
            if (s.fits(e))
                meetLine(e);
        }
    };
    TableRuns runs;
    if (const FittingIndex *index = valid.index) {
        // Only the fitting lines, in table order: sameAs is the OR over them either way.
        std::uint64_t fit[FittingIndex::kMaxWords];
        if (index->fitting(s.filled, s.ones, fit)) {
            const std::int32_t *lines = index->lines();
            for (int w = 0; w < index->words() && saturated < emptyTotal; ++w)
                for (std::uint64_t m = fit[w]; m && saturated < emptyTotal; m &= m - 1)
                    meetLine(static_cast<std::uint32_t>(lines[w * 64 + std::countr_zero(m)]));
        }
    } else if (UpperRuns(valid.count, n, s.filled, s.ones, runs)) {
        for (int k = 0; k < runs.count; ++k)
            meet(runs.begin[k], runs.end[k]);
    } else {
        meet(0, valid.count);
    }

    // Greedy pairing in the order (p1, p2): a cell keeps the first partner it is given.
    for (std::uint32_t r1 = empty; r1; r1 &= r1 - 1) {
        const int p1 = __builtin_ctz(r1);
        if (partner[p1] != -1)
            continue;
        const std::uint32_t later = empty & ~((2u << p1) - 1u);
        for (std::uint32_t r2 = later & ~sameAs[p1]; r2; r2 &= r2 - 1) {
            const int p2 = __builtin_ctz(r2);
            if (partner[p2] != -1)
                continue;
            partner[p1] = static_cast<std::int8_t>(p2);
            partner[p2] = static_cast<std::int8_t>(p1);
            ++couples;
            break;
        }
    }
}

// Pairs the empty cells of one line of the view into the tables, through the memo if any.
void pairLine(const OrientedGrid &g, int line, const ValidLines &valid, CoupleTables &t,
              CoupleMemo *memo)
{
    const int n = g.n();
    const bool columns = IsColumns(g);
    const LineScan s = ScanLine(g, line);
    (columns ? t.ColEmpty : t.RowEmpty)[line] = static_cast<std::int16_t>(n - s.filledCount());

    const std::uint32_t key = s.filled | (s.ones << 14);
    CoupleMemo::Line scratch;
    CoupleMemo::Line &entry = memo ? memo->lines.slot(CoupleMemo::slot(key)) : scratch;
    if (!memo || entry.key != key) {
        pairLine(s, n, valid, entry.partner, entry.couples);
        entry.key = key;
    }
    (columns ? t.ColCouples : t.RowCouples)[line] = entry.couples;
    for (int p = 0; p < n; ++p) {
        if (columns)
            t.ColPartner[p][line] = entry.partner[p];
        else
            t.RowPartner[line][p] = entry.partner[p];
    }
}

} // namespace

void BuildCouples(const GridView &grid, const LineTables &tables, CoupleTables &t, CoupleMemo *memo)
{
    BuildCouples(OrientedGrid(grid, Orientation::Rows), OrientedGrid(grid, Orientation::Columns), tables,
                 t, memo);
}

void BuildCouples(const OrientedGrid &rows, const OrientedGrid &cols, const LineTables &tables,
                  CoupleTables &t, CoupleMemo *memo)
{
    const int n = rows.n();
    for (int r = 0; r < 14; ++r) {
        for (int c = 0; c < 14; ++c) {
            t.RowPartner[r][c] = -1;
            t.ColPartner[r][c] = -1;
        }
        t.RowEmpty[r] = t.ColEmpty[r] = 0;
        t.RowCouples[r] = t.ColCouples[r] = 0;
    }
    if (!SupportedSide(n))
        return;
    if (memo && memo->side != n) {
        // A line's key means its cells only for one side.
        memo->lines.forget();
        memo->side = n;
    }
    const ValidLines valid = ValidLinesOf(tables, n);
    for (int r = 0; r < n; ++r)
        pairLine(rows, r, valid, t, memo);
    for (int c = 0; c < n; ++c)
        pairLine(cols, c, valid, t, memo);
}

} // namespace tl
