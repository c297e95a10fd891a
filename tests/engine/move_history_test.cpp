#include "game/move_history.h"

#include <gtest/gtest.h>

using namespace tl;

TEST(MoveHistory, UndoAndRedoWalkRunsOfTheSameCell)
{
    // Moves on X, X, Y, X at positions 1..4.
    const int X = 17, Y = 3;
    MoveHistory h;
    for (int c : {X, X, Y, X})
        h.record(c);
    EXPECT_EQ(h.MoveTop, 4);
    EXPECT_FALSE(h.canRedo());

    auto r = h.undoRun();
    EXPECT_EQ(r.cell, X);
    EXPECT_EQ(r.steps, 1);
    EXPECT_EQ(h.MovePos, 3);
    r = h.undoRun();
    EXPECT_EQ(r.cell, Y);
    EXPECT_EQ(r.steps, 1);
    r = h.undoRun();
    EXPECT_EQ(r.cell, X);
    EXPECT_EQ(r.steps, 2);
    EXPECT_EQ(h.MovePos, 0);
    EXPECT_FALSE(h.canUndo());
    EXPECT_EQ(h.undoRun().steps, 0);

    r = h.redoRun();
    EXPECT_EQ(r.cell, X);
    EXPECT_EQ(r.steps, 2);
    EXPECT_EQ(h.MovePos, 2);
    r = h.redoRun();
    EXPECT_EQ(r.cell, Y);
    EXPECT_EQ(r.steps, 1);
    r = h.redoRun();
    EXPECT_EQ(r.cell, X);
    EXPECT_EQ(r.steps, 1);
    EXPECT_EQ(h.MovePos, 4);
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.redoRun().steps, 0);
}

TEST(MoveHistory, RunOnCellZeroFromPositionOneIsUndoneWhole)
{
    // Cell 0 is a real cell, not the unused entry 0 of the history.
    MoveHistory h;
    h.record(0);
    h.record(0);
    h.record(0);
    auto r = h.undoRun();
    EXPECT_EQ(r.cell, 0);
    EXPECT_EQ(r.steps, 3);
    EXPECT_EQ(h.MovePos, 0);
    r = h.redoRun();
    EXPECT_EQ(r.steps, 3);
    EXPECT_EQ(h.MovePos, 3);
}

TEST(MoveHistory, RecordingAfterUndoDropsTheRedoableMoves)
{
    MoveHistory h;
    h.record(1);
    h.record(2);
    h.record(3);
    h.undoRun();
    h.undoRun();
    ASSERT_EQ(h.MovePos, 1);
    h.record(9);
    EXPECT_EQ(h.MovePos, 2);
    EXPECT_EQ(h.MoveTop, 2);
    EXPECT_FALSE(h.canRedo());
    ASSERT_EQ(h.Moves.size(), 3u);
    EXPECT_EQ(h.Moves[1], 1);
    EXPECT_EQ(h.Moves[2], 9);

    h.clear();
    EXPECT_EQ(h.MovePos, 0);
    EXPECT_EQ(h.MoveTop, 0);
    EXPECT_FALSE(h.canUndo());
    EXPECT_FALSE(h.canRedo());
}
