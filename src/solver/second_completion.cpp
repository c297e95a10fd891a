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

bool SecondCompletion::rectangleValid(int r1, int r2, int c1, int c2) const
{
    // Flipping the corners changes rows r1, r2 at columns c1, c2 and columns c1, c2 at rows
    // r1, r2, and no other line; every count of zeros and ones stays. So the flipped board is
    // valid exactly when the four changed lines have no three equal neighbours and none of
    // them equals another line of its kind as the lines stand after the flip: the other
    // changed line, or an unchanged one.
    const Bits colFlip = (Bits{1} << c1) | (Bits{1} << c2);
    const Bits rowFlip = (Bits{1} << r1) | (Bits{1} << r2);
    const Bits row1 = rowBits_[r1] ^ colFlip, row2 = rowBits_[r2] ^ colFlip;
    const Bits col1 = colBits_[c1] ^ rowFlip, col2 = colBits_[c2] ^ rowFlip;
    if (!noThree(row1) || !noThree(row2) || !noThree(col1) || !noThree(col2))
        return false;
    if (row1 == row2 || col1 == col2)
        return false;
    bool equal = false;
    for (int r = 0; r < n_; ++r)
        equal |= r != r1 && r != r2 && (rowBits_[r] == row1 || rowBits_[r] == row2);
    for (int c = 0; c < n_; ++c)
        equal |= c != c1 && c != c2 && (colBits_[c] == col1 || colBits_[c] == col2);
    return !equal;
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
            if (rectangleValid(r1, r2, c1, c2))
                return true;
        }
    }
    return false;
}

} // namespace tl
