// The designer's validation without its window: what is refused, what is accepted, and a
// validated design that is changed again.
#include "designer/design_model.h"
#include "platform/fake/fakes.h"
#include "support/make_test_stock.h"
#include "support/solution_counter.h"
#include "support/solver_boards.h"

#include <gtest/gtest.h>

#include <random>

using namespace tl;

namespace {

class DesignModelTest : public ::testing::Test {
protected:
    // Starts a design of the size of `grid` and types it in by clicks (-1, 0, 1 per cell).
    void Type(const std::vector<int> &grid)
    {
        int n = 8;
        while (n * n < int(grid.size()))
            n += 2;
        model.Choose_Size(n / 2 - 4);
        model.Init_Design();
        for (int i = 0; i < int(grid.size()); ++i)
            for (int k = 0; k <= grid[i]; ++k)
                ASSERT_TRUE(model.Grid_MouseUp(i / n * kMaxSide + i % n));
    }

    PuzzleRecord design;
    bool playing = false;
    FakeMessageBox messages;
    DesignModel model{design, playing, SharedLineTables(), messages, nullptr};
};

TEST_F(DesignModelTest, OnlyADesignWithOneSolutionIsAccepted)
{
    const auto valid = test::MakeValidBoard(8, 7);
    auto broken = valid;
    broken[0] ^= 1; // full, but row 0 and column 0 no longer balance
    auto filledBroken = broken;
    filledBroken[63] = -1; // far from the broken cell: the solver fills it from its own row
    const std::string no = "Your design has no unique solution.";
    const struct {
        const char *name;
        std::vector<int> grid;
        std::string text;
    } cases[] = {
        {"Empty", std::vector<int>(64, -1), no},
        {"FullBreakingTheRules", broken, no},
        {"GivensFilledIntoABrokenBoard", filledBroken, no},
        {"FullAndValid", valid,
         "Your design has one unique solution.\n \nRate = 0\nDuplicate = 0\nHeavy = 0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Type(c.grid);
        const PuzzleRecord before = design;
        ASSERT_TRUE(model.Command2_Click());
        EXPECT_EQ(messages.shown.back().title, "Validate Result");
        EXPECT_EQ(messages.shown.back().text, c.text);
        EXPECT_TRUE(model.Solver().HaltGenerator);
        const auto &work = model.Solver().WorkGrid;
        EXPECT_EQ(std::count(work.begin(), work.end(), -1) == 0, c.grid != cases[0].grid);
        const bool accepted = c.text != no;
        EXPECT_EQ(model.SolveEnabled(), accepted);
        EXPECT_EQ(model.Command3_Click(), accepted);
        if (!accepted) {
            EXPECT_EQ(design, before);
            continue;
        }
        EXPECT_TRUE(playing);
        for (int i = 0; i < 64; ++i) {
            EXPECT_EQ(design.SolutionCells[i], valid[i]);
            EXPECT_EQ(model.Grid[i / 8 * kMaxSide + i % 8].back, colour::ValidatedGiven);
        }
    }
}

TEST_F(DesignModelTest, ChangingAValidatedDesignReturnsToEditingUntilValidatedAgain)
{
    const auto p = testboards::MakePuzzle(14, 1, 3);
    const std::vector<int> puzzle(p.begin(), p.end());
    Type(puzzle);
    ASSERT_TRUE(model.Command2_Click());
    const PuzzleRecord validated = design;
    const int given = int(std::find(puzzle.begin(), puzzle.end(), 1) - puzzle.begin());
    ASSERT_TRUE(model.Grid_MouseUp(given)); // 1 -> empty (the label index is the cell's at 14)

    EXPECT_EQ(model.State(), DesignState::Editing);
    EXPECT_FALSE(model.Command3_Click());
    CellGrid unsolved;
    unsolved.fill(-1);
    EXPECT_EQ(design.SolutionCells, unsolved);
    EXPECT_EQ(design.Level, 0);
    for (int i = 0; i < 196; ++i) {
        EXPECT_EQ(model.Grid[i].back, colour::WindowBack);
        EXPECT_EQ(model.Grid[i].caption,
                  puzzle[i] == -1 || i == given ? "" : std::to_string(puzzle[i]));
    }
    // Put back, it validates again as before.
    model.Grid_MouseUp(given);
    model.Grid_MouseUp(given);
    ASSERT_TRUE(model.Command2_Click());
    EXPECT_EQ(design, validated);
    EXPECT_EQ(messages.shown[0].text, messages.shown[1].text);
}

// Random designs of every size, many of them with given cells that contradict each other: a
// design is accepted only when it has one solution, and that solution is what is stored.
TEST_F(DesignModelTest, AcceptsOnlyADesignWithOneSolutionAndStoresIt)
{
    std::mt19937_64 rng(2024);
    std::vector<std::vector<int>> boards[kSizes];
    for (int s = 0; s < kSizes; ++s)
        for (int seed = 0; seed < 3; ++seed)
            boards[s].push_back(test::MakeValidBoard(SideOfSizeIndex(s), seed));
    int accepted = 0;
    const int rounds = 200;
    for (int round = 0; round < rounds; ++round) {
        const int n = 8 + 2 * (round % 4);
        auto grid = boards[round % 4][rng() % 3];
        const int keepPercent = 45 + int(rng() % 55);
        for (int &v : grid)
            if (int(rng() % 100) >= keepPercent)
                v = -1;
        for (int flips = int(rng() % 3); flips > 0; --flips) {
            int &v = grid[rng() % grid.size()];
            if (v != -1)
                v ^= 1;
        }
        Type(grid);
        ASSERT_TRUE(model.Command2_Click());
        if (!model.SolveEnabled())
            continue;
        ++accepted;
        SCOPED_TRACE(testing::Message() << "round " << round);
        const std::vector<std::int32_t> clues(grid.begin(), grid.end());
        ASSERT_EQ(brute::CountSolutions(n, clues, 2), 1);
        const std::vector<int> solution(design.SolutionCells.begin(),
                                        design.SolutionCells.begin() + n * n);
        EXPECT_TRUE(test::IsSolvedBoard(solution, n));
        for (int i = 0; i < n * n; ++i) {
            if (grid[i] != -1) {
                EXPECT_EQ(solution[i], grid[i]);
            }
        }
    }
    // Both answers came often enough for the check to mean something.
    EXPECT_GT(accepted, rounds / 5);
    EXPECT_LT(accepted, rounds * 4 / 5);
}

} // namespace
