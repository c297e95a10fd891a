// Technique finders shared by the rating solver and the hint engine.
//
// A finder looks at a grid through a read-only view, searches it in the technique's own fixed
// order and reports the first deduction it meets: which technique, which line, and the cells it
// decides with their values. A finder never writes the grid and reads nothing but what it is
// given (the view, and the valid-line tables where it needs them), so the same finder serves
// the solver (which writes the deduction into its working grid) and the hint engine (which only
// marks the cells).
//
// Rows and columns: every technique that has a row form and a column form is written once,
// against an OrientedGrid. An OrientedGrid addresses the board as lines and positions: in the
// row orientation line k is row k and position p is column p; in the column orientation line k
// is column k and position p is row p (a column is read from its top cell down). So the column
// form is the row form with rows and columns exchanged. Scan orders that are defined over
// CellIndex (row-major) order rather than line by line stay in CellIndex order in both
// orientations: such finders walk the cells i = 0, 1, ... and use lineOf(i) / posOf(i).
#pragma once

#include "game/line_tables.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace tl {

// The thirteen techniques, easiest first.
enum class Technique : std::int8_t {
    None = -1,
    Bordering,                       // level 0
    Centering,                       // level 0
    OneKindLeft,                     // level 0
    UncoveredCells,                  // level 1 (counting form and valid-line form)
    AvoidableDuplicates,             // level 1
    AvoidableDuplicatesForcingCell,  // level 2
    AlmostDuplicatesForcingCell,     // level 2
    RectangleLeftoverCell,           // level 3
    ForcedRectangleLeftoverCell,     // level 3
    RectangleForcingCell,            // level 3
    AvoidableSandwich,               // level 3
    ChainedCouplesForcingCell,       // level 3
    ChainedCouplesLeftoverCell,      // level 3
};

// The technique level (0..3) of a technique; -1 for None.
int TechniqueLevel(Technique t);

enum class Orientation : std::int8_t { Rows, Columns };

// A read-only view of a square grid of N x N cell values (-1 empty, 0, 1) in CellIndex order.
struct GridView {
    const std::int32_t *cells = nullptr;
    int n = 0;

    std::int32_t operator[](int cellIndex) const { return cells[cellIndex]; }
    int cellCount() const { return n * n; }
};

struct LineScan; // solver/line_scan.h

// The orientation accessor: a grid seen as N lines of N positions, rows or columns.
class OrientedGrid {
public:
    // `scans` (may be null) holds the LineScan of every line of this orientation as the grid
    // stands, for finders that summarise lines (ScanLine); the grid must not change while the
    // accessor is used with it.
    OrientedGrid(GridView grid, Orientation o, const LineScan *scans = nullptr)
        : cells_(grid.cells), n_(grid.n), orientation_(o),
          lineStride_(o == Orientation::Rows ? grid.n : 1),
          posStride_(o == Orientation::Rows ? 1 : grid.n), scans_(scans)
    {
    }

    int n() const { return n_; }
    Orientation orientation() const { return orientation_; }
    // CellIndex of position `pos` of line `line`.
    int index(int line, int pos) const { return line * lineStride_ + pos * posStride_; }
    std::int32_t at(int line, int pos) const { return cells_[index(line, pos)]; }
    // The line and the position of a CellIndex in this orientation.
    int lineOf(int cellIndex) const
    {
        return orientation_ == Orientation::Rows ? cellIndex / n_ : cellIndex % n_;
    }
    int posOf(int cellIndex) const
    {
        return orientation_ == Orientation::Rows ? cellIndex % n_ : cellIndex / n_;
    }
    std::int32_t cell(int cellIndex) const { return cells_[cellIndex]; }
    // Distance in CellIndex between neighbouring positions of a line.
    int posStride() const { return posStride_; }
    const LineScan *scans() const { return scans_; }

private:
    const std::int32_t *cells_;
    int n_;
    Orientation orientation_;
    int lineStride_;
    int posStride_;
    const LineScan *scans_;
};

