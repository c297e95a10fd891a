// The hint engine against the rating solver on boards made from the shipped stock: a puzzle's
// given cells, some of them taken away, and some empty cells filled from its solution. On every
// board the hint finds a level-0 or level-1 deduction exactly when the solver limited to level 1
// makes one, and marks the cells that deduction decides; every marked cell (by any link) holds
// its solution's value in every completion of the board; and an Uncovered cell(s) hint marks exactly the cells
// that the solver's finder decides on the same line.
#include "hints/hint_engine.h"
#include "solver/solver.h"
#include "support/hint_boards.h"
#include "support/recording_hint_window.h"
#include "support/solution_counter.h"
#include "support/solver_boards.h"
#include "support/stock_sets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>

using namespace tl;
using tl::test::RecordingHintWindow;

namespace {

// A board of the puzzle: each given cell kept with probability 1 - `dropGiven`, each other
// cell filled from the solution with probability `fill`.
std::vector<std::int32_t> MakeState(const PuzzleRecord &r, int n, double dropGiven, double fill,
                                    std::mt19937_64 &rng)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::int32_t> grid(n * n);
    for (int i = 0; i < n * n; ++i) {
        const bool given = r.StartCells[i] != -1;
        const bool keep = given ? unit(rng) >= dropGiven : unit(rng) < fill;
        grid[i] = keep ? r.SolutionCells[i] : -1;
    }
    return grid;
}

// The cells (CellIndex) a deduction decides, and the cells coloured by a hint.
std::set<int> CellsOf(const Deduction &d)
{
    return std::set<int>(d.cells.begin(), d.cells.begin() + d.count);
}

std::set<int> MarkedCells(const RecordingHintWindow &w, int n)
{
    std::set<int> out;
    for (int g : w.Coloured(kHintedCellColour))
        out.insert(g / kMaxSide * n + g % kMaxSide);
    return out;
}

// The share of given cells taken away, by size (the counter's time grows with the completions).
constexpr double kDropGiven[kSizes] = {0.4, 0.35, 0.3, 0.25};

class HintAgainstSolver : public ::testing::TestWithParam<int> {};

TEST_P(HintAgainstSolver, SameDeductionsOnStockBoards)
{
    ASSERT_EQ(test::ShippedStock().size(), static_cast<std::size_t>(kStockRecords));
    const int level = GetParam() / kSizes;
    const int size = GetParam() % kSizes;
    const int n = SideOfSizeIndex(size);
    RatingSolver solver(SharedLineTables());
    std::mt19937_64 rng(1000 + GetParam());
    std::uniform_real_distribution<double> share(0.0, 0.7);
    int hinted = 0, none = 0;
    std::map<Technique, int> byTechnique;

    for (int number = 1; number <= kPuzzlesPerSet; ++number) {
        const PuzzleRecord &r = test::ShippedStock()[RecordNumber(level, size, number) - 1];
        const std::vector<std::int32_t> solution(r.SolutionCells.begin(),
                                                 r.SolutionCells.begin() + n * n);
        for (int state = 0; state < 12; ++state) {
            // The start board, boards with cells filled from the solution, and boards with some
            // given cells taken away as well; every odd state is the even one after a solve
            // limited to level 0 has stopped on it (skipped when it finishes the board), so the
            // level-1 blocks and boards without a level-1 deduction come up often.
            const int base = state / 2;
            const double drop = base >= 4 ? kDropGiven[size] : 0.0;
            std::vector<std::int32_t> grid = MakeState(r, n, drop, base == 0 ? 0.0 : share(rng), rng);
            if (state % 2 == 1) {
                testboards::Load(solver, grid, n, base == 0 ? 1 : 0);
                if (solver.Solve_Puzzle())
                    continue;
                grid = solver.WorkGrid;
            }
            const test::HintBoard board = test::HintBoardFrom(grid, solution, n);
            SCOPED_TRACE("puzzle " + std::to_string(number) + " state " + std::to_string(state) +
                         "\n" + testboards::Show(grid, n));

            RecordingHintWindow w;
            const HintOutcome o = Show_Hint(board.Puzzle(), SharedLineTables(), w);
            testboards::Load(solver, grid, n, 1);
            solver.WorkGrid = grid;
            const bool solverDeduces = solver.Solve_Step_Basic();

            // Every filled cell agrees with the solution, and an empty cell is never wrong.
            ASSERT_NE(o.result, HintResult::WrongCell);
            const bool lowerHint =
                o.result == HintResult::Hinted && TechniqueLevel(o.technique) <= 1;
            ASSERT_EQ(lowerHint, solverDeduces);
            const std::set<int> marked = MarkedCells(w, n);
            // Every marked cell is forced, whichever link marked it: no completion has the
            // other value there.
            for (int cell : marked) {
                std::vector<std::int32_t> other = grid;
                other[cell] = 1 - solution[cell];
                EXPECT_EQ(brute::CountSolutions(n, other, 1), 0) << "cell " << cell;
            }
            if (!solverDeduces) {
                ++none;
                continue;
            }
            ++hinted;
            ++byTechnique[o.technique];

            // The solver's first deduction is the hint's: the same chain order, one finder.
            std::set<int> solverCells;
            for (int i = 0; i < n * n; ++i) {
                if (solver.WorkGrid[i] != grid[i]) {
                    solverCells.insert(i);
                    EXPECT_EQ(solver.WorkGrid[i], solution[i]) << "cell " << i;
                }
            }
            EXPECT_EQ(marked, solverCells);

            // Uncovered cell(s): the solver's finder on the hint's own line decides those cells.
            if (o.technique == Technique::UncoveredCells) {
                const bool columns = w.info == hint_text::kUncoveredColumn;
                const OrientedGrid g(GridView{grid.data(), n},
                                     columns ? Orientation::Columns : Orientation::Rows);
                const int line = g.lineOf(*marked.begin());
                for (int cell : marked)
                    ASSERT_EQ(g.lineOf(cell), line) << "one line per hint";
                Deduction d;
                if (!ExamineLineByCounting(g, line, d)) {
                    ASSERT_TRUE(ExamineLineByValidLines(g, line, SharedLineTables(), d));
                }
                EXPECT_EQ(CellsOf(d), marked);
            }
        }
    }
    // The boards exercise both outcomes.
    EXPECT_GT(hinted, 500);
    if (level >= 1) {
        EXPECT_GT(byTechnique[Technique::UncoveredCells], 0);
    }
    if (level >= 2) {
        EXPECT_GT(none, 0);
    }
    for (auto [t, count] : byTechnique)
        RecordProperty("technique_" + std::to_string(static_cast<int>(t)), count);
}

INSTANTIATE_TEST_SUITE_P(AllSets, HintAgainstSolver, ::testing::Range(0, kLevels * kSizes),
                         test::StockSetName);

} // namespace
