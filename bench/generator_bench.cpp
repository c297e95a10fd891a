// Generation speed: whole set runs per level, size and number of threads (wall time, with the
// boards and passes per puzzle, the share of passes rejected and the share of passes worked out
// ahead of time that were not needed), the time from a stop to the end of a run on all cores,
// and one-thread set runs on the shared line tables against the same runs on tables the game
// window builds for itself (processor time; both must make the same set). Every run starts
// from the starting thresholds and a fixed seed, so the work of one (level, size) is the same
// whatever the threads and the tables.
#include "game/line_tables.h"
#include "platform/fake/fakes.h"
#include "solver/generator.h"
#include "solver/solver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace tl;
using Clock = std::chrono::steady_clock;

class NoWindow : public GeneratorHost {
public:
    FakeMessageBox boxes;
    MemorySettings store;
    MessageBoxService &messages() override { return boxes; }
    SettingsStore &settings() override { return store; }
    void setProgressCaption(const std::string &) override {}
    void setProgressMaximum(int) override {}
    void setProgressValue(int) override {}
    void setHaltEnabled(bool) override {}
    void storePuzzles(std::int16_t, std::int16_t, std::int16_t fromNr, std::int16_t toNr,
                      const PuzzleRecord *records) override
    {
        stored.insert(stored.end(), records, records + (toNr - fromNr + 1));
    }
    std::uint64_t runSeed() override { return 1000; }
    std::vector<PuzzleRecord> stored;
};

struct SetRun {
    GeneratorThresholds thresholds;
    FakeEventPump pump;
    RatingSolver solver;
    NoWindow host;
    Generator gen{solver, thresholds, host};
    explicit SetRun(int threads, const LineTables &tables = SharedLineTables()) : solver(tables, &pump)
    {
        LineTables unused;
        Init_Line_Tables(unused, thresholds);
        host.boxes.answers.assign(4, MsgAnswer::Yes);
        gen.threads = threads;
    }
    void run(int level, int size)
    {
        std::int16_t l = static_cast<std::int16_t>(level), s = static_cast<std::int16_t>(size);
        gen.Generate_Puzzle_Set(l, s);
    }
};

void BM_GenerateSet(benchmark::State &state)
{
    const int level = static_cast<int>(state.range(0));
    const int size = static_cast<int>(state.range(1));
    const int threads = static_cast<int>(state.range(2));
    GeneratorStats total;
    for (auto _ : state) {
        SetRun r(threads);
        r.run(level, size);
        total.boards += r.gen.stats.boards;
        total.passes += r.gen.stats.passes;
        total.rejectedPasses += r.gen.stats.rejectedPasses;
        total.accepted += r.gen.stats.accepted;
        total.evaluatedPasses += r.gen.stats.evaluatedPasses;
        total.trials += r.gen.stats.trials;
        total.secondCompletions += r.gen.stats.secondCompletions;
    }
    const double puzzles = static_cast<double>(std::max(1L, total.accepted));
    state.counters["boards/puzzle"] = total.boards / puzzles;
    state.counters["passes/puzzle"] = total.passes / puzzles;
    state.counters["rejected%"] = total.passes ? 100.0 * total.rejectedPasses / total.passes : 0.0;
    state.counters["unneeded%"] =
        total.evaluatedPasses ? 100.0 * (total.evaluatedPasses - total.passes) / total.evaluatedPasses : 0.0;
    // Removal trials settled by a second completion instead of a solve.
    state.counters["unsolved%"] =
        total.trials ? 100.0 * total.secondCompletions / total.trials : 0.0;
    state.SetLabel(std::string(GeneratorLevelName(level)) + " " + GeneratorSizeName(size) + ", " +
                   std::to_string(threads) + " thread(s)");
}

// A one-thread set run on the shared tables (own = 0) or on tables built by Init_Line_Tables
// into an object of their own, as the game window does at start-up (own = 1). Processor time;
// every run of a (level, size) must store the records of the first one, whichever tables made
// it. Run with --benchmark_enable_random_interleaving to alternate the two.
void BM_SetOnOwnTables(benchmark::State &state)
{
    const int level = static_cast<int>(state.range(0));
    const int size = static_cast<int>(state.range(1));
    static std::map<std::pair<int, int>, std::vector<PuzzleRecord>> firstSet;
    LineTables own;
    GeneratorThresholds unused;
    Init_Line_Tables(own, unused);
    const LineTables &tables = state.range(2) ? own : SharedLineTables();
    for (auto _ : state) {
        SetRun r(1, tables);
        r.run(level, size);
        state.PauseTiming();
        std::vector<PuzzleRecord> &first = firstSet[{level, size}];
        if (r.host.stored.empty()) {
            state.SkipWithError("the run stored no puzzles");
            break;
        }
        if (first.empty())
            first = r.host.stored;
        if (r.host.stored != first) {
            state.SkipWithError("the set differs from the first run's");
            break;
        }
        state.ResumeTiming();
    }
    state.SetLabel(std::string(GeneratorLevelName(level)) + " " + GeneratorSizeName(size) +
                   (state.range(2) ? ", own tables" : ", shared tables"));
}

// Stop pressed a while into an Insane 14 x 14 run on every core: the time from the halt flag
// being set (inside the event pump, as the Stop button does) to the return of the run, which
// includes storing the puzzles made so far.
void BM_StopToEndOfRun(benchmark::State &state)
{
    const auto delay = std::chrono::milliseconds(state.range(0));
    std::vector<double> ms;
    for (auto _ : state) {
        SetRun r(AllCores());
        const auto start = Clock::now();
        Clock::time_point stopped{};
        r.pump.onPump = [&](long) {
            if (!r.solver.HaltGenerator && Clock::now() - start >= delay) {
                r.solver.HaltGenerator = true;
                stopped = Clock::now();
            }
        };
        r.run(3, 3);
        const auto end = Clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(end - stopped).count());
        state.SetIterationTime(std::chrono::duration<double>(end - stopped).count());
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["max_ms"] = ms.back();
}

void RegisterAll()
{
    const int cores = AllCores();
    for (int level = 0; level < 4; ++level)
        for (int size = 0; size < 4; ++size)
            for (int threads : {1, cores}) {
                auto *b = benchmark::RegisterBenchmark("BM_GenerateSet", BM_GenerateSet)
                              ->Args({level, size, threads})
                              ->Unit(benchmark::kMillisecond)
                              ->UseRealTime();
                b->Iterations(level >= 2 && size >= 2 ? 1 : 3);
            }
    for (int level : {2, 3})
        for (int own : {0, 1})
            benchmark::RegisterBenchmark("BM_SetOnOwnTables", BM_SetOnOwnTables)
                ->Args({level, 3, own})
                ->Iterations(1)
                ->MeasureProcessCPUTime()
                ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_StopToEndOfRun", BM_StopToEndOfRun)
        ->Arg(300)
        ->Arg(1000)
        ->Iterations(20)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

const bool registered = (RegisterAll(), true);

} // namespace
