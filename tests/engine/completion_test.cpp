#include "game/completion.h"

#include <gtest/gtest.h>

using namespace tl;

TEST(Completion, SolvedOnlyWhenEveryCellOfTheBoardMatchesTheSolution)
{
    CellGrid sol{}, board{};
    for (int i = 0; i < 64; ++i)
        sol[i] = board[i] = static_cast<std::int16_t>(i % 2);
    sol[100] = 1; // beyond the 8 x 8 board: not compared
    EXPECT_TRUE(IsSolved(board, sol, 63));
    board[63] = -1;
    EXPECT_FALSE(IsSolved(board, sol, 63));
    board[63] = sol[63];
    board[0] = static_cast<std::int16_t>(1 - sol[0]);
    EXPECT_FALSE(IsSolved(board, sol, 63));
    // No puzzle on the board yet.
    EXPECT_FALSE(IsSolved(sol, sol, 0));
}

TEST(Completion, BestTimeOnlyForANamedPlayerOnAStockPuzzleWhenStrictlyShorter)
{
    // No stored time: any time is a best time.
    auto c = DecideBestTime(false, 2, 0, 0, 187);
    EXPECT_TRUE(c.record);
    EXPECT_EQ(c.minutes, 3);
    EXPECT_EQ(c.seconds, 7);
    // Equal to the stored time: not a new best; one second less is.
    EXPECT_FALSE(DecideBestTime(false, 1, 3, 7, 187).record);
    EXPECT_TRUE(DecideBestTime(false, 1, 3, 7, 186).record);
    EXPECT_FALSE(DecideBestTime(false, 1, 3, 7, 500).record);
    // Free play and designs record nothing.
    EXPECT_FALSE(DecideBestTime(false, 0, 0, 0, 10).record);
    EXPECT_FALSE(DecideBestTime(true, 1, 0, 0, 10).record);
}

TEST(Completion, BestTimeTextNamesTheHolderOrSaysThereIsNone)
{
    EXPECT_EQ(BestTimeText(3, 7, 2, 2, "Anna"), "Best Time: 03:07 by Anna");
    EXPECT_EQ(BestTimeText(123, 5, 1, 1, "Bo"), "Best Time: 23:05 by Bo");
    EXPECT_EQ(BestTimeText(0, 0, 1, 3, "Bo"), "Best Time: 00:00 (No Best Time Yet)");
    EXPECT_EQ(BestTimeText(3, 7, 4, 3, ""), "Best Time: 00:00 (No Best Time Yet)");
    EXPECT_EQ(BestTimeText(3, 7, 0, 3, ""), "Best Time: 00:00 (No Best Time Yet)");
}

TEST(Completion, SlotHoldsThePlayedPuzzleUntilItsRecordIsReplaced)
{
    PuzzleRecord r;
    r.Level = 1;
    r.SizeIndex = 0;
    r.StartCells.fill(0);
    r.SolutionCells.fill(0);
    for (int i = 0; i < 64; ++i) {
        r.StartCells[i] = i % 5 == 0 ? static_cast<std::int16_t>(i % 2) : -1;
        r.SolutionCells[i] = static_cast<std::int16_t>(i % 2);
    }
    const CellGrid start = r.StartCells, sol = r.SolutionCells;
    EXPECT_TRUE(SlotHoldsPuzzle(r, 1, 0, start, sol));
    r.BestMin = 4; // a best time of its own does not make it another puzzle
    EXPECT_TRUE(SlotHoldsPuzzle(r, 1, 0, start, sol));

    PuzzleRecord other = r;
    other.StartCells[7] = 1; // a generated puzzle with other given cells
    EXPECT_FALSE(SlotHoldsPuzzle(other, 1, 0, start, sol));
    other = r;
    other.SolutionCells[10] = 1;
    EXPECT_FALSE(SlotHoldsPuzzle(other, 1, 0, start, sol));
    EXPECT_FALSE(SlotHoldsPuzzle(r, 2, 0, start, sol));
    EXPECT_FALSE(SlotHoldsPuzzle(r, 1, 7, start, sol));
}
