// Play on the board through the game model: clicks, undo and redo, pause, restart, solution,
// designs. The window only draws this model.
#include "game/game_model.h"
#include "hints/hint_engine.h"
#include "platform/fake/fakes.h"
#include "support/make_test_stock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tl;

namespace {

struct PlayFixture : ::testing::Test {
    FakeClock clock;
    GameModel m{clock};
    Roster roster;
    PuzzleRecord rec = test::MakeTestRecord(0, 0, 1, false);

    void SetUp() override
    {
        m.Prepare_Empty_Board();
        next(rec);
    }
    void next(const PuzzleRecord &r)
    {
        m.PuzzleNr[r.Level][r.SizeIndex] = r.Number;
        m.ShownLevel = r.Level;
        m.ShownSize = r.SizeIndex;
        m.Show_Puzzle(r, roster);
        m.Start_Clock();
    }
    int firstEmpty(int after = -1) const
    {
        for (int i = after + 1; i <= m.LastCell; ++i)
            if (m.StartBoard[i] == -1)
                return i;
        return -1;
    }
    int firstGiven() const
    {
        for (int i = 0; i <= m.LastCell; ++i)
            if (m.StartBoard[i] != -1)
                return i;
        return -1;
    }
    int grid(int cell) const { return cell / m.GridSize * kMaxSide + cell % m.GridSize; }
    GameModel::ClickOutcome left(int cell) { return m.Grid_MouseUp(grid(cell), 1); }
    GameModel::ClickOutcome right(int cell) { return m.Grid_MouseUp(grid(cell), 2); }
    // Fills every empty cell with its solution value by left clicks; returns the last outcome.
    GameModel::ClickOutcome solveByClicks()
    {
        GameModel::ClickOutcome out;
        for (int i = 0; i <= m.LastCell; ++i)
            while (m.Board[i] != m.Solution[i])
                out = left(i);
        return out;
    }
};

} // namespace

TEST_F(PlayFixture, LeftClicksCycleACellAndKeepItsCounts)
{
    const int cell = firstEmpty();
    const int row = cell / 8, col = cell % 8;
    const int zeros = m.RowZeros[row], ones = m.ColOnes[col];
    auto out = left(cell);
    EXPECT_TRUE(out.assigned);
    EXPECT_FALSE(out.solved);
    EXPECT_EQ(m.Board[cell], 0);
    EXPECT_EQ(m.Grid[grid(cell)].caption, "0");
    EXPECT_EQ(m.RowZeros[row], zeros + 1);
    EXPECT_EQ(m.lblRowNull[row].caption, std::to_string(zeros + 1));
    left(cell);
    EXPECT_EQ(m.Board[cell], 1);
    EXPECT_EQ(m.RowZeros[row], zeros);
    EXPECT_EQ(m.ColOnes[col], ones + 1);
    left(cell);
    EXPECT_EQ(m.Board[cell], -1);
    EXPECT_EQ(m.Grid[grid(cell)].caption, "");
    EXPECT_EQ(m.ColOnes[col], ones);
    EXPECT_EQ(m.History.MoveTop, 3);
    EXPECT_TRUE(m.enabled(Command::Undo));
    EXPECT_FALSE(m.enabled(Command::Redo));
}

TEST_F(PlayFixture, WithWellsOffCountsChangeButLabelsShowTheDashInTheLegendColour)
{
    m.WellsOn = false;
    next(rec);
    const int cell = firstEmpty();
    const int row = cell / 8;
    const int zeros = m.RowZeros[row];
    left(cell);
    EXPECT_EQ(m.RowZeros[row], zeros + 1);
    EXPECT_EQ(m.lblRowNull[row].caption, "-");
    EXPECT_EQ(m.lblRowNull[row].back, m.lblNullBack);
}

