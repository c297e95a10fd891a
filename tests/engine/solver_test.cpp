// The rating solver's deduction loop, its step chain and its limits.
#include "solver/solver.h"
#include "platform/fake/fakes.h"
#include "support/brute_force.h"
#include "support/solver_boards.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tl;

namespace {

int emptyCells(const std::vector<std::int32_t> &g)
{
    return static_cast<int>(std::count(g.begin(), g.end(), -1));
}

// A solver whose level-2 step is scripted, to check the hand-over and the loop's guard.
class ScriptedUpperSolver : public RatingSolver {
public:
    using RatingSolver::RatingSolver;
    int calls = 0;
    std::int16_t rateSeen = -1;
    bool fillACell = false; // fill the first empty cell with 0 before answering
    bool answer = false;

    bool Solve_Step_Duplicates() override
    {
        ++calls;
        rateSeen = Rate;
        if (fillACell) {
            auto it = std::find(WorkGrid.begin(), WorkGrid.end(), -1);
            if (it != WorkGrid.end())
                *it = 0;
        }
        return answer;
    }
};

struct SolverFixture : ::testing::Test {
    FakeEventPump pump;
    PuzzleRecord design;
    RatingSolver solver{SharedLineTables(), &pump, &design};

    void load(const std::vector<std::int32_t> &grid, int n, int level)
    {
        testboards::Load(solver, grid, n, level);
    }
    // A puzzle of side n that needs level 1 (a level-0 solve cannot finish it).
    std::vector<std::int32_t> levelOnePuzzle(int n)
    {
        for (std::uint64_t seed = 1;; ++seed) {
            auto p = testboards::MakePuzzle(n, 1, seed);
            load(p, n, 0);
            if (!solver.Solve_Puzzle())
                return p;
        }
    }
};

} // namespace

// ---- The loop --------------------------------------------------------------------------------

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

TEST_F(SolverFixture, SolvesPuzzlesOfEverySizeToTheBoardTheyWereMadeFromWithOnePumpPerDeduction)
{
    for (int n : {8, 10, 12, 14}) {
        std::vector<std::int32_t> solution;
        const auto puzzle = testboards::MakePuzzle(n, 1, 100 + n, &solution);
        load(puzzle, n, 1);
        pump.calls = 0;
        ASSERT_TRUE(solver.Solve_Puzzle()) << n;
        EXPECT_EQ(solver.WorkGrid, solution);
        for (int i = 0; i < n * n; ++i)
            ASSERT_EQ(design.SolutionCells[i], solution[i]);
        // At least one deduction per pump after the first; never more pumps than empty cells + 1.
        EXPECT_GE(pump.calls, 2);
        EXPECT_LE(pump.calls, emptyCells(puzzle) + 1);
        EXPECT_EQ(solver.GenCells, std::vector<std::int16_t>(puzzle.begin(), puzzle.end()));
    }
}

TEST_F(SolverFixture, StopDuringASolveEndsItAfterTheCurrentDeduction)
{
    const auto puzzle = testboards::MakePuzzle(10, 0, 5);
    load(puzzle, 10, 0);
    ASSERT_GT(emptyCells(puzzle), 5);
    pump.onPump = [&](long call) {
        if (call == 3)
            solver.HaltGenerator = true;
    };
    EXPECT_FALSE(solver.Solve_Puzzle());
    EXPECT_EQ(pump.calls, 3);
    // Level 0 sets one cell per deduction: three deductions were kept.
    EXPECT_EQ(emptyCells(solver.WorkGrid), emptyCells(puzzle) - 3);
}

// ---- Limits and the rate --------------------------------------------------------------------

