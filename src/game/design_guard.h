// The check made before a design from the designer is played. The designer leaves its Solve
// button enabled when cells are changed after a successful validation, so the record handed
// over may carry given cells that contradict its solution or no longer lead to it. The game
// therefore validates the given cells once more and plays the design with the solution and
// rate of that check, never with a solution that belongs to other given cells.
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
