// Generation speed per level and size: the time per accepted puzzle, with the full boards and
// removal passes each puzzle took and the share of passes rejected. Each benchmark keeps one
// generator, so the acceptance thresholds adapt across its puzzles as they do in a set run.
#include "game/line_tables.h"
#include "platform/fake/fakes.h"
#include "solver/generator.h"
#include "solver/solver.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tl;

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
    void storePuzzles(std::int16_t, std::int16_t, std::int16_t, std::int16_t,
                      const PuzzleRecord *) override
    {
    }
    std::uint64_t runSeed() override { return 1; }
};

void BM_GeneratePuzzle(benchmark::State &state)
{
    const auto level = static_cast<std::int16_t>(state.range(0));
    const auto size = static_cast<std::int16_t>(state.range(1));
    LineTables unused;
    GeneratorThresholds thresholds;
    Init_Line_Tables(unused, thresholds);
    RatingSolver solver(SharedLineTables());
    NoWindow host;
    Generator gen(solver, thresholds, host);
    gen.seed(1000 + level * 4 + size);
    gen.prepare(level, size);
    solver.HaltGenerator = false;
    PuzzleRecord record;
    std::int16_t number = 1;
    for (auto _ : state) {
        while (!gen.makePuzzle(record, number)) {
        }
        number = static_cast<std::int16_t>(number % 100 + 1);
        benchmark::DoNotOptimize(record);
    }
    const double puzzles = static_cast<double>(gen.stats.accepted);
    state.counters["boards/puzzle"] = gen.stats.boards / puzzles;
    state.counters["passes/puzzle"] = gen.stats.passes / puzzles;
    state.counters["trials/puzzle"] = gen.stats.trials / puzzles;
    state.counters["rejected%"] =
        gen.stats.passes ? 100.0 * gen.stats.rejectedPasses / gen.stats.passes : 0.0;
    state.SetLabel(std::string(GeneratorLevelName(level)) + " " + GeneratorSizeName(size));
}

// Hard and Insane puzzles of 12 x 12 and 14 x 14 take up to seconds each and vary a lot from
// one to the next: they run a fixed 20 puzzles so that their figures are averages; the rest
// run for at least a second.
void RegisterSets()
{
    for (int level = 0; level < 4; ++level) {
        for (int size = 0; size < 4; ++size) {
            auto *b = benchmark::RegisterBenchmark("BM_GeneratePuzzle", BM_GeneratePuzzle)
                          ->Args({level, size})
                          ->Unit(benchmark::kMillisecond);
            if (level >= 2 && size >= 2)
                b->Iterations(20);
            else
                b->MinTime(1.0);
        }
    }
}

const bool registered = (RegisterSets(), true);

} // namespace