TEST_F(SolverFixture, RateAtEachLimit)
{
    const auto puzzle = levelOnePuzzle(8);

    // Limit 0 on a puzzle that needs level 1: False, rate untouched.
    load(puzzle, 8, 0);
    EXPECT_FALSE(solver.Solve_Puzzle());
    EXPECT_EQ(solver.Rate, 0);
    EXPECT_EQ(solver.TechniqueName, "One kind left in column");

    // Limit 1: solved and rated 1.
    load(puzzle, 8, 1);
    EXPECT_TRUE(solver.Solve_Puzzle());
    EXPECT_EQ(solver.Rate, 1);

    // Limit 2 on a puzzle that needs only levels 0 and 1: True, rate 1, no level-2 count.
    load(puzzle, 8, 2);
    solver.DuplicateCount[0] = 0;
    EXPECT_TRUE(solver.Solve_Puzzle());
    EXPECT_EQ(solver.Rate, 1);
    EXPECT_EQ(solver.DuplicateCount[0], 0);

    // A level-0 puzzle rates 0.
    load(testboards::MakePuzzle(8, 0, 9), 8, 3);
    EXPECT_TRUE(solver.Solve_Puzzle());
    EXPECT_EQ(solver.Rate, 0);

    // Limit 1 and a board on which nothing applies: False with rate 1.
    load(std::vector<std::int32_t>(64, -1), 8, 1);
    EXPECT_FALSE(solver.Solve_Puzzle());
    EXPECT_EQ(solver.Rate, 1);
    EXPECT_EQ(solver.TechniqueName, "Avoidable last of a kind");
}

TEST(SolverHandOver, LevelTwoIsReachedWithRateTwoAndItsAnswerIsReturned)
{
    ScriptedUpperSolver solver(SharedLineTables());
    const std::vector<std::int32_t> empty(64, -1);

    // Limit 1: level 2 is never asked.
    testboards::Load(solver, empty, 8, 1);
    solver.WorkGrid = empty;
    EXPECT_FALSE(solver.Solve_Step_Basic());
    EXPECT_EQ(solver.calls, 0);

    // Limit 2 and 3: Rate is 2 when level 2 runs, and the step returns exactly its answer.
    for (int limit : {2, 3}) {
        for (bool answer : {false, true}) {
            testboards::Load(solver, empty, 8, limit);
            solver.WorkGrid = empty;
            solver.calls = 0;
            solver.fillACell = answer;
            solver.answer = answer;
            EXPECT_EQ(solver.Solve_Step_Basic(), answer);
            EXPECT_EQ(solver.calls, 1);
            EXPECT_EQ(solver.rateSeen, 2);
        }
    }
    // A rate already at 3 is not lowered at the hand-over.
    testboards::Load(solver, empty, 8, 3);
    solver.WorkGrid = empty;
    solver.Rate = 3;
    solver.Solve_Step_Basic();
    EXPECT_EQ(solver.rateSeen, 3);
}

// ---- Faults the loop guards against ------------------------------------------------------------

TEST(SolverGuards, AStepThatClaimsADeductionWithoutFillingACellEndsTheSolve)
{
    FakeEventPump pump;
    ScriptedUpperSolver solver(SharedLineTables(), &pump);
    testboards::Load(solver, std::vector<std::int32_t>(64, -1), 8, 2);
    solver.answer = true; // claims a deduction, changes nothing
    EXPECT_FALSE(solver.Solve_Puzzle());
    EXPECT_EQ(solver.calls, 1);
    EXPECT_EQ(pump.calls, 1);
}

TEST_F(SolverFixture, FullBoardsThatBreakTheRulesAreNotSolved)
{
    std::mt19937_64 rng(8);
    const auto valid = brute::RandomSolution(8, rng);
    design.SolutionCells.fill(7);

    // No empty cell, but every cell 0.
    load(std::vector<std::int32_t>(64, 0), 8, 3);
    EXPECT_FALSE(solver.Solve_Puzzle());

    // Row 1 replaced by a copy of row 0.
    auto twins = valid;
    std::copy(valid.begin(), valid.begin() + 8, twins.begin() + 8);
    load(twins, 8, 3);
    EXPECT_FALSE(solver.Solve_Puzzle());

    // A clue grid that the steps fill into a broken board: cell 1 flipped, cell 0 emptied.
    auto broken = valid;
    broken[1] = 1 - broken[1];
    broken[0] = -1;
    load(broken, 8, 1);
    EXPECT_FALSE(solver.Solve_Puzzle());
    EXPECT_NE(solver.WorkGrid[0], -1); // the steps did fill it

    // Cell values other than -1, 0 and 1.
    auto odd = valid;
    odd[10] = 2;
    load(odd, 8, 3);
    EXPECT_FALSE(solver.Solve_Puzzle());

    EXPECT_EQ(design.SolutionCells[0], 7); // the design was never written
}