TEST_F(PlayFixture, UndoAndRedoWalkRunsAndFollowTheButtons)
{
    const int x = firstEmpty(), y = firstEmpty(x);
    for (int c : {x, x, y, x})
        left(c);
    ASSERT_EQ(m.Board[x], -1); // three clicks: 0, 1, empty
    ASSERT_EQ(m.Board[y], 0);

    m.cmdUndo_Click(); // position 4 (x back to 1)
    EXPECT_EQ(m.Board[x], 1);
    EXPECT_TRUE(m.enabled(Command::Redo));
    m.cmdUndo_Click(); // position 3 (y)
    EXPECT_EQ(m.Board[y], -1);
    m.cmdUndo_Click(); // positions 2 and 1 together
    EXPECT_EQ(m.Board[x], -1);
    EXPECT_EQ(m.History.MovePos, 0);
    EXPECT_FALSE(m.enabled(Command::Undo));

    m.cmdRedo_Click();
    EXPECT_EQ(m.Board[x], 1);
    EXPECT_EQ(m.History.MovePos, 2);
    m.cmdRedo_Click();
    EXPECT_EQ(m.Board[y], 0);
    m.cmdRedo_Click();
    EXPECT_EQ(m.Board[x], -1);
    EXPECT_FALSE(m.enabled(Command::Redo));
    EXPECT_TRUE(m.enabled(Command::Undo));

    // Counts follow: every line is back to the counts of its given cells plus y's 0.
    GameModel fresh{clock};
    fresh.Prepare_Empty_Board();
    fresh.Show_Puzzle(rec, roster);
    EXPECT_EQ(m.RowZeros[y / 8], fresh.RowZeros[y / 8] + 1);
    EXPECT_EQ(m.RowOnes[x / 8], fresh.RowOnes[x / 8]);
}

TEST_F(PlayFixture, AClickAfterUndoDropsTheRedoableMoves)
{
    const int x = firstEmpty(), y = firstEmpty(x);
    left(x);
    left(y);
    m.cmdUndo_Click();
    left(x);
    EXPECT_FALSE(m.enabled(Command::Redo));
    EXPECT_EQ(m.History.MoveTop, 2);
    EXPECT_EQ(m.Board[y], -1);
}

TEST_F(PlayFixture, GivenCellsStayGivenWhateverTheirLabelShows)
{
    const int g = firstGiven();
    const auto before = m.Board;
    // Even with the label repainted (as a hint or a stale selection could), the start board
    // decides.
    m.Grid[grid(g)].back = colour::WindowBack;
    EXPECT_FALSE(left(g).assigned);
    EXPECT_FALSE(right(g).assigned);
    EXPECT_FALSE(m.SelectionPending);
    EXPECT_EQ(m.Board, before);
    EXPECT_EQ(m.History.MoveTop, 0);
}

TEST_F(PlayFixture, ASelectionLeftBeforeNextCannotUnlockAGivenCellOfTheNextPuzzle)
{
    // Select an empty cell of this puzzle, give up, and take a puzzle that has a given cell
    // at that very place.
    PuzzleRecord other = test::MakeTestRecord(0, 0, 2, false);
    int cell = -1;
    for (int i = 0; i <= 63 && cell < 0; ++i)
        if (rec.StartCells[i] == -1 && other.StartCells[i] != -1)
            cell = i;
    ASSERT_GE(cell, 0);
    right(cell);
    ASSERT_TRUE(m.SelectionPending);
    m.cmdSolution_Click();
    next(other);
    EXPECT_EQ(m.Grid[grid(cell)].back, colour::GivenCell);
    const int empty = firstEmpty();
    left(empty); // drops any selection
    EXPECT_EQ(m.Grid[grid(cell)].back, colour::GivenCell);
    const auto value = m.Board[cell];
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(left(cell).assigned);
    EXPECT_EQ(m.Board[cell], value);
}

TEST_F(PlayFixture, RightClicksSelectAndMarkPairsAndRectangles)
{
    // Two empty cells of one row.
    int a = -1, b = -1;
    for (int r = 0; r < 8 && b < 0; ++r) {
        a = b = -1;
        for (int c = 0; c < 8; ++c)
            if (m.StartBoard[r * 8 + c] == -1) {
                if (a < 0)
                    a = r * 8 + c;
                else if (b < 0)
                    b = r * 8 + c;
            }
    }
    ASSERT_GE(b, 0);
    right(b);
    EXPECT_EQ(m.Grid[grid(b)].back, colour::SelectedCell);
    right(a);
    EXPECT_FALSE(m.SelectionPending);
    EXPECT_EQ(m.Grid[grid(b)].back, colour::WindowBack);
    EXPECT_EQ(m.Couplers.CustomCouplerCount(), 2);
    EXPECT_EQ(m.Couplers.CouplerLinks[grid(a)].PartnerRight, grid(b));
    // The selected cell again: the selection is dropped with no mark.
    right(a);
    right(a);
    EXPECT_FALSE(m.SelectionPending);
    EXPECT_EQ(m.Couplers.CustomCouplerCount(), 2);
    // Right clicks record no move.
    EXPECT_EQ(m.History.MoveTop, 0);
    // Filling the first cell keeps the link; filling the second removes it.
    left(a);
    EXPECT_EQ(m.Couplers.CustomCouplerCount(), 2);
    left(b);
    EXPECT_EQ(m.Couplers.CustomCouplerCount(), 0);
}

