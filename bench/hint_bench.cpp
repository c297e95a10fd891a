// Speed of one hint request (Show_Hint) on states of every puzzle of the shipped stock: the
// start board, the board with a quarter, half and three quarters of its empty cells filled from
// the solution, and the board on which a solve limited to level 1 stops (where the request walks
// the whole chain to its end). Each request is timed on its own; the median and the 99th
// percentile per size are reported in microseconds.
#include "hints/hint_engine.h"
#include "solver/solver.h"
#include "support/hint_boards.h"
#include "support/solver_boards.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace tl;

// The game window as a request drives it, doing nothing.
class QuietWindow : public HintWindow {
public:
    bool ShieldVisible() const override { return false; }
    void Picture1_Click() override {}
    void SetCellColour(int, Rgb) override {}
    void SetInfo(const std::string &text) override { benchmark::DoNotOptimize(text.data()); }
    void AddCoupler(const CouplerLine &) override {}
    int CouplerCount() const override { return 0; }
    void UnloadCouplers() override {}
    void Penalty(int) override {}
    void Speel(int) override {}
};

// The states of every stock puzzle of side n, made once.
const std::vector<test::HintBoard> &States(int n)
{
    static std::map<int, std::vector<test::HintBoard>> made;
    auto &list = made[n];
    if (!list.empty())
        return list;
    const std::vector<PuzzleRecord> stock =
        test::ReadStockRecords(std::string(TL_SOURCE_DIR) + "/assets/DudEzadu.qzk");
    RatingSolver solver(SharedLineTables());
    std::mt19937_64 rng(n);
    for (const PuzzleRecord &r : stock) {
        if (r.side() != n)
            continue;
        const std::vector<std::int32_t> solution(r.SolutionCells.begin(), r.SolutionCells.begin() + n * n);
        std::vector<std::int32_t> start(r.StartCells.begin(), r.StartCells.begin() + n * n);
        std::vector<int> empty;
        for (int i = 0; i < n * n; ++i)
            if (start[i] == -1)
                empty.push_back(i);
        std::shuffle(empty.begin(), empty.end(), rng);
        for (int quarter = 0; quarter < 4; ++quarter) {
            std::vector<std::int32_t> grid = start;
            for (std::size_t k = 0; k < empty.size() * quarter / 4; ++k)
                grid[empty[k]] = solution[empty[k]];
            list.push_back(test::HintBoardFrom(grid, solution, n));
        }
        testboards::Load(solver, start, n, 1);
        if (!solver.Solve_Puzzle())
            list.push_back(test::HintBoardFrom(solver.WorkGrid, solution, n));
    }
    return list;
}

void BM_HintRequest(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const auto &states = States(n);
    if (states.empty()) {
        state.SkipWithError("the stock could not be read");
        return;
    }
    QuietWindow window;
    std::vector<double> micros;
    for (auto _ : state) {
        for (const test::HintBoard &b : states) {
            const auto t0 = std::chrono::steady_clock::now();
            const HintOutcome o = Show_Hint(b.Puzzle(), SharedLineTables(), window);
            const auto t1 = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(o);
            micros.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        }
    }
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) { return micros[static_cast<std::size_t>(q * (micros.size() - 1))]; };
    state.counters["states"] = static_cast<double>(states.size());
    state.counters["median_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = micros.back();
}

BENCHMARK(BM_HintRequest)->Arg(8)->Arg(10)->Arg(12)->Arg(14)->Unit(benchmark::kMillisecond);

} // namespace
