#include "solver/board_search.h"

#include <utility>

namespace tl {

BoardSearch::BoardSearch(const LineTables &tables, RandomSource &random, EventPump *pump,
                         const bool *halt)
    : tables_(tables), random_(random), pump_(pump), halt_(halt)
{
    RowChoice.fill(-1);
}

void BoardSearch::setSize(int n)
{
    n_ = n;
    bits_ = &tables_.bits(n);
    GenLastLine = tables_.lastLine(n);
    switch (n) {
    case 8: swaps_ = 1024; break;
    case 10: swaps_ = 4096; break;
    case 12: swaps_ = 8192; break;
    case 14: swaps_ = 16384; break;
    default: swaps_ = 0; break;
    }
    allOnes_ = (1 << n) - 1;
    threeRowMask_ = 7 << (n - 3);
}

void BoardSearch::shuffle()
{
    const BoundedDraw draw(static_cast<std::uint32_t>(GenLastLine + 1));
    for (int s = 0; s < swaps_; ++s) {
        const std::uint32_t a = draw(random_);
        const std::uint32_t b = draw(random_);
        std::swap(LineOrder[a], LineOrder[b]);
    }
}

bool BoardSearch::Row_Fits(int row)
{
    const int n = n_;
    const std::int32_t v = (*bits_)[LineOrder[RowChoice[row]]];
    RowBits[row] = v;

    // A row may not repeat a row already placed below it.
    for (int i = row + 1; i < n; ++i)
        if (RowBits[i] == v)
            return false;

    // Three equal values in a column, tested for all columns at once: rows row + 1 and
    // row + 2 are placed and their bit values are in RowBits. (The column loop below makes the
    // same test one column at a time; this only refuses most candidates sooner.)
    if (row < n - 2) {
        const std::int32_t a = RowBits[row + 1], b = RowBits[row + 2];
        if ((v & a & b) != 0 || (~v & ~a & ~b & allOnes_) != 0)
            return false;
    }

    // Column bits: grid row r is bit n - 1 - r, so the rows below `row` are the low bits.
    const std::int32_t below = allOnes_ >> (row + 1);
    const std::int32_t mask = threeRowMask_ >> row; // rows row, row + 1, row + 2
    const std::int32_t rowBit = 1 << (n - 1 - row);
    const int half = n / 2;
    for (int c = 0; c < n; ++c) {
        std::int32_t col = ColumnBits[c] & below;
        if ((v >> c) & 1)
            col |= rowBit;
        ColumnBits[c] = col;
        if (row < n - 2) {
            const std::int32_t three = col & mask;
            if (three == mask || three == 0)
                return false;
        }
        if (row < half) {
            const int ones = tables_.BitCount[col];
            if (ones > half || ones < half - row)
                return false;
        }
    }

    // Once only the top row is missing, two equal columns could never become different.
    if (row == 1) {
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                if (ColumnBits[i] == ColumnBits[j])
                    return false;
    }
    return true;
}

bool BoardSearch::Build_Full_Board(std::vector<std::int32_t> &board)
{
    const int n = n_;
    board.assign(static_cast<std::size_t>(n) * n, -1);
    LineOrder.resize(static_cast<std::size_t>(GenLastLine) + 1);
    for (std::int32_t k = 0; k <= GenLastLine; ++k)
        LineOrder[k] = k;
    attempts_ = 0;

    for (;;) {
        // One attempt: a fresh shuffle of the order left by the previous attempt.
        if (*halt_)
            return false;
        ++attempts_;
        bool restart = false;
        int steps = 0;
        shuffle();
        // The candidates' bit values in the order they are tried.
        orderedBits_.resize(LineOrder.size());
        for (std::size_t k = 0; k < LineOrder.size(); ++k)
            orderedBits_[k] = (*bits_)[LineOrder[k]];
        RowChoice.fill(-1);
        int row = n - 1;
        // The values that the columns force on a candidate of row maskRow.
        int maskRow = -1;
        std::int32_t mustBeZero = 0, mustBeOne = 0;

        while (row < n && !*halt_) {
            if (pump_)
                pump_->pumpEvents();
            if (++steps >= kStepLimit) {
                restart = true;
                break;
            }
            if (row == -1)
                break; // every row is placed
            for (;;) {
                if (RowChoice[row] == GenLastLine) {
                    RowChoice[row] = -1;
                    ++row;
                    // Moving back: the row's excluded candidates depend on the rows below
                    // it, which may have changed since they were worked out for this row.
                    maskRow = -1;
                    if (row == n) {
                        // Every line has been tried in the bottom row: this order holds no
                        // board. Start again with a new shuffle rather than leave the rows.
                        restart = true;
                        break;
                    }
                    continue;
                }
                ++RowChoice[row];
                if (row < n - 2) {
                    // Most candidates put three equal values in a column with the two rows
                    // below, or (above the middle) a value into a column that already holds
                    // N/2 of it; Row_Fits would refuse them, so they are passed over here
                    // without a call, up to the next candidate it may accept. The columns
                    // below stay as they are while the candidates of one row are tried.
                    if (row != maskRow) {
                        const std::int32_t a = RowBits[row + 1], b = RowBits[row + 2];
                        mustBeZero = a & b;
                        mustBeOne = ~a & ~b & allOnes_;
                        if (row < n / 2) {
                            const std::int32_t below = allOnes_ >> (row + 1);
                            const int placed = n - 1 - row;
                            for (int c = 0; c < n; ++c) {
                                const int ones = tables_.BitCount[ColumnBits[c] & below];
                                if (ones == n / 2)
                                    mustBeZero |= 1 << c;
                                else if (placed - ones == n / 2)
                                    mustBeOne |= 1 << c;
                            }
                        }
                        maskRow = row;
                    }
                    std::int32_t k = RowChoice[row];
                    while (k < GenLastLine && ((orderedBits_[k] & mustBeZero) != 0 ||
                                               (~orderedBits_[k] & mustBeOne) != 0))
                        ++k;
                    RowChoice[row] = k;
                }
                if (Row_Fits(row)) {
                    --row;
                    break;
                }
                if (*halt_)
                    break;
            }
            if (restart)
                break;
        }
        if (restart)
            continue;
        if (*halt_ || row != -1)
            return false;
        break;
    }

    for (int r = 0; r < n; ++r) {
        const std::int32_t v = (*bits_)[LineOrder[RowChoice[r]]];
        for (int c = 0; c < n; ++c)
            board[static_cast<std::size_t>(r) * n + (n - 1 - c)] = (v >> c) & 1;
    }
    return true;
}

} // namespace tl
