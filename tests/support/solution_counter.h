// A second independent solution counter for binary puzzle boards, fast enough for 14 x 14
// puzzles. Like the brute-force counter it shares no code with the solver: every row and every
// column is a valid line (its own list, from brute::ValidLines) that fits the clues, all rows
// differ and all columns differ. It places whole rows, most constrained row first, and keeps
// for every column the set of its lines still possible, so a row is only tried when every one
// of its cells is still allowed by its column.
#pragma once

#include <cstdint>
#include <vector>

namespace tl::brute {

// The number of solutions of `grid` (n x n, -1 empty, 0, 1, row-major), at most `limit`.
long CountSolutions(int n, const std::vector<std::int32_t> &grid, long limit);

} // namespace tl::brute
