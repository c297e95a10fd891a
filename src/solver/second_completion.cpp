#include "solver/second_completion.h"

namespace tl {

void SecondCompletion::setSolution(const std::int32_t *solution, int n)
{
    n_ = n;
    all_ = (Bits{1} << n) - 1;
    rowBits_.fill(0);
    colBits_.fill(0);
    rowEmpty_.fill(0);
    colEmpty_.fill(0);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            if (solution[r * n + c] == 1) {
                rowBits_[r] |= Bits{1} << c;
                colBits_[c] |= Bits{1} << r;
            }
}

void SecondCompletion::setEmpty(int cell, bool empty)
{
    const int r = cell / n_, c = cell % n_;
    if (empty) {
        rowEmpty_[r] |= Bits{1} << c;
        colEmpty_[c] |= Bits{1} << r;
    } else {
        rowEmpty_[r] &= ~(Bits{1} << c);
        colEmpty_[c] &= ~(Bits{1} << r);
    }
}

bool SecondCompletion::noThree(Bits line) const
{
    const Bits zeros = ~line & all_;
    return ((line & (line >> 1) & (line >> 2)) | (zeros & (zeros >> 1) & (zeros >> 2))) == 0;
}

bool SecondCompletion::validAfter(const int *rows, const Bits *newRows, const int *cols,
                                  const Bits *newCols, int count) const
{
    for (int i = 0; i < count; ++i)
        if (!noThree(newRows[i]) || !noThree(newCols[i]))
            return false;
    // No changed line may equal another line, changed or not.
    for (int i = 0; i < count; ++i) {
        for (int r = 0; r < n_; ++r) {
            Bits other = rowBits_[r];
            bool self = false;
            for (int j = 0; j < count; ++j)
                if (rows[j] == r) {
                    other = newRows[j];
                    self = j == i;
                }
            if (!self && other == newRows[i])
                return false;
        }
        for (int c = 0; c < n_; ++c) {
            Bits other = colBits_[c];
            bool self = false;
            for (int j = 0; j < count; ++j)
                if (cols[j] == c) {
                    other = newCols[j];
                    self = j == i;
                }
            if (!self && other == newCols[i])
                return false;
        }
    }
    return true;
}

bool SecondCompletion::rectangleFlip(int cell) const
{
    const int r1 = cell / n_, c1 = cell % n_;
    const int v = static_cast<int>((rowBits_[r1] >> c1) & 1);
    // Corner (r1, c2) holds 1-v, (r2, c1) holds 1-v, (r2, c2) holds v; all four empty.
    Bits c2s = rowEmpty_[r1] & rowHolding(r1, 1 - v);
    const Bits r2sOfC1 = colEmpty_[c1] & colHolding(c1, 1 - v);
    while (c2s) {
        const int c2 = __builtin_ctz(c2s);
        c2s &= c2s - 1;
        Bits r2s = r2sOfC1 & colEmpty_[c2] & colHolding(c2, v);
        while (r2s) {
            const int r2 = __builtin_ctz(r2s);
            r2s &= r2s - 1;
            const Bits colFlip = (Bits{1} << c1) | (Bits{1} << c2);
            const Bits rowFlip = (Bits{1} << r1) | (Bits{1} << r2);
            const int rows[2] = {r1, r2}, cols[2] = {c1, c2};
            const Bits newRows[2] = {rowBits_[r1] ^ colFlip, rowBits_[r2] ^ colFlip};
            const Bits newCols[2] = {colBits_[c1] ^ rowFlip, colBits_[c2] ^ rowFlip};
            if (validAfter(rows, newRows, cols, newCols, 2))
                return true;
        }
    }
    return false;
}

} // namespace tl
