// Start-up work on the stock file, on a copy of the shipped stock in a temporary data folder:
// the load of a sound working copy (read, decode and check all 1600 records), the check of the
// records alone, and the first-run clearing of every best time (clear in memory, write back).
#include "game/best_time_reset.h"
#include "game/puzzle_stock.h"
#include "platform/fake/fakes.h"
#include "support/make_test_stock.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

using namespace tl;

// A program folder holding the shipped stock and a data folder holding a working copy of it.
struct StockFolders {
    test::TempDir dir;
    FakeMessageBox boxes;
    Puzzles puzzles;
    StockContext ctx{std::string(TL_SOURCE_DIR) + "/assets/", dir.path(), boxes, puzzles};

    void copyWorking()
    {
        std::filesystem::copy_file(ctx.pristinePath(), ctx.workingPath(),
                                   std::filesystem::copy_options::overwrite_existing);
    }
};

void BM_LoadStock(benchmark::State &state)
{
    StockFolders f;
    f.copyWorking();
    for (auto _ : state) {
        const bool loaded = Load_Stock(f.ctx);
        benchmark::DoNotOptimize(loaded);
        if (!loaded || !f.boxes.shown.empty())
            state.SkipWithError("the shipped stock did not load quietly");
    }
}
BENCHMARK(BM_LoadStock)->Unit(benchmark::kMicrosecond);

void BM_CheckStockRecords(benchmark::State &state)
{
    StockFolders f;
    f.copyWorking();
    if (!Load_Stock(f.ctx))
        state.SkipWithError("the shipped stock did not load");
    for (auto _ : state) {
        int sound = 0;
        for (int l = 0; l < kLevels; ++l)
            for (int s = 0; s < kSizes; ++s)
                for (int n = 1; n <= kPuzzlesPerSet; ++n)
                    sound += IsSoundStockRecord(f.puzzles.at(l, s, n), l, s, n);
        benchmark::DoNotOptimize(sound);
        if (sound != kStockRecords)
            state.SkipWithError("a shipped record was taken for damaged");
    }
}
BENCHMARK(BM_CheckStockRecords)->Unit(benchmark::kMicrosecond);

void BM_FirstRunClearing(benchmark::State &state)
{
    StockFolders f;
    f.copyWorking();
    if (!Load_Stock(f.ctx))
        state.SkipWithError("the shipped stock did not load");
    for (auto _ : state) {
        const int failures = Clear_All_Best_Times(f.ctx);
        benchmark::DoNotOptimize(failures);
        if (failures != 0)
            state.SkipWithError("the clearing could not write");
    }
}
BENCHMARK(BM_FirstRunClearing)->Unit(benchmark::kMicrosecond);

} // namespace
