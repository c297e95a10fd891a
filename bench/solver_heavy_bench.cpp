// Speed of the rating solver with its upper levels: solving level-2 and level-3 puzzles of
// each size, and a whole clue-removal sweep at limit 3 (what the generator does for every
// candidate puzzle: one solve per clue it tries to remove).
#include "solver/solver.h"
#include "support/brute_force.h"
#include "support/solver_boards.h"

#include <benchmark/benchmark.h>

#include <map>
#include <random>
#include <vector>

using namespace tl;
using testboards::Load;

namespace {

// Eight puzzles of side n rated exactly `rate` by a solve at limit `rate`, made once and kept
// in the solver's cell type.
const std::vector<std::vector<std::int16_t>> &puzzles(int n, int rate)
{
    static std::map<std::pair<int, int>, std::vector<std::vector<std::int16_t>>> made;
    auto &list = made[{n, rate}];
    RatingSolver s(SharedLineTables());
    for (std::uint64_t seed = 1000 + 10 * n + rate; list.size() < 8; seed += 100) {
        const auto clues = testboards::MakePuzzle(n, rate, seed);
        Load(s, clues, n, rate);
        if (s.Solve_Puzzle() && s.Rate == rate)
            list.emplace_back(clues.begin(), clues.end());
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
        Load(s, list[k++ % list.size()], n, 3);
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
        boards.push_back(brute::RandomSolution(n, rng));
    RatingSolver s(SharedLineTables());
    std::size_t k = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(testboards::RemoveClues(s, boards[k++ % boards.size()], n, 3, rng));
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
