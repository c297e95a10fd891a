#include "support/solver_boards.h"

#include "support/brute_force.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <stdexcept>

namespace tl::testboards {

std::vector<std::int32_t> Board(const std::vector<std::string> &rows)
{
    std::vector<std::int32_t> cells;
    for (const std::string &row : rows) {
        for (char ch : row) {
            if (ch == '0' || ch == '1')
                cells.push_back(ch - '0');
            else if (ch == '-' || ch == '.')
                cells.push_back(-1);
            else if (ch != ' ')
                throw std::invalid_argument("bad board character");
        }
    }
    if (cells.size() != rows.size() * rows.size())
        throw std::invalid_argument("board is not square");
    return cells;
}

namespace {

// Everything Load fills but the clue grid.
void loadSizes(RatingSolver &solver, int n, int level)
{
    solver.GenGridSize = static_cast<std::int16_t>(n);
    solver.GenLastCell = n * n - 1;
    solver.GenSize = static_cast<std::int16_t>(n / 2 - 4);
    solver.GenLevel = static_cast<std::int16_t>(level);
    solver.Rate = 0;
    solver.DuplicateCount[solver.GenSize] = 0;
    solver.HeavyCount[solver.GenSize] = 0;
    solver.HaltGenerator = false;
}

} // namespace

void Load(RatingSolver &solver, const std::vector<std::int32_t> &grid, int n, int level)
{
    loadSizes(solver, n, level);
    solver.GenCells.assign(grid.begin(), grid.end());
}

void Load(RatingSolver &solver, const std::vector<std::int16_t> &clues, int n, int level)
{
    loadSizes(solver, n, level);
    solver.GenCells = clues;
}

std::string Show(const std::vector<std::int32_t> &grid, int n)
{
    std::string s;
    for (int i = 0; i < n * n; ++i) {
        s += grid[i] < 0 ? '-' : static_cast<char>('0' + grid[i]);
        if (i % n == n - 1)
            s += '\n';
    }
    return s;
}

std::vector<std::int32_t> RandomGrid(std::vector<std::int32_t> g, std::mt19937_64 &rng, int emptyShare,
                                     bool scramble)
{
    std::uniform_int_distribution<int> percent(0, 99);
    for (auto &v : g) {
        if (scramble && percent(rng) < 10)
            v = 1 - v;
        if (percent(rng) < emptyShare)
            v = -1;
    }
    return g;
}

std::vector<std::int32_t> RemoveClues(RatingSolver &solver, const std::vector<std::int32_t> &full,
                                      int n, int level, std::mt19937_64 &rng)
{
    std::vector<std::int32_t> clues = full;
    std::vector<int> order(static_cast<std::size_t>(n) * n);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), rng);
    for (const int cell : order) {
        const std::int32_t kept = clues[cell];
        clues[cell] = -1;
        Load(solver, clues, n, level);
        if (!solver.Solve_Puzzle())
            clues[cell] = kept;
    }
    return clues;
}

std::vector<std::int32_t> MakePuzzle(int n, int level, std::uint64_t seed,
                                     std::vector<std::int32_t> *solution)
{
    std::mt19937_64 rng(seed);
    const std::vector<std::int32_t> full = brute::RandomSolution(n, rng);
    if (solution)
        *solution = full;
    RatingSolver solver(SharedLineTables());
    return RemoveClues(solver, full, n, level, rng);
}

} // namespace tl::testboards
