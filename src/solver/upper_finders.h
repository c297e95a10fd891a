// The finders of the level-2 and level-3 techniques, in the form of solver/finders.h: each
// one looks at a grid, changes nothing (the chain search changes only the couple tables it is
// given) and reports the first deduction in its fixed scan order, one cell per deduction.
// The rating solver writes it into its working grid and counts it; the hint engine marks it.
//
// A finder that takes an OrientedGrid runs its row form in the row orientation and its
// column form in the column orientation; "line" and "position" below are rows and columns,
// or columns and rows. Deduction::line is the line of the decided cell, otherLine the line it
// was set against, thirdLine and posA/posB what the deduction rests on. On a side without a
// table of valid lines (anything but 8, 10, 12, 14) no finder reports anything.
#pragma once

#include <cstdint>
#include <vector>

#include "game/line_tables.h"
#include "solver/line_scan.h"
#include "solver/stamped_table.h"

namespace tl {

// ---- Level 2 --------------------------------------------------------------------------------

// Avoidable duplicates with forcing cell, first form: a complete balanced line against a
// partial line that agrees with it; the empty cell whose copy of the complete line's value
// would leave the partial line no completion but that copy takes the other value.
bool FindAvoidableForcingCell1(const OrientedGrid &g, const LineTables &tables, Deduction &out);

// Second form: a line with exactly four empty cells and N/2 - 2 of each value against any
// complete line that agrees with it.
bool FindAvoidableForcingCell2(const OrientedGrid &g, const LineTables &tables, Deduction &out);

// Almost duplicates with in-between forcing cell: lines l and l + 3, equal cell for cell, each
// with two empty cells and N/2 - 1 of each value; the cells between them at an empty position
// must differ.
bool FindAlmostDuplicates(const OrientedGrid &g, Deduction &out);

// ---- Couples --------------------------------------------------------------------------------

// Couples are two empty cells of one line that take opposite values in every valid line
// that fits the line's filled cells. Fixed 14 x 14 tables indexed [row][column], -1 for none.
struct CoupleTables {
    std::int16_t RowPartner[14][14]; // column of the cell's partner in its row
    std::int16_t ColPartner[14][14]; // row of the cell's partner in its column
    std::int16_t RowEmpty[14], ColEmpty[14];     // empty cells per row / column
    std::int16_t RowCouples[14], ColCouples[14]; // couples recorded per row / column

    // The partner of (line, pos) along its own line of the view, as a position, or -1.
    int along(const OrientedGrid &g, int line, int pos) const
    {
        return IsColumns(g) ? ColPartner[pos][line] : RowPartner[line][pos];
    }
    // The partner of (line, pos) in its crossing line, as a line index of the view, or -1.
    int across(const OrientedGrid &g, int line, int pos) const
    {
        return IsColumns(g) ? RowPartner[pos][line] : ColPartner[line][pos];
    }
};

// The couples of a line depend on its cells alone. A CoupleMemo remembers the couples found
// for the lines met so far, by the line's cells (direct-mapped: a line that meets another in
// its slot is searched again and takes the slot over), so that a search over a grid in which
// few lines changed pairs only those lines again.
struct CoupleMemo {
    struct Line {
        std::uint32_t key;       // the line's filled cells and ones; 0xFFFFFFFF: no line
        std::int8_t partner[14]; // per position, its partner's position or -1
        std::int16_t couples;
    };
    static constexpr int kSlotBits = 13;
    static std::uint32_t slot(std::uint32_t key) { return (key * 0x9E3779B1u) >> (32 - kSlotBits); }
    int side = 0; // the side the entries were made for
    StampedTable<Line, kSlotBits, 1> lines{Line{0xFFFFFFFFu, {}, 0}};
};

// Clears the tables and finds the couples of every row, then of every column: each cell is
// paired with the first partner found (lowest free p1, then lowest free p2). On a side
// without a table of valid lines the tables stay empty. With a memo, lines whose cells are
// those of the memo's entry take the entry's couples instead of being searched again.
void BuildCouples(const GridView &grid, const LineTables &tables, CoupleTables &t,
                  CoupleMemo *memo = nullptr);
// The same over the rows and the columns of one grid as accessors (which may carry the lines'
// summaries).
void BuildCouples(const OrientedGrid &rows, const OrientedGrid &cols, const LineTables &tables,
                  CoupleTables &t, CoupleMemo *memo = nullptr);

// ---- Level 3: rectangles and sandwich ---------------------------------------------------------

// Rectangle leading to leftover cell: a line (0..lastLine) with three empty cells, two of
// which form a rectangle of couples with a partner line above 0.
bool FindRectangleLeftover(const OrientedGrid &g, const CoupleTables &t, int lastLine, Deduction &out);

// Forced rectangle leading to leftover cell: as above with the neighbouring line, the two
// corners kept from being equal by the known cells beside or between them.
bool FindForcedRectangle(const OrientedGrid &g, const CoupleTables &t, Deduction &out);

// Rectangle with in-between forcing cell: lines l and l + 3, each with two empty cells in the
// same positions, and a balanced crossing line through one of those positions.
bool FindRectangleForcingCell(const OrientedGrid &g, Deduction &out);

// Avoidable sandwich, first search: a line with four empty cells and exactly four candidate
// lines, set against pairs of complete lines that agree with it.
bool FindSandwichFirst(const OrientedGrid &g, const LineTables &tables, Deduction &out);

// Avoidable sandwich, second search, through the forces-opposite tests.
bool FindSandwichSecond(const OrientedGrid &g, const LineTables &tables, Deduction &out);

// Does giving the line under test (Pattern, Mask: LineCode of its known cells and the mask of
// those positions) at pos1 the value that line lineNr of the view holds at pos1 force the
// opposite value at pos2, in every valid line? An empty cell at (lineNr, pos1) counts as 1.
// True, without a scan, on a side without a table (no valid line can contradict it); false
// for an argument outside the board.
bool ForcesOpposite(const OrientedGrid &g, int pos1, int pos2, int lineNr, std::int32_t pattern,
                    std::int32_t mask, const LineTables &tables);

// ---- Level 3: chained couples ------------------------------------------------------------

// Chained couples leading to in-between forcing cell. Follows alternating row and column
// couples from every start cell; a chain of three, five or seven couples whose end comes back
// to the start's line makes its ends a couple, recorded in the tables (which this changes);
// five or seven couples ending three cells after the start force the cells between them.
bool FindChainedForcing(const GridView &grid, CoupleTables &t, Deduction &out);

// Chained couples leading to leftover cell: a line whose empty cells all lie in couples but
// one (counting chain couples) gets that one by the count of zeros and ones.
bool FindChainedLeftover(const OrientedGrid &g, const CoupleTables &t, Deduction &out);

} // namespace tl
