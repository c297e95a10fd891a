// Speed of the rating solver with its upper levels: solving level-2 and level-3 puzzles of
// each size, and a whole clue-removal sweep at limit 3 (what the generator does for every
// candidate puzzle: one solve per clue it tries to remove).
#include "solver/solver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

using namespace tl;

namespace {

// A random full board of side n: rows drawn from the valid-line table, backtracking on the
// column counts and runs, columns distinct at the end.
bool fillRows(int n, int r, std::vector<std::int32_t> &rows, std::mt19937_64 &rng)
{
    const std::uint32_t full = (1u << n) - 1u;
    if (r == n) {
        std::vector<std::uint32_t> cols(n, 0);
        for (int k = 0; k < n; ++k)
            for (int c = 0; c < n; ++c)
                cols[c] |= static_cast<std::uint32_t>((rows[k] >> c) & 1) << k;
        std::sort(cols.begin(), cols.end());
        return std::adjacent_find(cols.begin(), cols.end()) == cols.end();
    }
    std::uint32_t mustZero = 0, mustOne = 0;
    for (int c = 0; c < n; ++c) {
        int ones = 0;
        for (int k = 0; k < r; ++k)
            ones += (rows[k] >> c) & 1;
        mustZero |= (ones == n / 2 ? 1u : 0u) << c;
        mustOne |= (r - ones == n / 2 ? 1u : 0u) << c;
    }
    if (r >= 2) {
        const std::uint32_t a = rows[r - 1], b = rows[r - 2], same = ~(a ^ b) & full;
        mustZero |= same & a;
        mustOne |= same & ~a;
    }
    std::vector<std::int32_t> order;
    for (const std::int32_t line : SharedLineTables().bits(n)) {
        const std::uint32_t l = static_cast<std::uint32_t>(line);
        if ((l & mustZero) == 0 && (~l & mustOne & full) == 0 &&
            std::find(rows.begin(), rows.begin() + r, line) == rows.begin() + r)
            order.push_back(line);
    }
    std::shuffle(order.begin(), order.end(), rng);
    int tries = 0;
    for (const std::int32_t line : order) {
        rows[r] = line;
        if (fillRows(n, r + 1, rows, rng))
            return true;
        if (++tries > 3)
            return false;
    }
    return false;
}

std::vector<std::int32_t> fullBoard(int n, std::mt19937_64 &rng)
{
    std::vector<std::int32_t> rows(n);
    while (!fillRows(n, 0, rows, rng)) {
    }
    std::vector<std::int32_t> board(n * n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            board[r * n + c] = (rows[r] >> c) & 1;
    return board;
}

void load(RatingSolver &s, const std::vector<std::int32_t> &clues, int n, int level)
{
    s.GenGridSize = static_cast<std::int16_t>(n);
    s.GenLastCell = n * n - 1;
    s.GenSize = static_cast<std::int16_t>(n / 2 - 4);
    s.GenLevel = static_cast<std::int16_t>(level);
    s.GenCells.assign(clues.begin(), clues.end());
    s.Rate = 0;
    s.DuplicateCount[s.GenSize] = 0;
    s.HeavyCount[s.GenSize] = 0;
    s.HaltGenerator = false;
}

// Removes clues in random order while the solver can still finish the board at `level`.
std::vector<std::int16_t> sweep(RatingSolver &s, const std::vector<std::int32_t> &full, int n,
                                int level, std::mt19937_64 &rng)
{
    std::vector<std::int16_t> clues(full.begin(), full.end());
    std::vector<int> order(n * n);
    for (int i = 0; i < n * n; ++i)
        order[i] = i;
    std::shuffle(order.begin(), order.end(), rng);
    for (const int cell : order) {
        clues[cell] = -1;
        load(s, std::vector<std::int32_t>(clues.begin(), clues.end()), n, level);
        if (!s.Solve_Puzzle())
            clues[cell] = static_cast<std::int16_t>(full[cell]);
    }
    return clues;
}

// Eight puzzles of side n rated exactly `rate` by a solve at limit `rate`, made once.
const std::vector<std::vector<std::int16_t>> &puzzles(int n, int rate)
{
    static std::map<std::pair<int, int>, std::vector<std::vector<std::int16_t>>> made;
    auto &list = made[{n, rate}];
    if (!list.empty())
        return list;
    std::mt19937_64 rng(1000 + 10 * n + rate);
    RatingSolver s(SharedLineTables());
    while (list.size() < 8) {
        const auto full = fullBoard(n, rng);
        auto clues = sweep(s, full, n, rate, rng);
        load(s, std::vector<std::int32_t>(clues.begin(), clues.end()), n, rate);
        if (s.Solve_Puzzle() && s.Rate == rate)
            list.push_back(clues);
    }
    return list;
}

void BM_SolveUpperLevelPuzzle(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const int rate = static_cast<int>(state.range(1));
    const auto &list = puzzles(n, rate);
    RatingSolver s(SharedLineTables());
    std::size_t k = 0;
    for (auto _ : state) {
        const auto &clues = list[k++ % list.size()];
        s.GenGridSize = static_cast<std::int16_t>(n);
        s.GenLastCell = n * n - 1;
        s.GenSize = static_cast<std::int16_t>(n / 2 - 4);
        s.GenLevel = 3;
        s.GenCells = clues;
        s.Rate = 0;
        s.HaltGenerator = false;
        benchmark::DoNotOptimize(s.Solve_Puzzle());
    }
    state.SetLabel("rate " + std::to_string(rate));
}
BENCHMARK(BM_SolveUpperLevelPuzzle)
    ->ArgsProduct({{8, 10, 12, 14}, {2, 3}})
    ->Unit(benchmark::kMicrosecond);

// One candidate puzzle of the generator at limit 3: a full board and a solve per clue tried.
void BM_ClueRemovalSweepLevel3(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    std::mt19937_64 rng(77 + n);
    std::vector<std::vector<std::int32_t>> boards;
    for (int i = 0; i < 8; ++i)
        boards.push_back(fullBoard(n, rng));
    RatingSolver s(SharedLineTables());
    std::size_t k = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(sweep(s, boards[k++ % boards.size()], n, 3, rng));
}
BENCHMARK(BM_ClueRemovalSweepLevel3)->DenseRange(8, 14, 2)->Unit(benchmark::kMillisecond);

// The couple tables alone, on the first puzzle of level 3 of each size.
void BM_BuildCouples(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const auto &clues = puzzles(n, 3).front();
    const std::vector<std::int32_t> grid(clues.begin(), clues.end());
    CoupleTables t;
    for (auto _ : state) {
        BuildCouples(GridView{grid.data(), n}, SharedLineTables(), t);
        benchmark::DoNotOptimize(t.RowPartner[0][0]);
    }
}
BENCHMARK(BM_BuildCouples)->DenseRange(8, 14, 2);

} // namespace
