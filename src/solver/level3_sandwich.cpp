// Level-3 avoidable sandwich finders: a line with four empty cells (two of each value still
// to place) set against two other lines that agree with it, so that one of its empty cells
// must take the value opposite to theirs or the line would copy one of them.
#include "solver/upper_finders.h"

#include <bit>

namespace tl {

namespace {

struct FourEmpty {
    LineScan s;
    int e[4] = {-1, -1, -1, -1};
    bool ok = false;
};

FourEmpty scanFour(const OrientedGrid &g, int line)
{
    FourEmpty f;
    f.s = ScanLine(g, line);
    f.ok = f.s.zeros == f.s.oneCount && f.s.filledCount() + 4 == g.n();
    if (!f.ok) // the positions are read only for a line with four empty cells
        return f;
    // The empty positions from the left.
    std::uint32_t m = f.s.empty(g.n());
    for (int &e : f.e) {
        e = std::countr_zero(m);
        m &= m - 1;
    }
    return f;
}

inline int bitAt(std::uint32_t v, int p) { return static_cast<int>((v >> p) & 1u); }

// The LineCode of a line's known cells and the mask of their positions.
void codeOf(const LineScan &s, int n, std::int32_t &pattern, std::int32_t &mask)
{
    pattern = 0;
    mask = 0;
    for (int p = 0; p < n; ++p) {
        if (!bitAt(s.filled, p))
            continue;
        pattern |= (bitAt(s.ones, p) ? kCodeOne : kCodeZero) << (2 * p);
        mask |= 3 << (2 * p);
    }
}

} // namespace

bool FindSandwichFirst(const OrientedGrid &g, const LineTables &tables, Deduction &out)
{
    const int n = g.n();
    if (!SupportedSide(n))
        return false;
    const ValidLines valid = ValidLinesOf(tables, n);
    const std::uint32_t full = (1u << n) - 1u;
    const std::array<LineScan, 14> scan = ScanLines(g);

    for (int r = 0; r < n; ++r) {
        const FourEmpty f = scanFour(g, r);
        if (!f.ok)
            continue;
        const int e1 = f.e[0], e2 = f.e[1], e3 = f.e[2], e4 = f.e[3];
        // Candidate lines: exactly four must fit, and E1 must be opposite to one of the
        // other empty positions in all of them (the four are then the orientations of two
        // couples). Counting can stop at the fifth candidate.
        int count = 0;
        bool pair12 = true, pair13 = true, pair14 = true;
        for (int i = 0; i < valid.count && count <= 4; ++i) {
            const std::uint32_t e = static_cast<std::uint32_t>(valid.bits[i]);
            if (!f.s.fits(e))
                continue;
            ++count;
            const int b1 = bitAt(e, e1);
            pair12 = pair12 && bitAt(e, e2) != b1;
            pair13 = pair13 && bitAt(e, e3) != b1;
            pair14 = pair14 && bitAt(e, e4) != b1;
        }
        if (count != 4 || !(pair12 || pair13 || pair14))
            continue;

        for (int r2 = 0; r2 <= n - 2; ++r2) {
            if (r2 == r || scan[r2].filled != full || !f.s.fits(scan[r2].ones))
                continue;
            const std::uint32_t b2 = scan[r2].ones;
            for (int r3 = r2 + 1; r3 < n; ++r3) {
                if (r3 == r || scan[r3].filled != full || !f.s.fits(scan[r3].ones))
                    continue;
                const std::uint32_t b3 = scan[r3].ones;
                // Digit of the common code of the two partners: 0 where they differ, else
                // 1 for a shared 0 and 2 for a shared 1.
                auto cd = [&](int p) { return bitAt(b2 ^ b3, p) ? 0 : 1 + bitAt(b2, p); };
                int x = -1, y = -1; // set cell x of the line from cell y of the first partner
                if (pair12) {
                    if (cd(e1) != cd(e2)) { // rule A: couple e1, e2
                        if (e2 == e1 + 1) {
                            if (e1 > 0 && cd(e1 - 1) != cd(e1))
                                x = e1, y = e2;
                            else if (e3 - e2 > 1 && cd(e2) != cd(e2 + 1))
                                x = e2, y = e1;
                            else
                                x = e1, y = e2;
                        } else {
                            x = e1, y = e2;
                        }
                    } else if (cd(e4) != cd(e3)) { // rule B: couple e3, e4
                        if (e4 == e3 + 1) {
                            if (e4 < n - 1 && cd(e4) != cd(e4 + 1))
                                x = e4, y = e3;
                            else if (e3 - e2 > 1 && cd(e3) != cd(e3 - 1))
                                x = e3, y = e4;
                            else
                                x = e4, y = e3;
                        } else {
                            x = e4, y = e3;
                        }
                    }
                } else if (pair13) {
                    if (cd(e1) != cd(e3))
                        x = e1, y = e3;
                    else if (cd(e2) != cd(e4))
                        x = e2, y = e4;
                } else { // pair14
                    if (cd(e1) != cd(e4)) {
                        x = e1, y = e4;
                    } else if (cd(e2) != cd(e3)) { // rule D: couple e2, e3
                        if (e3 == e2 + 1) {
                            if (e2 - e1 > 1 && cd(e2) != cd(e2 - 1))
                                x = e2, y = e3;
                            else if (e4 - e3 > 1 && cd(e3) != cd(e3 + 1))
                                x = e3, y = e2;
                            else
                                x = e2, y = e3;
                        } else {
                            x = e2, y = e3;
                        }
                    }
                }
                if (x < 0)
                    continue;
                return Report(out, Technique::AvoidableSandwich, g, r, x, bitAt(b2, y), r2, r3,
                              x < y ? x : y, x < y ? y : x);
            }
        }
    }
    return false;
}

bool FindSandwichSecond(const OrientedGrid &g, const LineTables &tables, Deduction &out)
{
    const int n = g.n();
    if (!SupportedSide(n))
        return false;
    const std::uint32_t full = (1u << n) - 1u;
    const std::array<LineScan, 14> scan = ScanLines(g);
    // Agrees with the line under test on all of its filled cells (and is filled there).
    auto agrees = [](const LineScan &under, const LineScan &other) {
        return (other.filled & under.filled) == under.filled &&
               ((other.ones ^ under.ones) & under.filled) == 0;
    };

    for (int r = 0; r < n; ++r) {
        const FourEmpty f = scanFour(g, r);
        if (!f.ok)
            continue;
        // Only the first partner that qualifies is ever used for this line.
        int r2 = -1;
        for (int k = 0; k < n && r2 < 0; ++k) {
            const LineScan &s = scan[k];
            if (k != r && s.zeros == s.oneCount && s.filledCount() + 2 >= n && agrees(f.s, s))
                r2 = k;
        }
        if (r2 < 0)
            continue;
        const LineScan &s2 = scan[r2];
        int pos[2] = {-1, -1};
        int third = -1;
        for (int r3 = 0; r3 < n && pos[0] < 0; ++r3) {
            const LineScan &s3 = scan[r3];
            if (r3 == r || r3 == r2 || s3.zeros != s3.oneCount ||
                s3.filledCount() != s2.filledCount() || !agrees(f.s, s3))
                continue;
            const bool sameAsPartner =
                s2.filled != full && s3.filled == s2.filled && s3.ones == s2.ones;
            int marked = 0, found[4];
            for (const int e : f.e) {
                const bool mark = sameAsPartner
                                      ? bitAt(s2.filled, e)
                                      : bitAt(s2.filled, e) && bitAt(s3.filled, e) &&
                                            bitAt(s2.ones, e) == bitAt(s3.ones, e);
                if (mark)
                    found[marked++] = e;
            }
            if (marked == 2) {
                pos[0] = found[0];
                pos[1] = found[1];
                third = r3;
            }
        }
        if (pos[0] < 0)
            continue;
        std::int32_t pattern, mask;
        codeOf(f.s, n, pattern, mask);
        for (int k = 0; k < 2; ++k) {
            const int p = pos[k], q = pos[1 - k];
            if (ForcesOpposite(g, p, q, r2, pattern, mask, tables)) {
                return Report(out, Technique::AvoidableSandwich, g, r, p, g.at(r2, q), r2, third,
                              pos[0], pos[1]);
            }
        }
    }
    return false;
}

} // namespace tl