TEST_F(PlayFixture, SolvingByClicksCompletesAndEndsTheGame)
{
    auto out = solveByClicks();
    EXPECT_TRUE(out.solved);
    m.Stop_Clock_For_Completion();
    m.End_Game();
    EXPECT_TRUE(m.Finished);
    EXPECT_TRUE(m.LabelSolvedVisible);
    EXPECT_EQ(m.LabelSolvedText, "CONGRATULATIONS");
    EXPECT_EQ(m.lblInfo, "");
    EXPECT_FALSE(m.Clock.Running);
    for (Command c : {Command::Next, Command::Open, Command::Players, Command::Design})
        EXPECT_TRUE(m.enabled(c));
    for (Command c : {Command::Undo, Command::Redo, Command::Restart, Command::Solution,
                      Command::Pause, Command::Hint})
        EXPECT_FALSE(m.enabled(c));
    // The board takes no more clicks; the banner goes away when clicked.
    const auto board = m.Board;
    EXPECT_FALSE(left(firstEmpty()).assigned);
    EXPECT_EQ(m.Board, board);
    m.LabelSolved_Click();
    EXPECT_FALSE(m.LabelSolvedVisible);
}

TEST_F(PlayFixture, AMiddleClickOnlyTestsCompletion)
{
    for (int i = 0; i <= m.LastCell; ++i)
        m.Board[i] = m.Solution[i];
    EXPECT_TRUE(m.Grid_MouseUp(0, 4).solved);
    EXPECT_EQ(m.History.MoveTop, 0);
}

TEST_F(PlayFixture, PauseCoversAndFreezesResumeCountsOnPenaltyAdds)
{
    clock.advance(65);
    m.Timer1_Timer();
    EXPECT_EQ(m.LabelTijd, "01:05");
    m.cmdPauze_Click();
    EXPECT_TRUE(m.ShieldVisible);
    EXPECT_TRUE(m.Clock.Paused);
    // The covered board takes no clicks.
    EXPECT_FALSE(left(firstEmpty()).assigned);
    clock.advance(1000);
    m.Timer1_Timer();
    EXPECT_EQ(m.LabelTijd, "01:05");
    m.Picture1_Click();
    EXPECT_FALSE(m.ShieldVisible);
    clock.advance(2);
    m.Timer1_Timer();
    EXPECT_EQ(m.LabelTijd, "01:07");
    m.Penalty(40);
    m.Timer1_Timer();
    EXPECT_EQ(m.LabelTijd, "01:47");
}

TEST_F(PlayFixture, UndoOnAPausedGameResumesFirst)
{
    const int x = firstEmpty();
    left(x);
    m.cmdPauze_Click();
    m.cmdUndo_Click();
    EXPECT_FALSE(m.ShieldVisible);
    EXPECT_FALSE(m.Clock.Paused);
    EXPECT_EQ(m.Board[x], -1);
}

TEST_F(PlayFixture, MinimisingDuringPlayPausesAndRestoringDoesNotResume)
{
    m.Form_Resize(true);
    EXPECT_TRUE(m.Clock.Paused);
    EXPECT_TRUE(m.ShieldVisible);
    m.Form_Resize(false);
    EXPECT_TRUE(m.Clock.Paused);
    // With the game over, minimising changes nothing.
    m.Picture1_Click();
    m.cmdSolution_Click();
    m.Form_Resize(true);
    EXPECT_FALSE(m.Clock.Paused);
    EXPECT_FALSE(m.ShieldVisible);
}

