// The rating solver's deduction loop, its step chain and its limits.
#include "solver/solver.h"
#include "platform/fake/fakes.h"
#include "support/brute_force.h"
#include "support/solver_boards.h"

#include <gtest/gtest.h>

using namespace tl;
using tl::testboards::Board;

namespace {

struct SolverFixture : ::testing::Test {
    FakeEventPump pump;
    PuzzleRecord design;
    RatingSolver solver{SharedLineTables(), &pump, &design};

    void load(const std::vector<std::int32_t> &grid, int n, int level)
    {
        testboards::Load(solver, grid, n, level);
    }
};

} // namespace

TEST_F(SolverFixture, FullValidGridIsSolvedAfterOnePumpAndCopiedToTheDesign)
{
    std::mt19937_64 rng(3);
    const auto board = brute::RandomSolution(10, rng);
    design.SolutionCells.fill(-1);
    load(board, 10, 0);
    solver.Rate = 2;
    EXPECT_TRUE(solver.Solve_Puzzle());
    EXPECT_EQ(pump.calls, 1);
    EXPECT_EQ(solver.Rate, 2); // left as the caller set it
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(design.SolutionCells[i], board[i]);
    EXPECT_EQ(design.SolutionCells[100], -1); // cells beyond the board untouched
}

TEST_F(SolverFixture, HaltAlreadySetGivesFalseWithoutPumpingAndKeepsTheClues)
{
    std::mt19937_64 rng(4);
    auto grid = brute::RandomSolution(8, rng);
    grid[5] = -1;
    load(grid, 8, 3);
    solver.HaltGenerator = true;
    EXPECT_FALSE(solver.Solve_Puzzle());
    EXPECT_EQ(pump.calls, 0);
    EXPECT_EQ(solver.WorkGrid, grid);
}
