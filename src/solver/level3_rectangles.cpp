// Level-3 rectangle finders: rectangle leading to leftover cell, forced rectangle leading to
// leftover cell and rectangle with in-between forcing cell.
#include "solver/upper_finders.h"

#include <bit>
#include <cstdlib>

namespace tl {

namespace {

// A line of the view with exactly three empty cells: its counts and empty positions.
struct ThreeEmpty {
    int zeros = 0, ones = 0;
    int e1 = -1, e2 = -1, e3 = -1;
    bool ok = false;
    // The leftover cell completes the line's half of zeros and half of ones.
    int leftoverValue() const { return zeros > ones ? 1 : 0; }
};

ThreeEmpty scanThree(const OrientedGrid &g, int line)
{
    ThreeEmpty s;
    const LineScan l = ScanLine(g, line);
    s.zeros = l.zeros;
    s.ones = l.oneCount;
    s.ok = s.zeros + s.ones == g.n() - 3;
    if (!s.ok) // the positions are read only for a line with three empty cells
        return s;
    // The empty positions from the left.
    std::uint32_t m = l.empty(g.n());
    s.e1 = std::countr_zero(m);
    m &= m - 1;
    s.e2 = std::countr_zero(m);
    m &= m - 1;
    s.e3 = std::countr_zero(m);
    return s;
}

bool leftover(Deduction &out, Technique t, const OrientedGrid &g, const ThreeEmpty &s, int line,
              int other, int pos, int a, int b)
{
    return Report(out, t, g, line, pos, s.leftoverValue(), other, -1, a, b);
}

// The side conditions of two adjacent corners: one known cell beside the corners and one
// beside their partners hold the same value. Unavailable cells are passed as -2.
bool sidesForce(std::int32_t l, std::int32_t lp, std::int32_t r, std::int32_t rp)
{
    return (l == 0 && lp == 0) || (l == 1 && lp == 1) || (l == 0 && rp == 0) ||
           (lp == 0 && r == 0) || (l == 1 && rp == 1) || (lp == 1 && r == 1) ||
           (r == 0 && rp == 0) || (r == 1 && rp == 1);
}

bool bothSame(std::int32_t a, std::int32_t b) { return a != -1 && a == b; }

// The count of the whole crossing line through position `pos`: balanced with exactly two
// empty cells.
bool crossingBalancedWithTwoEmpty(const OrientedGrid &g, int pos)
{
    int zeros = 0, ones = 0;
    for (int l = 0; l < g.n(); ++l) {
        const std::int32_t v = g.at(l, pos);
        zeros += v == 0;
        ones += v == 1;
    }
    return zeros == ones && zeros + ones + 2 == g.n();
}

} // namespace

bool FindRectangleLeftover(const OrientedGrid &g, const CoupleTables &t, int lastLine, Deduction &out)
{
    const int n = g.n();
    if (!SupportedSide(n))
        return false;
    if (lastLine > n - 1)
        lastLine = n - 1;
    for (int r = 0; r <= lastLine; ++r) {
        const ThreeEmpty s = scanThree(g, r);
        if (!s.ok)
            continue;
        // Corner pairs in order, each with its leftover position. The partner line must be
        // above 0: a rectangle whose other line is line 0 is never used.
        const int tests[3][3] = {{s.e1, s.e2, s.e3}, {s.e1, s.e3, s.e2}, {s.e2, s.e3, s.e1}};
        for (const auto &test : tests) {
            const int a = test[0], b = test[1];
            const int other = t.across(g, r, a);
            if (other == t.across(g, r, b) && other > 0 && t.along(g, other, a) == b)
                return leftover(out, Technique::RectangleLeftoverCell, g, s, r, other, test[2], a, b);
        }
    }
    return false;
}

bool FindForcedRectangle(const OrientedGrid &g, const CoupleTables &t, Deduction &out)
{
    const int n = g.n();
    if (!SupportedSide(n))
        return false;
    for (int r = 0; r < n; ++r) {
        const ThreeEmpty s = scanThree(g, r);
        if (!s.ok)
            continue;

        // Test A: corners e1, e2 coupled with the neighbouring line; leftover e3.
        int other = t.across(g, r, s.e1);
        if (other == t.across(g, r, s.e2) && other > 0 && std::abs(r - other) == 1) {
            bool forced = false;
            if (s.e2 - s.e1 == 1) {
                // Beside the corners: the cells before them only when the line has them.
                const bool before = s.e1 > 0;
                forced = sidesForce(before ? g.at(r, s.e1 - 1) : -2,
                                    before ? g.at(other, s.e1 - 1) : -2, g.at(r, s.e2 + 1),
                                    g.at(other, s.e2 + 1));
            } else if (s.e2 - s.e1 == 2) {
                forced = bothSame(g.at(r, s.e1 + 1), g.at(other, s.e1 + 1));
            }
            if (forced)
                return leftover(out, Technique::ForcedRectangleLeftoverCell, g, s, r, other, s.e3, s.e1,
                                s.e2);
        }

        // Test B: corners e2, e3; leftover e1. The pair e1, e3 is never tested.
        other = t.across(g, r, s.e2);
        if (other == t.across(g, r, s.e3) && other > 0 && std::abs(r - other) == 1) {
            bool forced = false;
            if (s.e3 - s.e2 == 1) {
                const bool after = s.e3 < n - 1;
                forced = sidesForce(g.at(r, s.e2 - 1), g.at(other, s.e2 - 1),
                                    after ? g.at(r, s.e3 + 1) : -2,
                                    after ? g.at(other, s.e3 + 1) : -2);
            } else if (s.e3 - s.e2 == 2) {
                forced = bothSame(g.at(r, s.e2 + 1), g.at(other, s.e2 + 1));
            }
            if (forced)
                return leftover(out, Technique::ForcedRectangleLeftoverCell, g, s, r, other, s.e1, s.e2,
                                s.e3);
        }
    }
    return false;
}

bool FindRectangleForcingCell(const OrientedGrid &g, Deduction &out)
{
    const int n = g.n();
    if (!SupportedSide(n))
        return false;
    for (int r = 0; r + 3 < n; ++r) {
        int c1 = -1, c2 = -1;
        int z1 = 0, o1 = 0, z2 = 0, o2 = 0;
        bool rejected = false;
        for (int c = 0; c < n && !rejected; ++c) {
            const std::int32_t a = g.at(r, c), b = g.at(r + 3, c);
            if (a == -1 && b == -1) {
                if (c1 < 0)
                    c1 = c;
                else
                    c2 = c;
            } else if (a == -1 || b == -1) {
                rejected = true;
            } else {
                (a == 0 ? z1 : o1) += 1;
                (b == 0 ? z2 : o2) += 1;
            }
        }
        if (rejected || z1 != o1 || z1 + o1 + 2 != n || z2 != o2 || z2 + o2 + 2 != n)
            continue;
        // First the crossing line at c1 decides and c2 is forced, then the other way round.
        const int decide[2] = {c1, c2};
        const int forcedPos[2] = {c2, c1};
        for (int k = 0; k < 2; ++k) {
            if (!crossingBalancedWithTwoEmpty(g, decide[k]))
                continue;
            const int p = forcedPos[k];
            const std::int32_t u = g.at(r + 1, p), v = g.at(r + 2, p);
            // The decided cell's line, set against the pair's first line r (and r + 3);
            // posA is the deciding position, posB the forced one.
            if (u == -1 && v != -1)
                return Report(out, Technique::RectangleForcingCell, g, r + 1, p, 1 - v, r, -1,
                              decide[k], p);
            if (u != -1 && v == -1)
                return Report(out, Technique::RectangleForcingCell, g, r + 2, p, 1 - u, r, -1,
                              decide[k], p);
        }
    }
    return false;
}

} // namespace tl
