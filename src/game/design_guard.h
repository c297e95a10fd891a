// The check made before a design handed over by the designer is played. The designer hands
// over only a design validated as it stands: a change of a cell after the validation disables
// Solve until the design is validated again. The game window does not rely on that alone: the
// hand-over is shared state (`DesignPuzzle`, `PlayingDesign`) that any caller can fill, so the
// given cells are validated once more and the design is played with the solution and rate of
// that check, never with a solution that belongs to other given cells, or not at all.
#pragma once

#include "game/line_tables.h"
#include "game/puzzle_record.h"

namespace tl {

// Validates the design's given cells with the rating solver at the top level. When the solver
// finishes the board, the design's SolutionCells become that board (cells 0 .. N x N - 1) and
// its Level the rate of this solve, and the result is true. False, changing nothing, when the
// size is not one of the four or the solver cannot finish the board.
bool Revalidate_Design(PuzzleRecord &design, const LineTables &tables);

} // namespace tl
