#include "game/design_guard.h"

#include "solver/solver.h"

namespace tl {

bool DesignAgreesWithItsSolution(const PuzzleRecord &design)
{
    const int n = design.side();
    if (n == 0 || design.Level < 0 || design.Level > 3)
        return false;
    for (int i = 0; i < n * n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const std::int16_t sol = design.SolutionCells[k];
        const std::int16_t given = design.StartCells[k];
        if (sol != 0 && sol != 1)
            return false;
        if (given != -1 && given != sol)
            return false;
    }
    return true;
}

bool Revalidate_Design(PuzzleRecord &design, const LineTables &tables)
{
    if (!DesignAgreesWithItsSolution(design))
        return false;
    const int n = design.side();
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
    const bool solved = solver.Solve_Puzzle();
    if (!solved)
        return false;
    for (int i = 0; i < n * n; ++i)
        if (solver.WorkGrid[static_cast<std::size_t>(i)] != design.SolutionCells[static_cast<std::size_t>(i)])
            return false;
    design.Level = solver.Rate;
    return true;
}

} // namespace tl
