// The upper part of the rating solver's chain: the level-2 step and the two level-3 steps.
// Each step stores a technique's label before its search, writes the first deduction into
// WorkGrid (one cell), counts it in slot GenSize and returns at once.
#include "solver/solver.h"

namespace tl {

bool RatingSolver::applyCounted(const Deduction &d, std::array<std::int16_t, 4> &counts)
{
    Apply(d);
    // GenSize picks the slot whatever N is; a slot outside 0..3 is not counted.
    if (GenSize >= 0 && GenSize < 4)
        ++counts[GenSize];
    return true;
}

void RatingSolver::scanLines(LineScans &out) const
{
    const int n = GenGridSize;
    if (!bitsLive_) {
        out.rows = ScanLines(OrientedGrid(WorkView(), Orientation::Rows));
        out.cols = ScanLines(OrientedGrid(WorkView(), Orientation::Columns));
        return;
    }
    for (int l = 0; l < n; ++l) {
        out.rows[l] = LineScan{bits_.rowZero[l] | bits_.rowOne[l], bits_.rowOne[l], bits_.rowZeros[l],
                               bits_.rowOnes[l]};
        out.cols[l] = LineScan{bits_.colZero[l] | bits_.colOne[l], bits_.colOne[l], bits_.colZeros[l],
                               bits_.colOnes[l]};
    }
}

bool RatingSolver::Solve_Step_Duplicates()
{
    if (!WorkGridUsable())
        return false;
    const GridView view = WorkView();
    LineScans scans;
    scanLines(scans);
    const OrientedGrid rows(view, Orientation::Rows, scans.rows.data());
    const OrientedGrid cols(view, Orientation::Columns, scans.cols.data());
    Deduction d;
    TechniqueName = labels::kAvoidableForcingCell;
    if (FindAvoidableForcingCell1(rows, tables_, d) || FindAvoidableForcingCell1(cols, tables_, d) ||
        FindAvoidableForcingCell2(rows, tables_, d) || FindAvoidableForcingCell2(cols, tables_, d))
        return applyCounted(d, DuplicateCount);
    TechniqueName = labels::kAlmostDuplicates;
    if (FindAlmostDuplicates(rows, d) || FindAlmostDuplicates(cols, d))
        return applyCounted(d, DuplicateCount);
    if (GenLevel <= 2)
        return false;
    if (Rate < 3)
        Rate = 3;
    return Solve_Step_Rectangles();
}

bool RatingSolver::Solve_Step_Rectangles()
{
    couplesCurrent_ = false;
    if (!WorkGridUsable())
        return false;
    const GridView view = WorkView();
    LineScans scans;
    scanLines(scans);
    const OrientedGrid rows(view, Orientation::Rows, scans.rows.data());
    const OrientedGrid cols(view, Orientation::Columns, scans.cols.data());
    const int n = GenGridSize;
    BuildCouples(rows, cols, tables_, couples_, &coupleMemo_);
    Deduction d;
    TechniqueName = labels::kRectangleLeftover;
    if (FindRectangleLeftover(rows, couples_, n - 1, d) ||
        FindRectangleLeftover(cols, couples_, n - 1, d))
        return applyCounted(d, HeavyCount);
    TechniqueName = labels::kForcedRectangle;
    if (FindForcedRectangle(rows, couples_, d) || FindForcedRectangle(cols, couples_, d))
        return applyCounted(d, HeavyCount);
    TechniqueName = labels::kRectangleForcingCell;
    if (FindRectangleForcingCell(rows, d) || FindRectangleForcingCell(cols, d))
        return applyCounted(d, HeavyCount);
    TechniqueName = labels::kAvoidableSandwich;
    if (FindSandwichFirst(rows, tables_, d) || FindSandwichFirst(cols, tables_, d) ||
        FindSandwichSecond(rows, tables_, d) || FindSandwichSecond(cols, tables_, d))
        return applyCounted(d, HeavyCount);
    // Chained couples belong to level 3 as well: no limit test, Rate unchanged.
    couplesCurrent_ = true;
    return Solve_Step_Chained_Couples();
}

bool RatingSolver::Solve_Step_Chained_Couples()
{
    const bool reuse = couplesCurrent_;
    couplesCurrent_ = false;
    if (!WorkGridUsable())
        return false;
    const GridView view = WorkView();
    LineScans scans;
    scanLines(scans);
    const OrientedGrid rows(view, Orientation::Rows, scans.rows.data());
    const OrientedGrid cols(view, Orientation::Columns, scans.cols.data());
    if (!reuse)
        BuildCouples(rows, cols, tables_, couples_, &coupleMemo_);
    Deduction d;
    TechniqueName = labels::kChainedForcingCell;
    if (FindChainedForcing(view, couples_, d))
        return applyCounted(d, HeavyCount);
    TechniqueName = labels::kChainedLeftover;
    if (FindChainedLeftover(rows, couples_, d) || FindChainedLeftover(cols, couples_, d))
        return applyCounted(d, HeavyCount);
    return false;
}

bool RatingSolver::Gen_Row_Forces_Opposite(std::int32_t pos1, std::int32_t pos2, std::int32_t lineNr,
                                           std::int32_t pattern, std::int32_t mask) const
{
    if (!WorkGridUsable())
        return false;
    return ForcesOpposite(OrientedGrid(WorkView(), Orientation::Rows), pos1, pos2, lineNr, pattern,
                          mask, tables_);
}

bool RatingSolver::Gen_Col_Forces_Opposite(std::int32_t pos1, std::int32_t pos2, std::int32_t lineNr,
                                           std::int32_t pattern, std::int32_t mask) const
{
    if (!WorkGridUsable())
        return false;
    return ForcesOpposite(OrientedGrid(WorkView(), Orientation::Columns), pos1, pos2, lineNr,
                          pattern, mask, tables_);
}

} // namespace tl
