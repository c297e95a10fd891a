// The upper links of the hint chain: the level-2 techniques (Hint_Forcing_Cells), the rectangle
// and sandwich techniques (Hint_Rectangles) and the chained couples with the end of the chain
// (Hint_Chained_Couples).
//
// Every search is one of the rating solver's finders (solver/upper_finders.h) run on the
// request's HintGrid, so a hint and a rating step can never disagree about a technique; the
// links decide which text goes into the message line and when, which coupler lines are drawn,
// and which cell is marked. Every level-2 and level-3 hint marks one cell and costs 40 seconds.
//
// Coupler lines: the level-3 links find every couple of the board (two empty cells of one line
// that every fitting valid line gives opposite values) and draw each as a line between the two
// cells' centres before they search. Hint_Rectangles removes its lines when it hands over;
// after a hit the lines stay until the next request erases them; the end of the chain leaves
// none.
#pragma once

#include "hints/hint_engine.h"
#include "solver/upper_finders.h"

#include <string_view>

namespace tl {

namespace hint_text_upper {
inline constexpr std::string_view kForcingCellRows1 =
    "Avoidable Duplicates with Forcing Cell: The marked cell in this row must have a certain "
    "value to avoid duplicate rows...";
inline constexpr std::string_view kForcingCellColumns1 =
    "Avoidable Duplicates with Forcing Cell: The marked cell in this column must have a certain "
    "value to avoid duplicate columns...";
inline constexpr std::string_view kForcingCellRows2 =
    "Avoidable Duplicates with Forcing Cell: The marked cell in this row must have a certain "
    "value to avoid duplicate rows.";
inline constexpr std::string_view kForcingCellColumns2 =
    "Avoidable Duplicates with Forcing Cell: The marked cell in this column must have a certain "
    "value to avoid duplicate columns.";
inline constexpr std::string_view kAlmostDuplicatesRows =
    "Almost Duplicates with Forcing Cell: Two almost duplicate rows, seperated from each other "
    "by two other rows, their last unsolved cells must have opposite values to avoid duplicate "
    "rows. Whenever two cells, separated by two in-between cells, have opposite values, the "
    "in-between cells also must have opposite values. Since we know the value of one of those "
    "two in-between cells, the other in-between cell must have the opposite value. The marked "
    "cell(s) can be solved.";
inline constexpr std::string_view kAlmostDuplicatesColumns =
    "Almost Duplicates with Forcing Cell: Two almost duplicate columns, seperated from each "
    "other by two other columns, their last unsolved cells must have opposite values to avoid "
    "duplicate columns. Whenever two cells, separated by two in-between cells, have opposite "
    "values, the in-between cells also must have opposite values. Since we know the value of "
    "one of those two in-between cells, the other in-between cell must have the opposite value. "
    "The marked cell(s) can be solved.";
inline constexpr std::string_view kRectangleLeftoverRow =
    "Rectangle with Leftover Cell: In the row with the marked cell there are two other unsolved "
    "cells who must have opposite value's, as a result of that, you can solve the marked cell.";
inline constexpr std::string_view kRectangleLeftoverColumn =
    "Rectangle with Leftover Cell: In the column with the marked cell there are two other "
    "unsolved cells who must have opposite value's, as a result of that, you can solve the "
    "marked cell.";
inline constexpr std::string_view kForcedRectangleRow =
    "Forced Rectangle with Leftover Cell: In the row with the marked cell there are two other "
    "unsolved cells who, as the result of a forced rectangle, must have opposite value's. "
    "Therefore, you can solve the marked cell.";
inline constexpr std::string_view kForcedRectangleColumn =
    "Forced Rectangle with Leftover Cell: In the column with the marked cell there are two "
    "other unsolved cells who, as the result of a forced rectangle, must have opposite value's. "
    "Therefore, you can solve the marked cell.";
inline constexpr std::string_view kRectangleForcingColumn =
    "Rectangle with Forcing Cell: The marked cell in this column is forced to the opposite value "
    "of the cell next to him in the same column, due to the unsolved cells enclosing them who "
    "themself must have opposite values forced by a rectangle of unsolved cells formed with "
    "another column.";
inline constexpr std::string_view kRectangleForcingRow =
    "Rectangle with Forcing Cell: The marked cell in this row is forced to the opposite value of "
    "the cell next to him in the same row, due to the unsolved cells enclosing them who "
    "themself must have opposite values forced by a rectangle of unsolved cells formed with "
    "another row.";
inline constexpr std::string_view kSandwichRows =
    "Avoidable Sandwich: The solved cells in the row with the marked cell are the same of two "
    "other completely solved rows. It appaers that the marked cell must have the opposite value "
    "of the other two rows to avoid duplicating either one of those other rows.";
inline constexpr std::string_view kSandwichColumns =
    "Avoidable Sandwich: The solved cells in the column with the marked cell are the same of "
    "two other completely solved columns. It appaers that the marked cell must have the "
    "opposite value of the other two columns to avoid duplicating either one of those other "
    "columns.";
inline constexpr std::string_view kChainedForcingColumn =
    "Chained Couples with Forcing Cell: The marked cell is forced to the opposite value of the "
    "cell next to him in the same column, due to the unsolved cells enclosing them who themself "
    "must have opposite values forced by a chain of unsolved cells that must have alternating "
    "values.";
inline constexpr std::string_view kChainedForcingRow =
    "Chained Couples with Forcing Cell: The marked cell is forced to the opposite value of the "
    "cell next to him in the same row, due to the unsolved cells enclosing them who themself "
    "must have opposite values forced by a chain of unsolved cells that must have alternating "
    "values.";
inline constexpr std::string_view kChainedLeftoverRow =
    "Chained Couples with Leftover Cell: In the row with the marked cell there is also an even "
    "number of other unsolved cells who together must have both possible values equaly spread. "
    "Therefore the marked cell can be solved.";
inline constexpr std::string_view kChainedLeftoverColumn =
    "Chained Couples with Leftover Cell: In the column with the marked cell there is also an "
    "even number of other unsolved cells who together must have both possible values equaly "
    "spread. Therefore the marked cell can be solved.";
} // namespace hint_text_upper

// Rectangle with Leftover Cell, Forced Rectangle with Leftover Cell, Rectangle with Forcing
// Cell and both searches of Avoidable Sandwich; calls Hint_Chained_Couples when none applies.
void Hint_Rectangles(HintContext &ctx);

// Chained Couples with Forcing Cell and with Leftover Cell, then the end of the chain.
void Hint_Chained_Couples(HintContext &ctx);

// The forces-opposite tests of the Avoidable Sandwich's second search on HintGrid (the rating
// solver's own test, which that search runs): would giving the line under test (Pattern, Mask:
// the LineCode of its filled cells and the mask of their positions) at Pos1 the value that row
// (or column) LineNr holds at Pos1 force the opposite value at Pos2 in every valid line? An
// empty reference cell counts as 1; true when no valid line fits at all.
bool Row_Forces_Opposite(const HintContext &ctx, std::int32_t Pos1, std::int32_t Pos2,
                         std::int32_t LineNr, std::int32_t Pattern, std::int32_t Mask);
bool Col_Forces_Opposite(const HintContext &ctx, std::int32_t Pos1, std::int32_t Pos2,
                         std::int32_t LineNr, std::int32_t Pattern, std::int32_t Mask);

// Finds every couple of HintGrid (rows first, each cell with its first partner).
void Find_Hint_Couples(const HintContext &ctx, CoupleTables &t);

// Draws every couple of the tables as a coupler line, each once from its end with the smaller
// position: the row couples row by row, then the column couples column by column.
void Draw_Couples(HintContext &ctx, const CoupleTables &t);

} // namespace tl
