// A quick search for a second completion of a clue grid whose solution is known: a valid full
// board that agrees with every clue and differs from the solution by flipping a few empty cells.
// The generator uses it in its removal trials: when removing a clue leaves such a board, the
// rating solve cannot finish the grid (see PassEvaluator::runPass), so the clue goes back without
// solving.
//
// The flips looked for are rectangles through the removed cell: four cells at the corners of a
// rectangle (rows r1, r2, columns c1, c2) holding v, 1-v / 1-v, v. Flipping them keeps every
// line's count of zeros and ones, so the flipped board is valid exactly when its changed lines
// still have no three equal neighbours and no two rows and no two columns are equal. (Longer
// alternating cycles, six cells on three rows and three columns, were tried as well: in the
// generator they settle few trials and cost more to search for than the solves they save.)
#pragma once

#include <array>
#include <cstdint>

namespace tl {

class SecondCompletion {
public:
    // Starts from the full board `solution` (n x n, CellIndex order) with no cell empty.
    void setSolution(const std::int32_t *solution, int n);
    // Marks a cell empty (a removed clue) or filled again.
    void setEmpty(int cell, bool empty);
    // True when flipping a rectangle of empty cells with a corner at `cell` (which must be
    // empty) gives a valid full board.
    bool rectangleFlip(int cell) const;

private:
    using Bits = std::uint32_t;
    // Row r as bits (bit c = value of column c) and column c as bits (bit r = value of row r).
    std::array<Bits, 14> rowBits_{}, colBits_{};
    // The empty cells of each row (bit c) and of each column (bit r).
    std::array<Bits, 14> rowEmpty_{}, colEmpty_{};
    int n_ = 0;
    Bits all_ = 0;

    // Cells of row r (as column bits) or of column c (as row bits) holding `value`.
    Bits rowHolding(int r, int value) const { return value ? rowBits_[r] : ~rowBits_[r] & all_; }
    Bits colHolding(int c, int value) const { return value ? colBits_[c] : ~colBits_[c] & all_; }
    // Whether a line with these bits has no three equal neighbours.
    bool noThree(Bits line) const;
    // Whether flipping the corners of the rectangle on rows r1, r2 and columns c1, c2 (r1 != r2,
    // c1 != c2) gives a valid full board.
    bool rectangleValid(int r1, int r2, int c1, int c2) const;
};

} // namespace tl
