// Level-0 finders: Bordering, Centering and One kind left.
#include "solver/finders.h"

namespace tl {

int TechniqueLevel(Technique t)
{
    switch (t) {
    case Technique::None:
        return -1;
    case Technique::Bordering:
    case Technique::Centering:
    case Technique::OneKindLeft:
        return 0;
    case Technique::UncoveredCells:
    case Technique::AvoidableDuplicates:
        return 1;
    case Technique::AvoidableDuplicatesForcingCell:
    case Technique::AlmostDuplicatesForcingCell:
        return 2;
    default:
        return 3;
    }
}

namespace {

// A pair of cells agrees when both hold the same value 0 or 1.
inline bool agree(std::int32_t a, std::int32_t b)
{
    return a == b && (a == 0 || a == 1);
}

inline bool found(Deduction &out, Technique t, const OrientedGrid &g, int cellIndex, int value)
{
    out.clear(t, g.orientation(), g.lineOf(cellIndex));
    out.add(cellIndex, value);
    return true;
}

// Visits the empty cells in CellIndex order, each with its line and its position in the
// orientation, until `decide` reports a deduction for one of them.
template <class Decide>
bool firstEmptyCell(const OrientedGrid &g, Decide decide)
{
    const int n = g.n();
    const bool rows = g.orientation() == Orientation::Rows;
    for (int r = 0, i = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c, ++i) {
            if (g.cell(i) == -1 && (rows ? decide(i, r, c) : decide(i, c, r)))
                return true;
        }
    }
    return false;
}

} // namespace

bool FindBordering(const OrientedGrid &g, Deduction &out)
{
    const int n = g.n();
    const int s = g.posStride();
    return firstEmptyCell(g, [&](int i, int, int p) {
        if (p < n - 2 && agree(g.cell(i + s), g.cell(i + 2 * s)))
            return found(out, Technique::Bordering, g, i, 1 - g.cell(i + s));
        if (p > 1 && agree(g.cell(i - s), g.cell(i - 2 * s)))
            return found(out, Technique::Bordering, g, i, 1 - g.cell(i - s));
        return false;
    });
}

bool FindCentering(const OrientedGrid &g, Deduction &out)
{
    const int n = g.n();
    const int s = g.posStride();
    return firstEmptyCell(g, [&](int i, int, int p) {
        return p > 0 && p < n - 1 && agree(g.cell(i - s), g.cell(i + s)) &&
               found(out, Technique::Centering, g, i, 1 - g.cell(i - s));
    });
}

bool FindOneKindLeft(const OrientedGrid &g, Deduction &out)
{
    const int n = g.n();
    const int half = n / 2;
    // Zeros and ones of every line of the orientation, counted once.
    std::array<std::int8_t, 14> zeros{}, ones{};
    bool anyEmpty = false;
    for (int line = 0; line < n; ++line) {
        for (int p = 0; p < n; ++p) {
            const std::int32_t v = g.at(line, p);
            zeros[line] += v == 0;
            ones[line] += v == 1;
            anyEmpty |= v == -1;
        }
    }
    if (!anyEmpty)
        return false;
    return firstEmptyCell(g, [&](int i, int line, int) {
        if (zeros[line] == half)
            return found(out, Technique::OneKindLeft, g, i, 1);
        if (ones[line] == half)
            return found(out, Technique::OneKindLeft, g, i, 0);
        return false;
    });
}

} // namespace tl
