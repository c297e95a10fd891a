#include "solver/solver.h"

#include <algorithm>
#include <bit>

namespace tl {

namespace {

bool supportedSide(int n)
{
    return n == 8 || n == 10 || n == 12 || n == 14;
}

// Clears a flag when it leaves scope, whichever way the solve ends.
struct RunningGuard {
    bool &flag;
    explicit RunningGuard(bool &f) : flag(f) { flag = true; }
    ~RunningGuard() { flag = false; }
};

} // namespace

bool IsValidFullBoard(const std::int32_t *cells, int n)
{
    if (!supportedSide(n))
        return false;
    std::array<std::uint32_t, 14> rowBits{}, colBits{};
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            const std::int32_t v = cells[r * n + c];
            if (v != 0 && v != 1)
                return false;
            rowBits[r] |= static_cast<std::uint32_t>(v) << c;
            colBits[c] |= static_cast<std::uint32_t>(v) << r;
        }
    }
    const std::uint32_t all = (1u << n) - 1;
    auto validLine = [&](std::uint32_t bits) {
        if (std::popcount(bits) != n / 2)
            return false;
        for (int k = 0; k + 2 < n; ++k) {
            const std::uint32_t three = (bits >> k) & 7u;
            if (three == 0 || three == 7)
                return false;
        }
        return (bits & ~all) == 0;
    };
    for (int a = 0; a < n; ++a) {
        if (!validLine(rowBits[a]) || !validLine(colBits[a]))
            return false;
        for (int b = 0; b < a; ++b) {
            if (rowBits[a] == rowBits[b] || colBits[a] == colBits[b])
                return false;
        }
    }
    return true;
}

RatingSolver::RatingSolver(const LineTables &tables, EventPump *pump, PuzzleRecord *design)
    : DesignPuzzle(design), tables_(tables), pump_(pump)
{
}

bool RatingSolver::WorkGridUsable() const
{
    return supportedSide(GenGridSize) &&
           WorkGrid.size() == static_cast<std::size_t>(GenGridSize) * GenGridSize;
}

int RatingSolver::Apply(const Deduction &d)
{
    int changed = 0;
    for (int k = 0; k < d.count; ++k) {
        std::int32_t &cell = WorkGrid[d.cells[k]];
        changed += cell != d.values[k];
        cell = d.values[k];
    }
    return changed;
}

bool RatingSolver::Solve_Puzzle()
{
    // A request made from inside the event processing of a running solve is refused: the
    // running solve owns WorkGrid.
    if (running_)
        return false;
    RunningGuard guard(running_);

    // The grid this solve works on; the interface must describe it consistently.
    const int n = GenGridSize;
    const std::int32_t last = GenLastCell;
    if (!supportedSide(n) || last != n * n - 1 || GenCells.size() < static_cast<std::size_t>(last) + 1)
        return false;
    const std::size_t cellCount = static_cast<std::size_t>(last) + 1;

    WorkGrid.resize(cellCount);
    std::copy(GenCells.begin(), GenCells.begin() + cellCount, WorkGrid.begin());
    if (HaltGenerator)
        return false;

    for (;;) {
        if (pump_)
            pump_->pumpEvents();
        // Event processing may have handed the interface a different board; this solve never
        // reaches past the grid it started with.
        if (GenGridSize != n || GenLastCell != last || WorkGrid.size() != cellCount)
            return false;

        const auto firstEmpty = std::find(WorkGrid.begin(), WorkGrid.end(), -1);
        if (firstEmpty == WorkGrid.end()) {
            // A full board counts as solved only when it keeps every rule.
            if (!IsValidFullBoard(WorkGrid.data(), n))
                return false;
            if (DesignPuzzle) {
                for (std::size_t i = 0; i < cellCount; ++i)
                    DesignPuzzle->SolutionCells[i] = static_cast<std::int16_t>(WorkGrid[i]);
            }
            return true;
        }

        const auto emptyBefore = std::count(firstEmpty, WorkGrid.end(), -1);
        if (!Solve_Step_Basic())
            return false;
        // Every deduction fills at least one cell; a step that claims one without filling a
        // cell would make this loop run for ever.
        if (WorkGrid.size() != cellCount || std::count(WorkGrid.begin(), WorkGrid.end(), -1) >= emptyBefore)
            return false;
        if (HaltGenerator)
            return false;
    }
}

bool RatingSolver::Solve_Step_Basic()
{
    if (!WorkGridUsable())
        return false;
    const GridView view = WorkView();
    const OrientedGrid rows(view, Orientation::Rows);
    const OrientedGrid cols(view, Orientation::Columns);
    Deduction d;

    TechniqueName = labels::kBorderingCentering;
    if (FindBordering(rows, d) || FindBordering(cols, d) || FindCentering(rows, d) ||
        FindCentering(cols, d)) {
        Apply(d);
        return true;
    }
    TechniqueName = labels::kOneKindLeftRow;
    if (FindOneKindLeft(rows, d)) {
        Apply(d);
        return true;
    }
    TechniqueName = labels::kOneKindLeftColumn;
    if (FindOneKindLeft(cols, d)) {
        Apply(d);
        return true;
    }

    if (GenLevel <= 0)
        return false;
    if (Rate < 1)
        Rate = 1;
    return Solve_Step_Last_Of_Kind();
}

bool RatingSolver::Solve_Step_Last_Of_Kind()
{
    if (!WorkGridUsable())
        return false;
    const GridView view = WorkView();
    const OrientedGrid rows(view, Orientation::Rows);
    const OrientedGrid cols(view, Orientation::Columns);
    Deduction d;

    TechniqueName = labels::kUncoveredRow;
    if (FindUncoveredByCounting(rows, d)) {
        Apply(d);
        return true;
    }
    // The valid-line form runs on under the column label.
    TechniqueName = labels::kUncoveredColumn;
    if (FindUncoveredByCounting(cols, d) || FindUncoveredByValidLines(rows, tables_, d) ||
        FindUncoveredByValidLines(cols, tables_, d)) {
        Apply(d);
        return true;
    }
    TechniqueName = labels::kAvoidableLastOfKind;
    if (FindAvoidableDuplicates(rows, d) || FindAvoidableDuplicates(cols, d)) {
        Apply(d);
        return true;
    }

    if (GenLevel <= 1)
        return false;
    if (Rate < 2)
        Rate = 2;
    return Solve_Step_Duplicates();
}

} // namespace tl
