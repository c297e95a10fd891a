// Speed of the rating solver on level-0 and level-1 puzzles of every size, as the generator
// uses it: one Solve_Puzzle per call on a prepared clue grid. One solver serves every
// iteration, so what it remembers of lines it has met (the level-1 forms, the couples) carries
// over from solve to solve as it does between the generator's trials; the generation benchmark
// (generator_bench.cpp) shows the effect on whole sets.
#include "solver/solver.h"
#include "support/hint_boards.h"
#include "support/solver_boards.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using tl::RatingSolver;
using tl::testboards::Load;

// Eight puzzles of side n for limit `level`, made once: clues removed from random full boards
// in random order while a solve at that limit still succeeds, as the generator does. They are
// kept in the solver's cell type, as the generator hands them over.
const std::vector<std::vector<std::int16_t>> &puzzles(int n, int level)
{
    static std::map<std::pair<int, int>, std::vector<std::vector<std::int16_t>>> made;
    auto &list = made[{n, level}];
    for (int k = static_cast<int>(list.size()); k < 8; ++k) {
        const auto clues = tl::testboards::MakePuzzle(n, level, 1000 * n + 10 * level + k);
        list.emplace_back(clues.begin(), clues.end());
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
        Load(solver, clues, n, level);
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
        Load(solver, trials[k++ % trials.size()], n, 1);
        benchmark::DoNotOptimize(solver.Solve_Puzzle());
    }
}
BENCHMARK(BM_FailedTrial)->ArgName("N")->Arg(8)->Arg(10)->Arg(12)->Arg(14)->Unit(benchmark::kMicrosecond);

// A cold rating solve: a new solver, as the designer or a fresh generator worker makes one,
// rating an Insane 14 x 14 puzzle of the shipped stock at limit 3. Nothing it remembers of
// lines carries over, so the memos' set-up is part of every iteration.
void BM_ColdInsaneRatingSolve(benchmark::State &state)
{
    static const std::vector<std::vector<std::int16_t>> insane = [] {
        std::vector<std::vector<std::int16_t>> list;
        for (const tl::PuzzleRecord &r :
             tl::test::ReadStockRecords(std::string(TL_SOURCE_DIR) + "/assets/DudEzadu.qzk"))
            if (r.Level == 3 && r.side() == 14)
                list.emplace_back(r.StartCells.begin(), r.StartCells.begin() + 14 * 14);
        return list;
    }();
    if (insane.empty()) {
        state.SkipWithError("the stock could not be read");
        return;
    }
    std::size_t k = 0;
    for (auto _ : state) {
        RatingSolver solver(tl::SharedLineTables());
        Load(solver, insane[k++ % insane.size()], 14, 3);
        const bool solved = solver.Solve_Puzzle();
        benchmark::DoNotOptimize(solved);
        if (!solved || solver.Rate != 3)
            state.SkipWithError("a stock Insane puzzle was not rated Insane");
    }
}
BENCHMARK(BM_ColdInsaneRatingSolve)->Unit(benchmark::kMicrosecond);

} // namespace
