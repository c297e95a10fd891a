#include "game/design_guard.h"

#include "solver/solver.h"

namespace tl {

bool Revalidate_Design(PuzzleRecord &design, const LineTables &tables)
{
    const int n = design.side();
    if (n == 0)
        return false;
    for (int i = 0; i < n * n; ++i) {
        const std::int16_t given = design.StartCells[static_cast<std::size_t>(i)];
        if (given < -1 || given > 1)
            return false;
    }
    // The solver copies its solution into the record it is given: use a scratch copy so the
    // design is changed only when the check passes.
    PuzzleRecord scratch = design;
    RatingSolver solver(tables, nullptr, &scratch);
    solver.GenGridSize = static_cast<std::int16_t>(n);
    solver.GenLastCell = n * n - 1;
    solver.GenLevel = 3;
    solver.GenSize = design.SizeIndex;
    solver.GenCells.assign(design.StartCells.begin(), design.StartCells.begin() + n * n);
    solver.Rate = 0;
    solver.DuplicateCount[design.SizeIndex] = 0;
    solver.HeavyCount[design.SizeIndex] = 0;
    solver.HaltGenerator = false;
    if (!solver.Solve_Puzzle())
        return false;
    // A finished board keeps every rule and holds every given cell; as each deduction is
    // forced, it is the one solution of these given cells.
    for (int i = 0; i < n * n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        design.SolutionCells[k] = static_cast<std::int16_t>(solver.WorkGrid[k]);
    }
    design.Level = solver.Rate;
    return true;
}

} // namespace tl