TEST(PlayBeforeAnyPuzzle, ClicksAndMinimisingDoNothing)
{
    FakeClock clock;
    GameModel m{clock};
    m.Prepare_Empty_Board();
    const auto grid = m.Grid;
    for (int b : {1, 2, 4})
        EXPECT_FALSE(m.Grid_MouseUp(0, b).assigned);
    for (int i = 0; i < kGridCells; ++i) {
        EXPECT_EQ(m.Grid[i].back, grid[i].back);
        EXPECT_EQ(m.Grid[i].caption, grid[i].caption);
    }
    m.Form_Resize(true);
    EXPECT_FALSE(m.Clock.Paused);
}

TEST_F(PlayFixture, RestartBringsBackTheGivenCellsAndTheClockFromZero)
{
    const int x = firstEmpty();
    left(x);
    m.Grid[grid(firstEmpty(x))].back = kHintedCellColour; // a hint's mark
    clock.advance(100);
    m.Timer1_Timer();
    m.cmdPauze_Click();
    m.cmdRestart_Click();
    EXPECT_FALSE(m.ShieldVisible);
    EXPECT_FALSE(m.Clock.Paused);
    EXPECT_EQ(m.Board, m.StartBoard);
    EXPECT_EQ(m.Grid[grid(firstEmpty(x))].back, colour::WindowBack);
    EXPECT_EQ(m.LabelTijd, "00:00");
    EXPECT_TRUE(m.Clock.Running);
    EXPECT_EQ(m.History.MoveTop, 0);
    EXPECT_FALSE(m.enabled(Command::Undo));
    EXPECT_FALSE(m.enabled(Command::Redo));
    EXPECT_FALSE(m.Finished);
}

// Restart puts back every cell, the last one included, and the counts with their captions and
// colours exactly as a fresh showing of the same puzzle, whatever was played before.
TEST_F(PlayFixture, RestartDrawsTheBoardAndEveryCountAsAFreshShowing)
{
    int orange = 0, green = 0; // count labels of each colour compared
    int lastCellPlayed = 0;
    for (int size = 0; size < kSizes; ++size) {
        for (int number = 1; number <= 12; ++number) {
            const PuzzleRecord r = test::MakeTestRecord(0, size, number, false);
            next(r);
            // Every empty cell gets the wrong value, so the game goes on.
            for (int i = 0; i <= m.LastCell; ++i)
                while (m.StartBoard[i] == -1 && m.Board[i] != 1 - m.Solution[i])
                    left(i);
            ASSERT_FALSE(m.Finished);
            lastCellPlayed += m.StartBoard[m.LastCell] == -1;
            m.cmdRestart_Click();

            GameModel fresh{clock};
            fresh.Prepare_Empty_Board();
            fresh.ShownSize = static_cast<std::int16_t>(size);
            fresh.Show_Puzzle(r, roster);
            const std::string where = std::to_string(size) + "/" + std::to_string(number);
            ASSERT_EQ(m.Board, fresh.Board) << where;
            for (int k = 0; k < kGridCells; ++k) {
                ASSERT_EQ(m.Grid[k].caption, fresh.Grid[k].caption) << where << " cell " << k;
                ASSERT_EQ(m.Grid[k].back, fresh.Grid[k].back) << where << " cell " << k;
            }
            EXPECT_EQ(m.RowZeros, fresh.RowZeros) << where;
            EXPECT_EQ(m.RowOnes, fresh.RowOnes) << where;
            EXPECT_EQ(m.ColZeros, fresh.ColZeros) << where;
            EXPECT_EQ(m.ColOnes, fresh.ColOnes) << where;
            for (auto labels : {&GameModel::lblRowNull, &GameModel::lblRowOne,
                                &GameModel::lblColNull, &GameModel::lblColOne}) {
                for (int i = 0; i < kLineCount; ++i) {
                    const CountView &got = (m.*labels)[i], &want = (fresh.*labels)[i];
                    EXPECT_EQ(got.caption, want.caption) << where << " line " << i;
                    EXPECT_EQ(got.back, want.back) << where << " line " << i;
                    orange += got.back == colour::Orange;
                    green += got.back == colour::LightGreen;
                }
            }
        }
    }
    EXPECT_GT(orange, 0) << "no count one short of half was compared";
    EXPECT_GT(green, 0) << "no count of half was compared";
    EXPECT_GT(lastCellPlayed, 0) << "no puzzle had its last cell to play";
}

