#include "game/design_guard.h"
#include "support/make_test_stock.h"

#include <gtest/gtest.h>

using namespace tl;

namespace {
// A design as the designer hands it over after a successful validation: given cells, the
// solution found for them, every other field 0 (ExtraCells -1).
PuzzleRecord ValidatedDesign(const LineTables &tables, unsigned seed)
{
    PuzzleRecord d;
    d.SizeIndex = 0;
    d.StartCells.fill(-1);
    d.SolutionCells.fill(-1);
    d.ExtraCells.fill(-1);
    const auto board = test::MakeValidBoard(8, seed);
    for (int i = 0; i < 64; ++i) {
        d.SolutionCells[i] = static_cast<std::int16_t>(board[i]);
        d.StartCells[i] = static_cast<std::int16_t>(board[i]);
    }
    // Clear cells while the solver still finishes the board: a design it validates.
    for (int i = 0; i < 64; i += 3) {
        PuzzleRecord trial = d;
        trial.StartCells[i] = -1;
        if (Revalidate_Design(trial, tables))
            d = trial;
    }
    return d;
}

struct DesignGuard : ::testing::Test {
    LineTables tables;
    GeneratorThresholds thresholds;
    void SetUp() override { Init_Line_Tables(tables, thresholds); }
};
} // namespace

TEST_F(DesignGuard, AValidatedDesignPassesWithItsSolutionAndRate)
{
    const PuzzleRecord validated = ValidatedDesign(tables, 7);
    PuzzleRecord d = validated;
    d.Level = 3; // whatever the designer wrote, the rate of the check is kept
    ASSERT_TRUE(Revalidate_Design(d, tables));
    EXPECT_GE(d.Level, 0);
    EXPECT_LE(d.Level, 1);
    EXPECT_EQ(d.SolutionCells, validated.SolutionCells);
    EXPECT_EQ(d.StartCells, validated.StartCells);
}

TEST_F(DesignGuard, AHandOverWhoseGivenCellsAreNotTheValidatedOnesIsCheckedAgain)
{
    const PuzzleRecord first = ValidatedDesign(tables, 7);
    const PuzzleRecord second = ValidatedDesign(tables, 23);
    ASSERT_NE(first.SolutionCells, second.SolutionCells);

    // The record of the first design with the given cells of the second: it is played with
    // the solution of the cells handed over, not with the one that came with them.
    PuzzleRecord handed = first;
    handed.StartCells = second.StartCells;
    ASSERT_TRUE(Revalidate_Design(handed, tables));
    EXPECT_EQ(handed.SolutionCells, second.SolutionCells);
    for (int i = 0; i < 64; ++i) {
        if (handed.StartCells[i] != -1) {
            EXPECT_EQ(handed.StartCells[i], handed.SolutionCells[i]) << i;
        }
    }

    // Three equal given cells side by side: no solution at all. Nothing changes.
    PuzzleRecord broken = first;
    for (int c = 0; c < 3; ++c)
        broken.StartCells[c] = 0;
    EXPECT_FALSE(Revalidate_Design(broken, tables));
    EXPECT_EQ(broken.SolutionCells, first.SolutionCells);
    EXPECT_EQ(broken.Level, first.Level);

    // Givens cleared from a validated design: logic can no longer finish the board.
    PuzzleRecord emptied = first;
    for (int i = 0; i < 48; ++i)
        emptied.StartCells[i] = -1;
    EXPECT_FALSE(Revalidate_Design(emptied, tables));
    EXPECT_EQ(emptied.SolutionCells, first.SolutionCells);

    // A record of no supported size, or with a given cell that is no cell value.
    PuzzleRecord badSize = first;
    badSize.SizeIndex = 4;
    EXPECT_FALSE(Revalidate_Design(badSize, tables));
    PuzzleRecord badCell = first;
    badCell.StartCells[5] = 2;
    EXPECT_FALSE(Revalidate_Design(badCell, tables));
}
