// Level-3 chained-couple finders. Along a chain of couples that alternates between row and
// column couples the cells alternate in value, so the two ends of a chain of an odd number of
// couples hold opposite values: when they share a line they form a new couple of it.
#include "solver/upper_finders.h"

namespace tl {

namespace {

// The forcing test on the two cells between the ends of a chain that stand three apart: two
// equal cells between opposite ends would make three equal neighbours.
// The cells are positions m1 and m2 of line `line` of the orientation.
bool forceBetween(const OrientedGrid &g, int line, int m1, int m2, Deduction &out)
{
    const std::int32_t a = g.at(line, m1), b = g.at(line, m2);
    if (b != -1 && a == -1)
        return Report(out, Technique::ChainedCouplesForcingCell, g, line, m1, 1 - b);
    if (a != -1 && b == -1)
        return Report(out, Technique::ChainedCouplesForcingCell, g, line, m2, 1 - a);
    return false;
}

} // namespace

bool FindChainedForcing(const GridView &grid, CoupleTables &t, Deduction &out)
{
    const int n = grid.n;
    if (!SupportedSide(n))
        return false;
    const OrientedGrid rows(grid, Orientation::Rows);
    const OrientedGrid cols(grid, Orientation::Columns);
    bool recorded = true;
    while (recorded) {
        recorded = false;
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c) {
                // A chain starts at a cell with a partner in one direction only, and begins
                // with a link in that direction.
                const bool columnFirst = t.ColPartner[r][c] != -1 && t.RowPartner[r][c] == -1;
                const bool rowFirst = t.RowPartner[r][c] != -1 && t.ColPartner[r][c] == -1;
                if (!columnFirst && !rowFirst)
                    continue;
                int cr = r, cc = c;
                for (int k = 1; k <= 7; ++k) {
                    // Odd links run in the starting direction, even links across it.
                    const bool columnLink = (k % 2 == 1) == columnFirst;
                    const int next = columnLink ? t.ColPartner[cr][cc] : t.RowPartner[cr][cc];
                    if (next == -1)
                        break;
                    (columnLink ? cr : cc) = next;
                    if (k % 2 == 0 || k == 1)
                        continue;
                    // Closing cells (reached by a link in the starting direction) lie in the
                    // start's line and have no partner in it yet.
                    const bool closes = columnFirst
                                            ? cr == r && t.RowPartner[cr][cc] == -1
                                            : cc == c && t.ColPartner[cr][cc] == -1;
                    if (!closes)
                        continue;
                    const int e = columnFirst ? cc : cr;
                    // Five or seven couples ending three cells after the start force the
                    // cells between the ends. thirdLine records the number of couples,
                    // posA and posB the ends.
                    const bool forced =
                        k >= 5 && (columnFirst ? e == c + 3 && forceBetween(rows, r, c + 1, c + 2, out)
                                               : e == r + 3 && forceBetween(cols, c, r + 1, r + 2, out));
                    if (forced) {
                        out.thirdLine = k;
                        out.posA = columnFirst ? c : r;
                        out.posB = e;
                        return true;
                    }
                    // The ends become a couple of their line.
                    if (columnFirst) {
                        t.RowPartner[r][c] = static_cast<std::int16_t>(e);
                        t.RowPartner[r][e] = static_cast<std::int16_t>(c);
                        ++t.RowCouples[r];
                    } else {
                        t.ColPartner[r][c] = static_cast<std::int16_t>(e);
                        t.ColPartner[e][c] = static_cast<std::int16_t>(r);
                        ++t.ColCouples[c];
                    }
                    recorded = true;
                    break;
                }
            }
        }
    }
    return false;
}

bool FindChainedLeftover(const OrientedGrid &g, const CoupleTables &t, Deduction &out)
{
    const int n = g.n();
    if (!SupportedSide(n))
        return false;
    for (int l = 0; l < n; ++l) {
        const int empty = IsColumns(g) ? t.ColEmpty[l] : t.RowEmpty[l];
        const int couples = IsColumns(g) ? t.ColCouples[l] : t.RowCouples[l];
        if (empty - 2 * couples != 1)
            continue;
        const LineScan s = ScanLine(g, l);
        for (int p = 0; p < n; ++p) {
            if (g.at(l, p) == -1 && t.along(g, l, p) == -1)
                return Report(out, Technique::ChainedCouplesLeftoverCell, g, l, p,
                              s.zeros > s.oneCount ? 1 : 0);
        }
    }
    return false;
}

} // namespace tl