// Restart refreshes the duplicate and uniqueness markers for the board it leaves, as any
// change of a cell does: nothing of the board before the restart stays marked.
TEST_F(PlayFixture, RestartRefreshesTheSolvingAidsAsACellChangeDoes)
{
    // Every empty cell but the last one filled with its solution value.
    int last = -1;
    for (int i = 0; i <= m.LastCell; ++i)
        if (m.StartBoard[i] == -1)
            last = i;
    for (int i = 0; i < last; ++i)
        while (m.Board[i] != m.Solution[i])
            left(i);
    const SolvingAids played = m.Aids;
    m.cmdRestart_Click();

    // The markers a cell change on the start board computes.
    SolvingAids want;
    const AidsBoard start{m.StartBoard, m.GridSize, m.LastCell, false};
    want.Show_Duplicates(start, true, m.PairMinCount);
    want.Show_Uniqueness(start, true);
    ASSERT_NE(played.Line_X, want.Line_X) << "the played board must mark other lines";
    EXPECT_EQ(m.Aids.Line_X, want.Line_X);
    EXPECT_EQ(m.Aids.Line_Y, want.Line_Y);
    EXPECT_EQ(m.Aids.UniqueCol, want.UniqueCol);
    EXPECT_EQ(m.Aids.UniqueRow, want.UniqueRow);
    EXPECT_EQ(m.Aids.DupColor, want.DupColor);
}

TEST_F(PlayFixture, SolutionShowsTheDigitsKeepsTheBoardAndEndsTheGame)
{
    const int x = firstEmpty();
    left(x);
    left(x); // 1
    const int wrongish = m.Board[x];
    clock.advance(30);
    m.Timer1_Timer();
    m.cmdPauze_Click();
    m.cmdSolution_Click();
    EXPECT_FALSE(m.ShieldVisible);
    EXPECT_FALSE(m.Clock.Running);
    EXPECT_EQ(m.LabelTijd, "00:30");
    for (int i = 0; i <= m.LastCell; ++i)
        EXPECT_EQ(m.Grid[grid(i)].caption, m.Solution[i] == 1 ? "1" : "0");
    EXPECT_EQ(m.Board[x], wrongish);
    EXPECT_EQ(m.LabelSolvedText, "Better luck, next time!");
    EXPECT_TRUE(m.LabelSolvedVisible);
    EXPECT_TRUE(m.Finished);
    EXPECT_TRUE(m.enabled(Command::Next));
    EXPECT_FALSE(m.enabled(Command::Pause));
    // Design comes back only when no generation run is active.
    m.Finished = false;
    m.GenerateMenuEnabled = false;
    m.End_Game();
    EXPECT_FALSE(m.enabled(Command::Design));
}

TEST_F(PlayFixture, ADesignIsShownAsDesignWithItsRatedLevelAndNoBestTime)
{
    m.cmdSolution_Click();
    PuzzleRecord design = test::MakeTestRecord(2, 1, 5, true);
    design.Number = 0;
    m.PlayingDesign = true;
    const auto numbers = m.PuzzleNr;
    m.Load_Design(design, roster);
    EXPECT_EQ(m.StatusPanels[0], "Level: Hard");
    EXPECT_EQ(m.StatusPanels[1], "Size: 10x10");
    EXPECT_EQ(m.StatusPanels[2], "Design");
    EXPECT_EQ(m.StatusPanels[3], "Best Time: 00:00 (No Best Time Yet)");
    EXPECT_EQ(m.GridSize, 10);
    EXPECT_EQ(m.LastCell, 99);
    EXPECT_EQ(m.PuzzleNr, numbers);
    EXPECT_EQ(m.BestMin, 0);
    EXPECT_FALSE(m.Finished);
    EXPECT_FALSE(m.enabled(Command::Design));
    // The frame of the 10 x 10 board.
    EXPECT_EQ(m.Grid[10 * kMaxSide + 3].back, colour::Black);
    EXPECT_EQ(m.Grid[3 * kMaxSide + 10].back, colour::Black);
}
