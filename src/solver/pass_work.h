// The two kinds of work a set run is made of, and the random stream of each.
//
// A run numbers its full boards 0, 1, 2, ... and the removal passes of each board 0..19. Board b
// is searched with a random stream of its own and pass p of board b shuffles its removal order
// with another, both seeded from the run's seed and their own indexes. Neither depends on
// anything else: not on the acceptance thresholds (which only decide what happens to a pass's
// result), not on the passes or boards before it, not on the thread that does the work. So a
// pass may be worked out ahead of time, on any thread, and the run's committer, which walks the
// passes in order and applies the acceptance rules, makes the same set from the same seed
// whatever the number of threads.
#pragma once

#include "platform/seeded_random.h"
#include "solver/board_search.h"
#include "solver/second_completion.h"
#include "solver/solver.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace tl {

// Removal passes on one board before it is dropped for a new one.
constexpr int kPassesPerBoard = 20;

// The seed of board `board`'s search (pass = -1) or of the removal order of pass `pass` of that
// board, derived from the run's seed.
std::uint64_t StreamSeed(std::uint64_t runSeed, long board, int pass);

struct FullBoard {
    std::vector<std::int32_t> cells; // N x N, CellIndex order
    int attempts = 0;                // board-search attempts it took (restarts included)
};

// What one removal pass left and how the rating solve rated it.
struct PassResult {
    std::vector<std::int16_t> cells; // the clue grid after the removal (-1 for a removed clue)
    std::int16_t rate = 0;
    std::int16_t duplicates = 0; // level-2 deductions of the rating solve
    std::int16_t heavy = 0;      // level-3 deductions of the rating solve
    long trials = 0;             // removal trials made
    long secondCompletions = 0;  // trials put back on a second completion, without a solve
    bool halted = false;         // the halt flag cut the pass short
};

// The grids that the removal-trial solves on one board went through on their way to the full
// board, the latest one for each number of empty cells, as the rows of a bit summary.
class FinishedGrids {
public:
    // Forgets every grid unless they were met on `board` (n x n) at the technique limit
    // `level`: a solve's course depends on the limit as well as on the grid.
    void useBoard(const std::vector<std::int32_t> &board, int n, int level);
    // The board, when the grid summarised by `bits` is one that a finished solve went
    // through; otherwise null, and the grid is noted for solved().
    const std::int32_t *lookup(const BoardBits &bits);
    // A solve begins; the one that began last has reached the full board.
    void beginSolve() { pendingCount_ = 0; }
    void solved();

private:
    // A grid as its rows' keys (BoardBits::rowKey), in four groups of four rows: all 14 rows
    // of the summary, then two of 0. Rows beyond the side are kept as the summary holds them:
    // the same for every grid of a board, and even if they were not, a difference there could
    // only make a grid be missed, never make grids that differ be taken for each other.
    using Quad = std::uint32_t __attribute__((vector_size(16)));
    using Rows = std::array<Quad, 4>;
    static constexpr int kCounts = 14 * 14 + 1;
    std::vector<std::int32_t> board_;
    int n_ = 0;
    int level_ = -1;
    std::array<Rows, kCounts> known_{}, noted_{};
    std::array<bool, kCounts> have_{};
    // The numbers of empty cells noted since beginSolve() (each once: a solve only fills cells).
    std::array<std::int16_t, kCounts> pending_{};
    int pendingCount_ = 0;
};

// Builds boards and runs passes with one solver. The solver's halt flag ends the work early
// (a board search then yields no board, a pass keeps the clues it had not tried yet and its
// rating solve finds nothing), and its event pump runs once per removal trial and per
// deduction of the solves it makes (a trial settled without a solve, or ended at a finished
// grid, makes fewer), as well as once per step of the board search.
class PassEvaluator {
public:
    explicit PassEvaluator(RatingSolver &solver);

    // Sets the solver interface and the board search up for (level, sizeIndex).
    void prepare(std::int16_t level, std::int16_t sizeIndex);
    std::int16_t level() const { return solver_.GenLevel; }
    std::int16_t sizeIndex() const { return solver_.GenSize; }

    // Board `board` of the run seeded `runSeed`; false when the halt flag ended the search.
    bool buildBoard(std::uint64_t runSeed, long board, FullBoard &out);
    // Pass `pass` of board `board`, which is `full`.
    void runPass(std::uint64_t runSeed, long board, int pass, const FullBoard &full, PassResult &out);

    // The solve that the removal trials and the rating call, given the solver; empty means
    // the solver's own Solve_Puzzle. Tests put a scripted solve here; when passes run on
    // several threads it is called from all of them.
    std::function<bool(RatingSolver &)> solve;

    // Whether a removal trial first looks for a second completion (see runPass), which puts
    // the clue back without a solve. Off, every trial solves; the decisions are the same.
    // Only the solver's own solve takes it: a scripted `solve` always solves.
    bool shortcuts = true;

private:
    bool runSolve() { return solve ? solve(solver_) : solver_.Solve_Puzzle(); }

    RatingSolver &solver_;
    SeededRandom random_{0};
    BoardSearch search_;
    std::vector<std::int32_t> order_;
    SecondCompletion completion_;
    FinishedGrids finished_;
};

} // namespace tl
