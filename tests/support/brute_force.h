// An independent brute-force completion counter for binary puzzle boards, for checking that
// logical deductions are sound. It shares no code with the solver or the line tables: it builds
// its own list of valid lines and fills a board row by row over them, pruning on the columns.
//
// A grid is N x N cells in row-major order: -1 empty, 0 or 1. A completion fills every empty
// cell so that every row and column holds N/2 zeros and N/2 ones with no three equal values
// side by side, and no two rows and no two columns are equal.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace tl::brute {

// Every valid line of n cells as a bit value (bit p = the value at position p), increasing.
const std::vector<std::uint32_t> &ValidLines(int n);

// The valid lines of n cells that agree with every filled cell of `line` (n values -1/0/1).
std::vector<std::uint32_t> LinesFitting(int n, const std::vector<std::int32_t> &line);

// True when the columns of a full board, given as its rows (bit c = column c), all differ.
bool ColumnsDistinct(int n, const std::array<std::uint32_t, 14> &rows);

struct Completions {
    long count = 0;          // completions found (stops at the limit)
    bool exhaustive = false; // true when every completion was visited (count < limit)
    // Per cell: bit 0 set when some completion found has 0 there, bit 1 when one has 1.
    std::vector<std::uint8_t> seen;
};

// Counts the completions of `grid` (n x n), stopping once `limit` have been found, and records
// which values each cell takes in those found.
Completions Analyse(int n, const std::vector<std::int32_t> &grid, long limit);

// The number of completions, at most `limit`.
long CountCompletions(int n, const std::vector<std::int32_t> &grid, long limit);

// True when no completion of `grid` has anything but `value` in `cell` (the value is forced).
bool ValueForced(int n, const std::vector<std::int32_t> &grid, int cell, int value);

// A uniformly shuffled search's first full valid board of side n.
std::vector<std::int32_t> RandomSolution(int n, std::mt19937_64 &rng);

} // namespace tl::brute
