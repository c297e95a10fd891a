// The forces-opposite test of the avoidable sandwich's second search.
#include "solver/upper_finders.h"

namespace tl {

bool ForcesOpposite(const OrientedGrid &g, int pos1, int pos2, int lineNr, std::int32_t pattern,
                    std::int32_t mask, const LineTables &tables)
{
    const int n = g.n();
    // Without a table of valid lines no line can hold v at pos1 without the opposite at pos2,
    // so the answer is true, as it is for any line that no valid line fits; positions and lines
    // off the board are refused rather than read.
    if (!SupportedSide(n))
        return true;
    if (pos1 < 0 || pos1 >= n || pos2 < 0 || pos2 >= n || lineNr < 0 || lineNr >= n)
        return false;
    const std::int32_t v = g.at(lineNr, pos1) == 0 ? 0 : 1; // an empty cell counts as 1
    const std::int32_t m1 = mask | (3 << (2 * pos1));
    const std::int32_t m2 = mask | (3 << (2 * pos2));
    const std::int32_t p1 = pattern | ((v == 0 ? kCodeZero : kCodeOne) << (2 * pos1));
    const std::int32_t p2 = pattern | ((v == 0 ? kCodeOne : kCodeZero) << (2 * pos2));
    const std::vector<std::int32_t> &codes = tables.codes(n);
    for (const std::int32_t e : codes)
        if ((e & m1) == p1 && (e & m2) != p2)
            return false;
    return true;
}

} // namespace tl
