// Level-1 finders: Uncovered cell(s) (counting form and valid-line form) and Avoidable
// Duplicates.
#include "solver/finders.h"
#include "solver/line_scan.h"

#include <bit>

namespace tl {

namespace {

constexpr std::int32_t kStart = -2; // the beginning of a line, as the cell before a run
constexpr std::int32_t kEnd = -3;   // the end of a line, as the cell after a run

// Writes `values` (lowest position first; -1 leaves a cell undecided) into the run of empty
// cells that starts at position `start` of `line`.
void writeRun(const OrientedGrid &g, int line, int start, std::initializer_list<int> values,
              Deduction &out)
{
    out.clear(Technique::UncoveredCells, g.orientation(), line);
    int p = start;
    for (int v : values) {
        if (v >= 0)
            out.add(g.index(line, p), v);
        ++p;
    }
}

// One of the three last-of-a-kind passes for remaining kind x: scans the runs of empty cells
// from position 0 and takes the first run that one of the pass's patterns describes exactly
// (the run's length and the cells or line ends around it).
bool lastOfKindPass(const OrientedGrid &g, int line, int pass, int x, Deduction &out)
{
    const int n = g.n();
    const int y = 1 - x;
    const int u = -1; // left undecided
    int p = 0;
    while (p < n) {
        if (g.at(line, p) != -1) {
            ++p;
            continue;
        }
        const int start = p;
        while (p < n && g.at(line, p) == -1)
            ++p;
        const int len = p - start;
        const std::int32_t left = start > 0 ? g.at(line, start - 1) : kStart;
        const std::int32_t right = p < n ? g.at(line, p) : kEnd;
        switch (pass) {
        case 1:
            if (len != 3)
                break;
            if ((left == kStart || left == x) && right == y) {
                writeRun(g, line, start, {y, u, u}, out);
                return true;
            }
            if (left == y && right == y) {
                writeRun(g, line, start, {y, x, y}, out);
                return true;
            }
            if (left == y && (right == x || right == kEnd)) {
                writeRun(g, line, start, {u, u, y}, out);
                return true;
            }
            break;
        case 2:
            if (len != 4)
                break;
            if (left == x && right == y) {
                writeRun(g, line, start, {y, y, x, y}, out);
                return true;
            }
            if (left == y && right == x) {
                writeRun(g, line, start, {y, x, y, y}, out);
                return true;
            }
            break;
        default:
            if (len == 4 && left == kStart && right == y) {
                writeRun(g, line, start, {y, y, x, y}, out);
                return true;
            }
            if (len == 5 && left == x && right == x) {
                writeRun(g, line, start, {y, y, x, y, y}, out);
                return true;
            }
            if (len == 4 && left == y && right == kEnd) {
                writeRun(g, line, start, {y, x, y, y}, out);
                return true;
            }
            break;
        }
    }
    return false;
}

bool lastOfKindPasses(const OrientedGrid &g, int line, int x, Deduction &out)
{
    return lastOfKindPass(g, line, 1, x, out) || lastOfKindPass(g, line, 2, x, out) ||
           (g.n() >= 10 && lastOfKindPass(g, line, 3, x, out));
}

// What a line's counts decide, once the walk has found its candidate cell: the candidate takes
// the other kind when one kind is complete with the covered pairs, and one kind short of half
// hands the line to the last-of-a-kind passes.
inline bool decideByCounts(const OrientedGrid &g, int line, int half, int zeros, int ones, int pairs,
                           int candidate, Deduction &out)
{
    if (zeros + pairs == half && ones + pairs < half) {
        out.clear(Technique::UncoveredCells, g.orientation(), line);
        out.add(g.index(line, candidate), 1);
        return true;
    }
    if (ones + pairs == half && zeros + pairs < half) {
        out.clear(Technique::UncoveredCells, g.orientation(), line);
        out.add(g.index(line, candidate), 0);
        return true;
    }
    if (half - (zeros + pairs) == 1 && half - (ones + pairs) > 1)
        return lastOfKindPasses(g, line, 0, out);
    if (half - (ones + pairs) == 1 && half - (zeros + pairs) > 1)
        return lastOfKindPasses(g, line, 1, out);
    return false;
}

} // namespace

bool ExamineLineByCounting(const OrientedGrid &g, int line, Deduction &out)
{
    const int n = g.n();
    const int half = n / 2;
    int zeros = 0, ones = 0, pairs = 0;
    int candidate = -1;
    int lastFilled = -1;          // position of the nearest filled cell met so far
    std::int32_t lastValue = -1;  // its value
    for (int p = 0; p < n; ++p) {
        const std::int32_t v = g.at(line, p);
        if (v == -1) {
            // An empty cell before any filled cell, or the third (or later) empty cell after
            // one, is a candidate when the scan meets it.
            if (candidate < 0 && (lastFilled < 0 || p - lastFilled - 1 >= 2))
                candidate = p;
            continue;
        }
        zeros += v == 0;
        ones += v == 1;
        if (lastFilled >= 0) {
            const int run = p - lastFilled - 1; // empty cells right before p
            if (run == 2 && lastValue != v)
                ++pairs; // a covered pair: 0 - - 1 or 1 - - 0
            if (candidate < 0) {
                if (run == 1)
                    candidate = p - 1; // a single empty cell between two filled cells
                else if (run == 2 && lastValue == v)
                    candidate = p - 1; // 0 - - 0 or 1 - - 1: the second empty cell
            }
        }
        lastFilled = p;
        lastValue = v;
    }
    if (candidate < 0 && lastFilled >= 0 && (n - 1 - lastFilled == 1 || n - 1 - lastFilled == 2))
        candidate = n - 1; // the line ends in one or two empty cells after a filled cell
    if (candidate < 0)
        return false;

    return decideByCounts(g, line, half, zeros, ones, pairs, candidate, out);
}

bool ExamineLineBitsByCounting(const OrientedGrid &g, int line, std::uint32_t zeros, std::uint32_t ones,
                               Deduction &out)
{
    // The walk of ExamineLineByCounting as masks over the positions: bit p of a mask is a cell
    // the walk meets at p. Z, O, F: zeros, ones, filled cells; E: empty cells.
    const int n = g.n();
    const int half = n / 2;
    const std::uint32_t all = (1u << n) - 1u;
    const std::uint32_t Z = zeros & all, O = ones & all, F = Z | O, E = ~F & all;
    // A filled cell after exactly two empty cells and a filled cell: a covered pair when the
    // two filled cells differ, a candidate (the second empty cell) when they are equal.
    const std::uint32_t afterTwo = F & (E << 1) & (E << 2) & (F << 3);
    const std::uint32_t differ = afterTwo & ((Z & (O << 3)) | (O & (Z << 3)));
    const int pairs = std::popcount(differ);
    int candidate = -1;
    if (F == 0 || (F & 1u) == 0) {
        candidate = 0; // an empty cell before any filled cell, met first
    } else {
        // Position 0 is filled, so every empty cell comes after a filled one. The walk meets
        // the third (or later) empty cell of a run at that cell, and a single empty cell
        // between two filled cells, or the second of two between equal ones, at the filled
        // cell after it; those meetings fall on different cells, and the first one decides.
        const std::uint32_t third = E & (E << 1) & (E << 2);
        const std::uint32_t single = F & (E << 1) & (F << 2);
        const std::uint32_t sameTwo = afterTwo & ~differ;
        const std::uint32_t met = third | single | sameTwo;
        if (met) {
            const int p = std::countr_zero(met);
            candidate = (third >> p) & 1u ? p : p - 1;
        } else {
            // The line ends in one or two empty cells after a filled cell.
            const int trailing = std::countl_zero(F << (32 - n)); // empty cells after the last filled
            if (trailing == 1 || trailing == 2)
                candidate = n - 1;
        }
    }
    if (candidate < 0)
        return false;
    return decideByCounts(g, line, half, std::popcount(Z), std::popcount(O), pairs, candidate, out);
}

bool FindUncoveredByCounting(const OrientedGrid &g, Deduction &out)
{
    for (int line = 0; line < g.n(); ++line) {
        if (ExamineLineByCounting(g, line, out))
            return true;
    }
    return false;
}

bool ExamineLineByValidLines(const OrientedGrid &g, int line, const LineTables &tables, Deduction &out)
{
    const int n = g.n();
    std::uint32_t filled = 0, ones = 0, open = 0; // open: empty cells (-1)
    for (int p = 0; p < n; ++p) {
        const std::int32_t v = g.at(line, p);
        filled |= static_cast<std::uint32_t>(v == 0 || v == 1) << p;
        ones |= static_cast<std::uint32_t>(v == 1) << p;
        open |= static_cast<std::uint32_t>(v == -1) << p;
    }
    if (const FittingIndex *index = tables.fittingIndex(n)) {
        // The AND of the fitting lines below, taken over the fitting lines alone as bits: a
        // position beyond the filled cells is agreed on when every fitting line holds a 1
        // there (in the AND of their bits) or none does (outside their OR). The lines agree
        // on nothing beyond the filled cells exactly when the scan below would stop early;
        // with no line fitting, nothing is decided. The deduction lists the agreed empty
        // cells from the lowest position up, as below.
        std::uint64_t fit[FittingIndex::kMaxWords];
        if (!index->fitting(filled, ones, fit))
            return false;
        const std::uint32_t unfilled = ~filled & ((1u << n) - 1u);
        const std::int32_t *bits = index->lines();
        std::uint32_t all = ~0u, some = 0;
        for (int w = 0; w < index->words(); ++w) {
            for (std::uint64_t m = fit[w]; m; m &= m - 1) {
                const auto e = static_cast<std::uint32_t>(bits[w * 64 + std::countr_zero(m)]);
                all &= e;
                some |= e;
            }
            if ((some & ~all & unfilled) == unfilled)
                return false;
        }
        out.clear(Technique::UncoveredCells, g.orientation(), line);
        for (std::uint32_t m = open & ~(some & ~all); m; m &= m - 1) {
            const int p = std::countr_zero(m);
            out.add(g.index(line, p), static_cast<std::int32_t>((all >> p) & 1u));
        }
        return out.count > 0;
    }

    const std::vector<std::int32_t> &codes = tables.codes(n);
    std::int32_t pattern = 0;
    for (int p = 0; p < n; ++p) {
        if ((filled >> p) & 1u)
            pattern |= ((ones >> p) & 1u ? kCodeOne : kCodeZero) << (2 * p);
    }
    // The AND of every valid line that fits the pattern; the search stops as soon as the lines
    // met so far agree on nothing beyond the pattern itself.
    std::int32_t agreement = 0;
    bool fitted = false;
    const auto meet = [&](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            const std::int32_t code = codes[i];
            if ((code & pattern) == pattern) {
                agreement = fitted ? (agreement & code) : code;
                fitted = true;
            }
            if (agreement == pattern)
                return false;
        }
        return true;
    };
    TableRuns runs;
    if (UpperRuns(static_cast<int>(codes.size()), n, filled, ones, runs)) {
        for (int k = 0; k < runs.count; ++k)
            if (!meet(runs.begin[k], runs.end[k]))
                return false;
    } else if (!meet(0, static_cast<int>(codes.size()))) {
        return false;
    }
    if (!fitted)
        return false; // no valid line fits: the line already breaks the rules
    out.clear(Technique::UncoveredCells, g.orientation(), line);
    for (int p = 0; p < n; ++p) {
        const int digit = (agreement >> (2 * p)) & 3;
        if (digit != 0 && g.at(line, p) == -1)
            out.add(g.index(line, p), digit == kCodeOne ? 1 : 0);
    }
    return out.count > 0;
}

