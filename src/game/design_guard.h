// The check made before a design from the designer is played: its given cells must still be
// the ones its solution and rate were found for. The designer leaves its Solve button enabled
// when cells are changed after a successful validation, so the record handed over may carry
// given cells that contradict its solution or no longer lead to it.
#pragma once

#include "game/line_tables.h"
#include "game/puzzle_record.h"

namespace tl {

// True when the design has a supported size and level, its solution holds only 0s and 1s on
// the N x N cells and every given cell agrees with the solution.
bool DesignAgreesWithItsSolution(const PuzzleRecord &design);

// Validates the design's given cells again with the rating solver at the top level. True when
// they agree with the solution and the solver finishes them into exactly that solution; the
// design's Level is then set to the rate of this solve. False, changing nothing, otherwise.
bool Revalidate_Design(PuzzleRecord &design, const LineTables &tables);

} // namespace tl
