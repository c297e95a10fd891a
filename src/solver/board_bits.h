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

#include "solver/stamped_table.h"

#include <array>
#include <cstdint>

namespace tl {

struct BoardBits {
    int n = 0;
    // (index * rowOfIndex) >> 16 is index / n, exactly for every CellIndex of a side up to 14,
    // without a division on every change.
    std::uint32_t rowOfIndex = 0;
    // Per row r, bit c is column c; per column c, bit r is row r.
    std::array<std::uint32_t, 14> rowZero{}, rowOne{}, rowEmpty{};
    std::array<std::uint32_t, 14> colZero{}, colOne{}, colEmpty{};
    // The number of zeros and of ones of every row and column.
    std::array<std::int8_t, 14> rowZeros{}, rowOnes{}, colZeros{}, colOnes{};
    // Every row's key (rowKey), kept with its bits: the keys of all rows are read at every step.
    std::array<std::uint32_t, 14> rowKeys{};
    int half = 0;       // n / 2
    int emptyCount = 0; // cells holding -1
    int odd = 0;        // cells holding anything but -1, 0 and 1
    // The rows holding an empty cell, and the rows and columns holding n/2 zeros or n/2 ones
    // (bit k = line k), kept with the counts so that One kind left needs no walk over them.
    std::uint32_t emptyRows = 0;
    std::uint32_t rowsHalfZeros = 0, rowsHalfOnes = 0, colsHalfZeros = 0, colsHalfOnes = 0;

    // The four Bordering and Centering scans (kBorderRows, kBorderCols, kCenterRows,
    // kCenterCols), all kept by row: per row r, the empty cells of r that the scan decides
    // (bit c = column c), and the rows where it decides any. The row scans are worked out
    // per row, the column scans per column (`colDecided`, bit r = row r), whose changed bits
    // are then carried into the rows, so a step never turns a whole column into rows. A change
    // of a cell works out the row scans' entries of its row at once and marks its column as
    // stale for the column scans, to be worked out when the scan next looks (firstRows; after
    // `build`, every line is stale).
    enum Scan { kBorderRows, kBorderCols, kCenterRows, kCenterCols };
    std::array<std::array<std::uint32_t, 14>, 4> decided{};
    std::array<std::uint32_t, 4> decidedRows{};
    std::array<std::uint32_t, 4> stale{};
    // Per column scan (0: Bordering, 1: Centering), the cells of each column it decides.
    std::array<std::array<std::uint32_t, 14>, 2> colDecided{};

    // The rows where scan `scan` decides a cell (bit r = row r), its entries brought up to date.
    std::uint32_t firstRows(Scan scan);
    // The cells of row r that scan `scan` decides (bit c = column c), after firstRows(scan).
    std::uint32_t decidedInRow(Scan scan, int r) const { return decided[scan][r]; }

    // Summarises a grid of side n (at most 14) in CellIndex order.
    void build(const std::int32_t *cells, int side);

    // Records that cell `index` changed from `from` to `to`.
    void change(int index, std::int32_t from, std::int32_t to)
    {
        const int r = static_cast<int>((static_cast<std::uint32_t>(index) * rowOfIndex) >> 16);
        const int c = index - r * n;
        if (from == -1 && (to == 0 || to == 1))
            fill(r, c, to); // the solver's own writes
        else
            changeAny(r, c, from, to);
        // The row scans' entries of row r are worked out at once: every step looks at them.
        const std::uint32_t z = rowZero[r], o = rowOne[r], e = rowEmpty[r], rb = 1u << r;
        const std::uint32_t border =
            e & (((z >> 1) & (z >> 2)) | ((o >> 1) & (o >> 2)) | ((z << 1) & (z << 2)) | ((o << 1) & (o << 2)));
        const std::uint32_t center = e & (((z << 1) & (z >> 1)) | ((o << 1) & (o >> 1)));
        decided[kBorderRows][r] = border;
        decided[kCenterRows][r] = center;
        decidedRows[kBorderRows] = (decidedRows[kBorderRows] & ~rb) | (static_cast<std::uint32_t>(border != 0) << r);
        decidedRows[kCenterRows] = (decidedRows[kCenterRows] & ~rb) | (static_cast<std::uint32_t>(center != 0) << r);
        stale[kBorderCols] |= 1u << c;
        stale[kCenterCols] |= 1u << c;
    }

