// Play on the board: cell input and completion, undo and redo, the clock with pause and
// penalty, restart, the solution and putting a design on the board.
#include "game/completion.h"
#include "game/game_model.h"

namespace tl {

// ---- The clock ---------------------------------------------------------------------------

void GameModel::cmdPauze_Click()
{
    ShieldVisible = true;
    Clock.pause();
}

void GameModel::Picture1_Click()
{
    ShieldVisible = false;
    Clock.resume(clock_);
}

void GameModel::Penalty(int Strafseconden)
{
    Clock.Penalty(clock_, Strafseconden);
}

void GameModel::Form_Resize(bool minimised)
{
    if (minimised && LastCell != 0 && !Finished && !Clock.Paused)
        cmdPauze_Click();
}

void GameModel::Refresh_Aids()
{
    Aids.Show_Duplicates(Aids_Board(), DuplicatesOn, PairMinCount);
    Aids.Show_Uniqueness(Aids_Board(), UniquenessOn);
}

// ---- Cells -------------------------------------------------------------------------------

Rgb GameModel::Own_Colour(int row, int col) const
{
    const int n = GridSize;
    if (row < n && col < n)
        return StartBoard[row * n + col] != -1 && LastCell > 0 ? colour::GivenCell
                                                               : colour::WindowBack;
    if (n < kMaxSide && ((row == n && col <= n) || (col == n && row <= n)))
        return colour::Black;
    return colour::WindowBack;
}

void GameModel::Drop_Selection()
{
    if (!SelectionPending)
        return;
    // The selected cell gets back the colour it has on this board: a given cell or a frame
    // cell never loses its own colour through a selection that outlived its board.
    Grid[SelRow * kMaxSide + SelCol].back = Own_Colour(SelRow, SelCol);
    SelectionPending = false;
}

void GameModel::Show_Count(CountView &label, int count, Rgb legend, bool byClick)
{
    if (byClick)
        label.back = legend;
    if (!WellsOn)
        return;
    label.caption = std::to_string(count);
    label.back = WellColour(count, GridSize, legend);
}

void GameModel::Step_Cell(int cell, bool forward, bool byClick)
{
    const int n = GridSize;
    const int row = cell / n, col = cell % n;
    std::int16_t &v = Board[cell];
    const std::int16_t old = v;
    const std::int16_t now = forward ? (old == -1 ? 0 : old == 0 ? 1 : -1)
                                     : (old == 1 ? 0 : old == 0 ? -1 : 1);
    v = now;
    Grid[row * kMaxSide + col].caption = now == -1 ? "" : now == 0 ? "0" : "1";

    const bool zerosChange = old == 0 || now == 0;
    const bool onesChange = old == 1 || now == 1;
    if (old == 0) {
        --RowZeros[row];
        --ColZeros[col];
    } else if (old == 1) {
        --RowOnes[row];
        --ColOnes[col];
    }
    if (now == 0) {
        ++RowZeros[row];
        ++ColZeros[col];
    } else if (now == 1) {
        ++RowOnes[row];
        ++ColOnes[col];
    }
    if (zerosChange) {
        Show_Count(lblRowNull[row], RowZeros[row], lblNullBack, byClick);
        Show_Count(lblColNull[col], ColZeros[col], lblNullBack, byClick);
    }
    if (onesChange) {
        Show_Count(lblRowOne[row], RowOnes[row], lblOneBack, byClick);
        Show_Count(lblColOne[col], ColOnes[col], lblOneBack, byClick);
    }
}

GameModel::ClickOutcome GameModel::Grid_MouseUp(int index, int button)
{
    ClickOutcome out;
    // No puzzle on the board yet, or its game is over, or the board is covered.
    if (LastCell == 0 || Finished || ShieldVisible || index < 0 || index >= kGridCells)
        return out;
    const int n = GridSize;
    const int row = index / kMaxSide, col = index % kMaxSide;
    const bool inside = row < n && col < n;
    // A given cell is known from the start board, whatever colour its label shows.
    const bool given = inside && StartBoard[row * n + col] != -1;

    if (button == 1) {
        Drop_Selection();
        if (given || !inside)
            return out;
        Couplers.Erase_Couplers();
        out.assigned = true;
        const int cell = row * n + col;
        Grid[index].back = colour::WindowBack;
        History.record(cell);
        setEnabled(Command::Undo, true);
        setEnabled(Command::Redo, false);
        Step_Cell(cell, true, true);
        if (Board[cell] != -1)
            Couplers.Drop_Filled_Links(row, col, Board, GridSize);
        Refresh_Aids();
    } else if (button == 2) {
        Couplers.Erase_Couplers();
        if (SelectionPending) {
            const int r1 = SelRow, c1 = SelCol;
            Drop_Selection();
            if (!inside || given || Board[row * n + col] != -1 || (row == r1 && col == c1))
                return out;
            if (row == r1) {
                Couplers.Toggle_Custom_Coupler(std::min(col, c1), std::max(col, c1), row, row, 1);
            } else if (col == c1) {
                Couplers.Toggle_Custom_Coupler(col, col, std::min(row, r1), std::max(row, r1), 2);
            } else {
                const int top = std::min(row, r1), bottom = std::max(row, r1);
                const int left = std::min(col, c1), right = std::max(col, c1);
                for (int r : {top, bottom})
                    for (int c : {left, right})
                        if (StartBoard[r * n + c] != -1 || Board[r * n + c] != -1)
                            return out;
                Couplers.Toggle_Custom_Coupler(left, right, top, bottom, 3);
            }
            return out;
        }
        if (!inside || given || Board[row * n + col] != -1)
            return out;
        Grid[index].back = colour::SelectedCell;
        SelRow = row;
        SelCol = col;
        SelectionPending = true;
        return out;
    }

    out.solved = IsSolved(Board, Solution, LastCell);
    return out;
}

void GameModel::Set_Game_Over_Commands()
{
    for (Command c : {Command::Next, Command::Open, Command::Players})
        setEnabled(c, true);
    setEnabled(Command::Design, GenerateMenuEnabled);
    for (Command c : {Command::Undo, Command::Redo, Command::Restart, Command::Solution,
                      Command::Pause, Command::Hint})
        setEnabled(c, false);
}

void GameModel::End_Game()
{
    lblInfo.clear();
    Finished = true;
    PlayingDesign = false;
    LabelSolvedVisible = true;
    Set_Game_Over_Commands();
}

// ---- Undo and redo -----------------------------------------------------------------------

void GameModel::cmdUndo_Click()
{
    if (Finished || !History.canUndo())
        return;
    Couplers.Erase_Couplers();
    if (ShieldVisible)
        Picture1_Click();
    const auto run = History.undoRun();
    for (int i = 0; i < run.steps; ++i)
        Step_Cell(run.cell, false, false);
    Refresh_Aids();
    setEnabled(Command::Redo, true);
    if (!History.canUndo())
        setEnabled(Command::Undo, false);
}

void GameModel::cmdRedo_Click()
{
    if (Finished || !History.canRedo())
        return;
    Couplers.Erase_Couplers();
    if (ShieldVisible)
        Picture1_Click();
    const auto run = History.redoRun();
    for (int i = 0; i < run.steps; ++i)
        Step_Cell(run.cell, true, false);
    Refresh_Aids();
    setEnabled(Command::Undo, true);
    if (!History.canRedo())
        setEnabled(Command::Redo, false);
}

// ---- Restart and solution ----------------------------------------------------------------

void GameModel::cmdRestart_Click()
{
    if (LastCell == 0 || Finished)
        return;
    Couplers.Clear_Custom_Couplers();
    Couplers.Erase_Couplers();
    if (ShieldVisible)
        Picture1_Click();
    Reset_Counts();
    for (int k = 0; k <= LastCell; ++k)
        Board[k] = StartBoard[k];
    // The selection is repainted with the rest of the board, so it ends here too.
    SelectionPending = false;
    Draw_Start_Board();
    // The aids follow the board back to its given cells, as after any change of a cell.
    Refresh_Aids();
    History.clear();
    Clock.stop();
    Start_Clock();
    setEnabled(Command::Undo, false);
    setEnabled(Command::Redo, false);
}

void GameModel::cmdSolution_Click()
{
    if (LastCell == 0 || Finished)
        return;
    Couplers.Erase_Couplers();
    if (ShieldVisible)
        Picture1_Click();
    Clock.stop();
    const int n = GridSize;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            const int v = Solution[r * n + c];
            Grid[r * kMaxSide + c].caption = v == 1 ? "1" : v == 0 ? "0" : "";
        }
    LabelSolvedText = "Better luck, next time!";
    End_Game();
}

// ---- Designs -----------------------------------------------------------------------------

void GameModel::Load_Design(const PuzzleRecord &design, const Roster &roster)
{
    ShownLevel = design.Level;
    ShownSize = design.SizeIndex;
    PuzzleRecord shown = design;
    // A design never carries a best time.
    shown.BestMin = shown.BestSec = shown.BestPlayer = 0;
    Show_Puzzle(shown, roster);
    StatusPanels[2] = "Design";
    ShowingDesign = true;
}

} // namespace tl
