// Boards for tests and benchmarks of the hint engine: a puzzle on the board written as text or
// taken from a grid and its solution, and the records of a stock file.
#pragma once

#include "game/puzzle_record.h"
#include "hints/hint_engine.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tl::test {

// The game window's puzzle as the hint engine reads it.
struct HintBoard {
    CellGrid board{};
    CellGrid solution{};
    int n = 0;

    HintPuzzle Puzzle(bool finished = false) const
    {
        return HintPuzzle{board, solution, n, n * n - 1, finished};
    }
};

// From rows of text ('0' and '1' filled, '-' or '.' empty, spaces ignored). The solution agrees
// with every filled cell (empty cells hold 0 in it), so no cell is wrong.
HintBoard HintBoardFromRows(const std::vector<std::string> &rows);
// From a grid of n x n cells (-1 empty) and its solution.
HintBoard HintBoardFrom(const std::vector<std::int32_t> &grid,
                        const std::vector<std::int32_t> &solution, int n);
// The board of `b` with rows and columns exchanged.
HintBoard Transposed(const HintBoard &b);

// Every record of the stock file at `path`, in file order; empty when it cannot be read.
std::vector<PuzzleRecord> ReadStockRecords(const std::string &path);

} // namespace tl::test