    // A line as one number: its zeros in the low 14 bits, its ones above them. Two lines of a
    // grid without odd values are equal exactly when their keys are.
    std::uint32_t rowKey(int r) const { return rowKeys[r]; }
    std::uint32_t colKey(int c) const { return colZero[c] | (colOne[c] << 14); }

private:
    // An empty cell at row r, column c gets the value `to` (0 or 1).
    void fill(int r, int c, std::int32_t to)
    {
        const std::uint32_t rb = 1u << c, cb = 1u << r;
        rowEmpty[r] &= ~rb;
        colEmpty[c] &= ~cb;
        --emptyCount;
        emptyRows = (emptyRows & ~cb) | (static_cast<std::uint32_t>(rowEmpty[r] != 0) << r);
        if (to == 0) {
            rowZero[r] |= rb;
            colZero[c] |= cb;
            rowKeys[r] |= rb;
            rowsHalfZeros = (rowsHalfZeros & ~cb) | (static_cast<std::uint32_t>(++rowZeros[r] == half) << r);
            colsHalfZeros = (colsHalfZeros & ~rb) | (static_cast<std::uint32_t>(++colZeros[c] == half) << c);
        } else {
            rowOne[r] |= rb;
            colOne[c] |= cb;
            rowKeys[r] |= rb << 14;
            rowsHalfOnes = (rowsHalfOnes & ~cb) | (static_cast<std::uint32_t>(++rowOnes[r] == half) << r);
            colsHalfOnes = (colsHalfOnes & ~rb) | (static_cast<std::uint32_t>(++colOnes[c] == half) << c);
        }
    }
    // Any other change: the old value is counted out, the new one in.
    void changeAny(int r, int c, std::int32_t from, std::int32_t to);
};

// What a line technique decides for a line, remembered by the line's key (BoardBits::rowKey /
// colKey) for the techniques whose answer depends on the line's own cells alone: the
// positions it sets to 0 and those it sets to 1 (neither: it yields nothing). Direct-mapped: a
// key that meets another in its slot is examined again and takes the slot over.
class LineMemo {
public:
    // Forgets everything unless the entries were made for this side.
    void prepare(int side);
    bool find(std::uint32_t key, std::uint16_t &zeros, std::uint16_t &ones) const
    {
        const Entry *e = entries_.find(slot(key));
        if (!e || e->key != key)
            return false;
        zeros = e->zeros;
        ones = e->ones;
        return true;
    }
    void store(std::uint32_t key, std::uint16_t zeros, std::uint16_t ones)
    {
        entries_.slot(slot(key)) = Entry{key, zeros, ones};
    }
    // Line `line` of an orientation (columns: true) last held the cells of `key` and the
    // technique yielded nothing there: the line is answered without a look into the table.
    bool quiet(bool columns, int line, std::uint32_t key) const { return quiet_[columns][line] == key; }
    void setQuiet(bool columns, int line, std::uint32_t key) { quiet_[columns][line] = key; }

private:
    static constexpr int kSlotBits = 14;
    struct Entry {
        std::uint32_t key; // 0xFFFFFFFF in an empty entry: no line has this key
        std::uint16_t zeros, ones;
    };
    static std::uint32_t slot(std::uint32_t key) { return (key * 0x9E3779B1u) >> (32 - kSlotBits); }
    StampedTable<Entry, kSlotBits, 2> entries_{Entry{0xFFFFFFFFu, 0, 0}};
    std::array<std::array<std::uint32_t, 14>, 2> quiet_{};
    int side_ = 0;
};

// One cell to set: its CellIndex and value.
struct CellSetting {
    int index = -1;
    std::int32_t value = -1;
};

// Level 0, each as its finder in the given orientation (rows: false, columns: true).
bool BitsBordering(BoardBits &b, bool columns, CellSetting &out);
bool BitsCentering(BoardBits &b, bool columns, CellSetting &out);
bool BitsOneKindLeft(const BoardBits &b, bool columns, CellSetting &out);

// The level-0 steps in the solver's order (Bordering in rows, then in columns, Centering in
// rows, then in columns, One kind left in rows, then in columns): the first that decides a
// cell sets `out` and says which group it belongs to.
enum class LevelZeroFind { None, BorderingCentering, OneKindLeftRow, OneKindLeftColumn };
LevelZeroFind BitsLevelZero(BoardBits &b, CellSetting &out);

// Level 1: Avoidable Duplicates, as FindAvoidableDuplicates.
bool BitsAvoidableDuplicates(const BoardBits &b, bool columns, CellSetting &out);

} // namespace tl