TEST_F(SolverFixture, ARequestDuringEventProcessingIsRefusedAndTheRunningSolveGoesOn)
{
    const auto puzzle = testboards::MakePuzzle(8, 1, 21);
    load(puzzle, 8, 1);
    int nestedResults = 0;
    std::vector<std::int32_t> gridSeenByNested;
    pump.onPump = [&](long call) {
        if (call == 2) {
            EXPECT_TRUE(solver.Running());
            gridSeenByNested = solver.WorkGrid;
            nestedResults += solver.Solve_Puzzle() ? 100 : 1;
            EXPECT_EQ(solver.WorkGrid, gridSeenByNested); // left alone
        }
    };
    EXPECT_TRUE(solver.Solve_Puzzle());
    EXPECT_EQ(nestedResults, 1);
    EXPECT_FALSE(solver.Running());
    // After the run a new request is served again.
    pump.onPump = nullptr;
    load(puzzle, 8, 1);
    EXPECT_TRUE(solver.Solve_Puzzle());
}

TEST_F(SolverFixture, ABoardChangedDuringEventProcessingEndsTheSolve)
{
    const auto puzzle = testboards::MakePuzzle(8, 1, 22);

    // The interface switched to a 14 x 14 board in the middle of an 8 x 8 solve.
    load(puzzle, 8, 1);
    pump.onPump = [&](long call) {
        if (call == 2)
            testboards::Load(solver, std::vector<std::int32_t>(196, -1), 14, 1);
    };
    EXPECT_FALSE(solver.Solve_Puzzle());
    EXPECT_EQ(solver.WorkGrid.size(), 64u);

    // The working grid cut short by someone else.
    load(puzzle, 8, 1);
    pump.calls = 0;
    pump.onPump = [&](long call) {
        if (call == 2)
            solver.WorkGrid.resize(10);
    };
    EXPECT_FALSE(solver.Solve_Puzzle());
}

TEST_F(SolverFixture, AnInterfaceThatDescribesNoBoardIsRefused)
{
    const auto puzzle = testboards::MakePuzzle(8, 1, 23);
    load(puzzle, 8, 1);
    solver.GenLastCell = 99; // disagrees with N = 8
    EXPECT_FALSE(solver.Solve_Puzzle());
    load(puzzle, 8, 1);
    solver.GenCells.resize(40); // shorter than the board
    EXPECT_FALSE(solver.Solve_Puzzle());
    load(puzzle, 8, 1);
    solver.GenGridSize = 9;
    solver.GenLastCell = 80;
    solver.GenCells.resize(81, -1);
    EXPECT_FALSE(solver.Solve_Puzzle());
    EXPECT_EQ(pump.calls, 0);
    // The steps called on their own refuse a working grid of the wrong size.
    load(puzzle, 8, 1);
    solver.WorkGrid.assign(10, -1);
    EXPECT_FALSE(solver.Solve_Step_Basic());
    EXPECT_FALSE(solver.Solve_Step_Last_Of_Kind());
}

TEST(ValidFullBoard, RulesOfAFinishedBoard)
{
    std::mt19937_64 rng(12);
    for (int n : {8, 10, 12, 14}) {
        auto b = brute::RandomSolution(n, rng);
        EXPECT_TRUE(IsValidFullBoard(b.data(), n));
        // Exchanging two cells of a row keeps its counts but breaks a column's.
        auto swapped = b;
        const int a = 0, c = std::find(b.begin() + 1, b.begin() + n, 1 - b[0]) - b.begin();
        std::swap(swapped[a], swapped[c]);
        EXPECT_FALSE(IsValidFullBoard(swapped.data(), n));
        auto empty = b;
        empty[n + 1] = -1;
        EXPECT_FALSE(IsValidFullBoard(empty.data(), n));
    }
    EXPECT_FALSE(IsValidFullBoard(std::vector<std::int32_t>(64, 0).data(), 8));
    EXPECT_FALSE(IsValidFullBoard(std::vector<std::int32_t>(81, 0).data(), 9));
}
