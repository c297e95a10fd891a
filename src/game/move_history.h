// The move history of the puzzle on the board: one cell index per left click on a cell.
// Moves[1..MoveTop] hold the moves in the order they were made (Moves[0] never holds one);
// MovePos is the last move now applied to the board (0: none). Undo and redo walk runs: the
// longest sequence of consecutive positions holding the same cell.
#pragma once

#include <cstdint>
#include <vector>

namespace tl {

class MoveHistory {
public:
    MoveHistory() : Moves(1, 0) {}

    // Forgets every move (a new puzzle, a design or a restart).
    void clear();

    // Records a click on `cell`: the moves that could have been redone are dropped.
    void record(std::int32_t cell);

    bool canUndo() const { return MovePos >= 1; }
    bool canRedo() const { return MovePos < MoveTop; }

    // The run that ends at MovePos: its cell and its length. MovePos moves below it.
    // Returns a length of 0 (and changes nothing) when there is nothing to undo.
    struct Run {
        std::int32_t cell = 0;
        int steps = 0;
    };
    Run undoRun();
    // The run that starts at MovePos + 1; MovePos moves to its end.
    Run redoRun();

    std::vector<std::int32_t> Moves; // entry 0 unused
    std::int32_t MovePos = 0;
    std::int32_t MoveTop = 0;
};

} // namespace tl
