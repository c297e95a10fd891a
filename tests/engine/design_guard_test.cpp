#include "game/design_guard.h"
#include "support/make_test_stock.h"

#include <gtest/gtest.h>

using namespace tl;

namespace {
// A design as the designer hands it over after a successful validation: given cells, the
// solution found for them, every other field 0 (ExtraCells -1).
PuzzleRecord ValidatedDesign(const LineTables &tables)
{
    PuzzleRecord d;
    d.SizeIndex = 0;
    d.StartCells.fill(-1);
    d.SolutionCells.fill(-1);
    d.ExtraCells.fill(-1);
    const auto board = test::MakeValidBoard(8, 7);
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
} // namespace

TEST(DesignGuard, AValidatedDesignPassesWithItsRate)
{
    LineTables tables;
    GeneratorThresholds thresholds;
    Init_Line_Tables(tables, thresholds);
    PuzzleRecord d = ValidatedDesign(tables);
    d.Level = 3; // whatever the designer wrote, the rate of the check is kept
    ASSERT_TRUE(Revalidate_Design(d, tables));
    EXPECT_GE(d.Level, 0);
    EXPECT_LE(d.Level, 1);
}

TEST(DesignGuard, GivenCellsChangedAfterValidationAreRefused)
{
    LineTables tables;
    GeneratorThresholds thresholds;
    Init_Line_Tables(tables, thresholds);
    const PuzzleRecord d = ValidatedDesign(tables);

    // A given cell turned to the other value contradicts the solution.
    PuzzleRecord changed = d;
    int given = 0;
    while (changed.StartCells[given] == -1)
        ++given;
    changed.StartCells[given] = static_cast<std::int16_t>(1 - changed.StartCells[given]);
    EXPECT_FALSE(DesignAgreesWithItsSolution(changed));
    EXPECT_FALSE(Revalidate_Design(changed, tables));

    // Givens cleared after the validation: the solution can no longer be reached by logic.
    PuzzleRecord emptied = d;
    for (int i = 0; i < 48; ++i)
        emptied.StartCells[i] = -1;
    const std::int16_t level = emptied.Level;
    EXPECT_TRUE(DesignAgreesWithItsSolution(emptied));
    EXPECT_FALSE(Revalidate_Design(emptied, tables));
    EXPECT_EQ(emptied.Level, level);

    // A design that was never validated has no solution at all.
    PuzzleRecord fresh = d;
    fresh.SolutionCells.fill(-1);
    EXPECT_FALSE(Revalidate_Design(fresh, tables));
}
