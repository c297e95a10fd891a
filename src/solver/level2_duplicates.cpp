// Level-2 finders: avoidable duplicates with forcing cell (two forms) and almost duplicates
// with in-between forcing cell. Lines are held as bit sets (bit p = position p), so "does any
// valid line other than K fit this trial" becomes one pass over the lines that fit the
// partial line, collecting the positions where some other fitting line agrees with K.
#include "solver/upper_finders.h"

#include <array>
#include <bit>

namespace tl {

namespace {

constexpr int kMaxLines = 518; // valid lines of 14 cells

// The valid lines that fit one partial line, collected once per line and call.
struct FitList {
    std::array<std::int32_t, kMaxLines> lines;
    int count = 0;

    void collect(const LineScan &s, const ValidLines &valid)
    {
        count = 0;
        // The index meets the lines that fit in table order, as the scan below does.
        if (const FittingIndex *index = valid.index) {
            std::array<std::uint64_t, FittingIndex::kMaxWords> set;
            if (!index->fitting(s.filled, s.ones, set.data()))
                return;
            const std::int32_t *table = index->lines();
            for (int w = 0; w < index->words(); ++w)
                for (std::uint64_t b = set[w]; b; b &= b - 1)
                    lines[count++] = table[w * 64 + std::countr_zero(b)];
            return;
        }
        for (int i = 0; i < valid.count; ++i)
            if (s.fits(static_cast<std::uint32_t>(valid.bits[i])))
                lines[count++] = valid.bits[i];
    }

    // The positions at which at least one fitting line other than k holds k's value.
    // A trial that gives position p the value of k leaves k as its only valid completion
    // exactly when bit p of the result is clear.
    std::uint32_t othersAgreeingWith(std::int32_t k, std::uint32_t wanted) const
    {
        std::uint32_t agree = 0;
        for (int i = 0; i < count && (agree & wanted) != wanted; ++i)
            if (lines[i] != k)
                agree |= ~static_cast<std::uint32_t>(lines[i] ^ k);
        return agree;
    }
};

int lowestBit(std::uint32_t v) { return __builtin_ctz(v); }

} // namespace

bool FindAvoidableForcingCell1(const OrientedGrid &g, const LineTables &tables, Deduction &out)
{
    const int n = g.n();
    if (!SupportedSide(n))
        return false;
    const ValidLines valid = ValidLinesOf(tables, n);
    const std::array<LineScan, 14> scan = ScanLines(g);
    // Fitting lists of the partial lines, built the first time a line is paired.
    FitList fits[14];
    bool collected[14] = {};

    for (int r1 = 0; r1 < n; ++r1) {
        const LineScan &s1 = scan[r1];
        if (s1.zeros != s1.oneCount || s1.filledCount() != n)
            continue;
        const std::int32_t k = static_cast<std::int32_t>(s1.ones);
        for (int r2 = 0; r2 < n; ++r2) {
            const LineScan &s2 = scan[r2];
            if (r2 == r1 || s2.filledCount() >= n || !s2.fits(static_cast<std::uint32_t>(k)))
                continue;
            if (!collected[r2]) {
                fits[r2].collect(s2, valid);
                collected[r2] = true;
            }
            const std::uint32_t empty = s2.empty(n);
            const std::uint32_t forced = empty & ~fits[r2].othersAgreeingWith(k, empty);
            if (forced) {
                const int j = lowestBit(forced);
                return Report(out, Technique::AvoidableDuplicatesForcingCell, g, r2, j,
                              1 - ((k >> j) & 1), r1);
            }
        }
    }
    return false;
}

bool FindAvoidableForcingCell2(const OrientedGrid &g, const LineTables &tables, Deduction &out)
{
    const int n = g.n();
    if (!SupportedSide(n))
        return false;
    const ValidLines valid = ValidLinesOf(tables, n);
    const std::array<LineScan, 14> scan = ScanLines(g);
    FitList fit;

    for (int r1 = 0; r1 < n; ++r1) {
        const LineScan &s1 = scan[r1];
        if (s1.zeros != s1.oneCount || s1.filledCount() + 4 != n)
            continue;
        fit.collect(s1, valid);
        const std::uint32_t empty = s1.empty(n);
        for (int r2 = 0; r2 < n; ++r2) {
            const LineScan &s2 = scan[r2];
            // The other line must be complete, whatever its counts.
            if (r2 == r1 || s2.filledCount() != n || !s1.fits(s2.ones))
                continue;
            const std::int32_t k = static_cast<std::int32_t>(s2.ones);
            const std::uint32_t forced = empty & ~fit.othersAgreeingWith(k, empty);
            if (forced) {
                const int e = lowestBit(forced);
                return Report(out, Technique::AvoidableDuplicatesForcingCell, g, r1, e,
                              1 - ((k >> e) & 1), r2);
            }
        }
    }
    return false;
}

bool FindAlmostDuplicates(const OrientedGrid &g, Deduction &out)
{
    const int n = g.n();
    if (!SupportedSide(n))
        return false;
    for (int r = 0; r + 3 < n; ++r) {
        int p1 = -1, p2 = -1, zeros = 0, ones = 0;
        bool equal = true;
        for (int c = 0; c < n; ++c) {
            const std::int32_t a = g.at(r, c);
            if (a != g.at(r + 3, c)) {
                equal = false;
                break;
            }
            if (a == -1) {
                if (p1 < 0)
                    p1 = c;
                else
                    p2 = c;
            } else if (a == 0) {
                ++zeros;
            } else {
                ++ones;
            }
        }
        if (!equal || zeros != ones || n != 2 * (zeros + 1))
            continue;
        for (const int p : {p1, p2}) {
            const std::int32_t a = g.at(r + 1, p);
            const std::int32_t b = g.at(r + 2, p);
            // The decided cell's line, set against the pair's first line r (and r + 3).
            if (a != -1 && b == -1)
                return Report(out, Technique::AlmostDuplicatesForcingCell, g, r + 2, p, 1 - a, r,
                              -1, p1, p2);
            if (a == -1 && b != -1)
                return Report(out, Technique::AlmostDuplicatesForcingCell, g, r + 1, p, 1 - b, r,
                              -1, p1, p2);
        }
    }
    return false;
}

} // namespace tl