bool FindUncoveredByValidLines(const OrientedGrid &g, const LineTables &tables, Deduction &out)
{
    const int n = g.n();
    if (tables.codes(n).empty())
        return false;
    // Each line is examined at the first of its empty cells met in CellIndex order; examining
    // it again at a later empty cell would give the same answer.
    std::uint32_t examined = 0;
    const std::uint32_t all = (1u << n) - 1;
    for (int i = 0; i < n * n && examined != all; ++i) {
        if (g.cell(i) != -1)
            continue;
        const int line = g.lineOf(i);
        if (examined & (1u << line))
            continue;
        examined |= 1u << line;
        if (ExamineLineByValidLines(g, line, tables, out))
            return true;
    }
    return false;
}

bool FindAvoidableDuplicates(const OrientedGrid &g, Deduction &out)
{
    const int n = g.n();
    const int half = n / 2;
    // Per line: the count and the pattern (digit 1 per 0, digit 2 per 1) of each value.
    std::array<std::int32_t, 14> zeroPattern{}, onePattern{};
    std::array<std::int8_t, 14> zeros{}, ones{};
    for (int line = 0; line < n; ++line) {
        for (int p = 0; p < n; ++p) {
            const std::int32_t v = g.at(line, p);
            if (v == 0) {
                zeroPattern[line] |= kCodeZero << (2 * p);
                ++zeros[line];
            } else if (v == 1) {
                onePattern[line] |= kCodeOne << (2 * p);
                ++ones[line];
            }
        }
    }
    for (int l1 = 0; l1 < n; ++l1) {
        // A line missing a single 0 is tried only for its zeros; otherwise, missing a single
        // 1, for its ones.
        int kind;
        const std::array<std::int32_t, 14> *patterns;
        const std::array<std::int8_t, 14> *counts;
        if (zeros[l1] == half - 1) {
            kind = 0;
            patterns = &zeroPattern;
            counts = &zeros;
        } else if (ones[l1] == half - 1) {
            kind = 1;
            patterns = &onePattern;
            counts = &ones;
        } else {
            continue;
        }
        const std::int32_t p1 = (*patterns)[l1];
        const std::int32_t digit = kind == 0 ? kCodeZero : kCodeOne;
        for (int l2 = 0; l2 < n; ++l2) {
            if (l2 == l1 || (*counts)[l2] != half)
                continue;
            const std::int32_t p2 = (*patterns)[l2];
            if ((p2 | p1) != p2)
                continue;
            const std::int32_t diff = p1 ^ p2;
            for (int p = 0; p < n; ++p) {
                if (g.at(l1, p) == -1 && ((diff >> (2 * p)) & 3) == digit) {
                    out.clear(Technique::AvoidableDuplicates, g.orientation(), l1);
                    out.otherLine = l2;
                    out.add(g.index(l1, p), 1 - kind);
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace tl
