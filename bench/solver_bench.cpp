// Speed of the rating solver on level-0 and level-1 puzzles of every size, as the generator
// uses it: one Solve_Puzzle per call on a prepared clue grid. One solver serves every
// iteration, so what it remembers of lines it has met (the level-1 forms, the couples) carries
// over from solve to solve as it does between the generator's trials; the generation benchmark
// (generator_bench.cpp) shows the effect on whole sets.
#include "game/line_tables.h"
#include "solver/solver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <map>
#include <numeric>
#include <random>
#include <vector>

namespace {

using tl::RatingSolver;

// A random full board of side n: rows drawn from the valid-line table in shuffled order with
// column checks, restarted with a new shuffle whenever a search runs too long.
struct BoardSearch {
    int n;
    std::vector<std::uint32_t> lines;
    std::array<std::vector<std::uint32_t>, 14> order;
    std::array<std::uint32_t, 14> rows{};
    std::array<int, 14> colOnes{};
    long steps = 0;

    bool place(int r)
    {
        if (++steps > 3000)
            return false;
        if (r == n) {
            std::array<std::uint32_t, 14> cols{};
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < n; ++c)
                    cols[c] |= ((rows[i] >> c) & 1u) << i;
            for (int a = 0; a < n; ++a)
                for (int b = 0; b < a; ++b)
                    if (cols[a] == cols[b])
                        return false;
            return true;
        }
        const std::uint32_t all = (1u << n) - 1;
        for (const std::uint32_t line : order[r]) {
            if (r >= 2 && ((line & rows[r - 1] & rows[r - 2]) || (~line & ~rows[r - 1] & ~rows[r - 2] & all)))
                continue;
            bool ok = std::find(rows.begin(), rows.begin() + r, line) == rows.begin() + r;
            for (int c = 0; c < n && ok; ++c) {
                const int ones = colOnes[c] + static_cast<int>((line >> c) & 1u);
                ok = ones <= n / 2 && r + 1 - ones <= n / 2;
            }
            if (!ok)
                continue;
            rows[r] = line;
            for (int c = 0; c < n; ++c)
                colOnes[c] += (line >> c) & 1u;
            if (place(r + 1))
                return true;
            for (int c = 0; c < n; ++c)
                colOnes[c] -= (line >> c) & 1u;
        }
        return false;
    }
};

std::vector<std::int16_t> randomFullBoard(int n, std::mt19937_64 &rng)
{
    const auto &bits = tl::SharedLineTables().bits(n);
    BoardSearch s{n, std::vector<std::uint32_t>(bits.begin(), bits.end()), {}, {}, {}, 0};
    do {
        s.steps = 0;
        s.colOnes.fill(0);
        for (int r = 0; r < n; ++r) {
            s.order[r] = s.lines;
            std::shuffle(s.order[r].begin(), s.order[r].end(), rng);
        }
    } while (!s.place(0));
    std::vector<std::int16_t> board(static_cast<std::size_t>(n) * n);
    for (int i = 0; i < n * n; ++i)
        board[i] = static_cast<std::int16_t>((s.rows[i / n] >> (i % n)) & 1u);
    return board;
}

void load(RatingSolver &solver, const std::vector<std::int16_t> &clues, int n, int level)
{
    solver.GenGridSize = static_cast<std::int16_t>(n);
    solver.GenLastCell = n * n - 1;
    solver.GenSize = static_cast<std::int16_t>(n / 2 - 4);
    solver.GenLevel = static_cast<std::int16_t>(level);
    solver.GenCells = clues;
    solver.Rate = 0;
    solver.HaltGenerator = false;
}

// A few puzzles of side n for limit `level`: clues removed in random order while a solve at
// that limit still succeeds, as the generator does.
const std::vector<std::vector<std::int16_t>> &puzzles(int n, int level)
{
    static std::map<std::pair<int, int>, std::vector<std::vector<std::int16_t>>> made;
    auto &list = made[{n, level}];
    if (list.empty()) {
        std::mt19937_64 rng(1000 * n + level);
        RatingSolver solver(tl::SharedLineTables());
        for (int k = 0; k < 8; ++k) {
            auto clues = randomFullBoard(n, rng);
            std::vector<int> cells(clues.size());
            std::iota(cells.begin(), cells.end(), 0);
            std::shuffle(cells.begin(), cells.end(), rng);
            for (int cell : cells) {
                const std::int16_t kept = clues[cell];
                clues[cell] = -1;
                load(solver, clues, n, level);
                if (!solver.Solve_Puzzle())
                    clues[cell] = kept;
            }
            list.push_back(clues);
        }
    }
    return list;
}

// One finished solve of a puzzle that needs the given level.
void BM_SolvePuzzle(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const int level = static_cast<int>(state.range(1));
    const auto &list = puzzles(n, level);
    RatingSolver solver(tl::SharedLineTables());
    std::size_t k = 0;
    long empties = 0;
    for (auto _ : state) {
        const auto &clues = list[k++ % list.size()];
        load(solver, clues, n, level);
        const bool solved = solver.Solve_Puzzle();
        benchmark::DoNotOptimize(solved);
        if (!solved)
            state.SkipWithError("a prepared puzzle was not solved");
        empties += std::count(clues.begin(), clues.end(), -1);
    }
    state.counters["cells_deduced"] = benchmark::Counter(static_cast<double>(empties) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_SolvePuzzle)
    ->ArgNames({"N", "level"})
    ->ArgsProduct({{8, 10, 12, 14}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// A failed clue-removal trial: the grid with one more clue removed than the puzzle allows,
// which the solver must give up on (most of the generator's trials near the end of a sweep).
void BM_FailedTrial(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const auto &list = puzzles(n, 1);
    std::vector<std::vector<std::int16_t>> trials;
    for (const auto &p : list) {
        auto t = p;
        const auto it = std::find_if(t.begin(), t.end(), [](std::int16_t v) { return v != -1; });
        *it = -1;
        trials.push_back(t);
    }
    RatingSolver solver(tl::SharedLineTables());
    std::size_t k = 0;
    for (auto _ : state) {
        load(solver, trials[k++ % trials.size()], n, 1);
        benchmark::DoNotOptimize(solver.Solve_Puzzle());
    }
}
BENCHMARK(BM_FailedTrial)->ArgName("N")->Arg(8)->Arg(10)->Arg(12)->Arg(14)->Unit(benchmark::kMicrosecond);

} // namespace
