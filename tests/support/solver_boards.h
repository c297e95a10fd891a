// Helpers for tests and benchmarks of the rating solver: boards written as text, loading a clue
// grid into a solver's interface, and puzzles made from random full boards by clue removal.
#pragma once

#include "solver/solver.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tl::testboards {

// A board from rows of text: '0' and '1' are filled cells, '-' or '.' empty; spaces ignored.
std::vector<std::int32_t> Board(const std::vector<std::string> &rows);

// Fills the solver interface for a solve of `grid` (side n) at technique limit `level`:
// sizes, clue grid, Rate and the counts zeroed, HaltGenerator cleared.
void Load(RatingSolver &solver, const std::vector<std::int32_t> &grid, int n, int level);
// The same for a clue grid in the solver's own cell type, copied without conversion (for
// benchmarks, which load a grid on every iteration).
void Load(RatingSolver &solver, const std::vector<std::int16_t> &clues, int n, int level);

// The board as text rows, for failure messages.
std::string Show(const std::vector<std::int32_t> &grid, int n);

// A random partial grid from the full board `g`: cells emptied at `emptyShare` (percent), and,
// when `scramble` is set, some cells flipped first so that rules may break.
std::vector<std::int32_t> RandomGrid(std::vector<std::int32_t> g, std::mt19937_64 &rng, int emptyShare,
                                     bool scramble);

} // namespace tl::testboards

namespace tl::testboards {

// Removes the clues of the full board `full` (side n) in random order, keeping each one whose
// removal leaves a board that `solver` no longer finishes within `level`.
std::vector<std::int32_t> RemoveClues(RatingSolver &solver, const std::vector<std::int32_t> &full,
                                      int n, int level, std::mt19937_64 &rng);

// A puzzle of side n that the solver finishes within `level` (0 or 1): a random full board
// from `seed`, with clues removed in random order while a solve at that limit still succeeds.
// The full board it was made from goes to `solution` when given.
std::vector<std::int32_t> MakePuzzle(int n, int level, std::uint64_t seed,
                                     std::vector<std::int32_t> *solution = nullptr);

} // namespace tl::testboards
