// A bit summary of the rating solver's working grid, kept in step with the grid cell by cell
// while a solve runs, and the searches of the solver that run on it.
//
// Every row and every column is held as three bit sets over its positions (zeros, ones and
// empty cells), so the level-0 scans test a whole line with a few bit operations instead of
// visiting its cells, the number of empty cells is known without a pass over the grid, and the
// level-1 step can tell at once whether a line is the same as when it last yielded nothing.
//
// The searches here make exactly the deductions of the finders in solver/finders.h, in the
// same order: each one walks the lines in the order in which the finder meets their cells
// (row by row for the scans that run in CellIndex order) and takes the lowest position of the
// first line with a match. They hold only for grids of 0, 1 and -1: a grid with any other
// value is solved with the finders themselves (see `odd`).
#pragma once

#include <array>
#include <cstdint>

namespace tl {

struct BoardBits {
    int n = 0;
    // Per row r, bit c is column c; per column c, bit r is row r.
    std::array<std::uint32_t, 14> rowZero{}, rowOne{}, rowEmpty{};
    std::array<std::uint32_t, 14> colZero{}, colOne{}, colEmpty{};
    // The number of zeros and of ones of every row and column.
    std::array<std::int8_t, 14> rowZeros{}, rowOnes{}, colZeros{}, colOnes{};
    int emptyCount = 0; // cells holding -1
    int odd = 0;        // cells holding anything but -1, 0 and 1

    // Summarises a grid of side n (at most 14) in CellIndex order.
    void build(const std::int32_t *cells, int side);

    // Records that cell `index` changed from `from` to `to`.
    void change(int index, std::int32_t from, std::int32_t to);

    // A line as one number: its zeros in the low 14 bits, its ones above them. Two lines of a
    // grid without odd values are equal exactly when their keys are.
    std::uint32_t rowKey(int r) const { return rowZero[r] | (rowOne[r] << 14); }
    std::uint32_t colKey(int c) const { return colZero[c] | (colOne[c] << 14); }
};

// One cell to set: its CellIndex and value.
struct CellSetting {
    int index = -1;
    std::int32_t value = -1;
};

// Level 0, each as its finder in the given orientation (rows: false, columns: true).
bool BitsBordering(const BoardBits &b, bool columns, CellSetting &out);
bool BitsCentering(const BoardBits &b, bool columns, CellSetting &out);
bool BitsOneKindLeft(const BoardBits &b, bool columns, CellSetting &out);

// Level 1: Avoidable Duplicates, as FindAvoidableDuplicates.
bool BitsAvoidableDuplicates(const BoardBits &b, bool columns, CellSetting &out);

} // namespace tl