// One deduction: the technique, where it was found, and the cells it decides.
struct Deduction {
    Technique technique = Technique::None;
    Orientation orientation = Orientation::Rows;
    int line = -1;      // the row or column holding the decided cells
    int otherLine = -1; // the line it was compared with (duplicate techniques), else -1
    // Level-2 and level-3 techniques also name what the deduction rests on, in the terms of
    // the orientation: a third line (the second sandwich partner, or the number of couples of
    // a chain) and two positions (corners, a couple, shared positions, the ends of a chain).
    int thirdLine = -1;
    int posA = -1;
    int posB = -1;
    int count = 0;      // number of decided cells (1, or up to N for Uncovered cell(s))
    std::array<std::int16_t, 14> cells{}; // CellIndex of each decided cell
    std::array<std::int8_t, 14> values{}; // the value (0 or 1) each decided cell must take

    void clear(Technique t, Orientation o, int ln)
    {
        technique = t;
        orientation = o;
        line = ln;
        otherLine = -1;
        thirdLine = -1;
        posA = -1;
        posB = -1;
        count = 0;
    }
    void add(int cellIndex, int value)
    {
        cells[count] = static_cast<std::int16_t>(cellIndex);
        values[count] = static_cast<std::int8_t>(value);
        ++count;
    }
};

// ---- Level 0 ---------------------------------------------------------------------------------
// Each scans the empty cells in CellIndex order, in both orientations.

// Bordering: an empty cell next to two equal cells of its line (first the two after it, then
// the two before it) takes the other value.
bool FindBordering(const OrientedGrid &g, Deduction &out);
// Centering: an empty cell between two equal cells of its line takes the other value.
bool FindCentering(const OrientedGrid &g, Deduction &out);
// One kind left: an empty cell whose line already holds N/2 zeros takes 1 (else, N/2 ones: 0).
bool FindOneKindLeft(const OrientedGrid &g, Deduction &out);

// ---- Level 1 ---------------------------------------------------------------------------------

// Uncovered cell(s), counting form, for one line: counts what the line still needs once its
// covered pairs (0 - - 1 or 1 - - 0) are set aside. May decide up to five cells.
bool ExamineLineByCounting(const OrientedGrid &g, int line, Deduction &out);
// The same for a line that holds only -1, 0 and 1, given its zeros and ones as bits (bit p =
// position p): its counts, covered pairs and candidate cell come from a few bit operations.
bool ExamineLineBitsByCounting(const OrientedGrid &g, int line, std::uint32_t zeros, std::uint32_t ones,
                               Deduction &out);
// The counting form over lines 0..N-1 of the orientation; the first line that yields wins.
bool FindUncoveredByCounting(const OrientedGrid &g, Deduction &out);

// Uncovered cell(s), valid-line form, for one line: every empty cell on which all valid lines
// of size N of `tables` that fit the line's filled cells agree. The fitting lines are found
// through the tables' index when they have one, else by a scan of their LineCodes.
bool ExamineLineByValidLines(const OrientedGrid &g, int line, const LineTables &tables, Deduction &out);
// The valid-line form: walks the cells in CellIndex order and examines the line (of the
// orientation) of each empty cell; the first line that yields wins. For rows that is the first
// yielding row; for columns, the yielding column whose first empty cell comes first
// row by row. Finds nothing for a size without a table.
bool FindUncoveredByValidLines(const OrientedGrid &g, const LineTables &tables, Deduction &out);

// Avoidable Duplicates: a line missing a single 0 (or else a single 1) whose filled zeros (ones)
// are all zeros (ones) of another line that holds N/2 of them: the position where only the other
// line has that value takes the opposite value. Lines in order, other lines in order.
bool FindAvoidableDuplicates(const OrientedGrid &g, Deduction &out);

} // namespace tl
