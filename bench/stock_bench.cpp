// Start-up work on the stock file, on a copy of the shipped stock in a temporary data folder:
// the load of a sound working copy (read, decode and check all 1600 records), the check of the
// records alone, the first-run clearing of every best time (clear in memory, write back), the
// reset of all best times from the menu, and the
// save of one best time: the working copy read, patched and replaced whole with a flush to the
// disk, beside a write of the one record in place (how it was saved before, without a flush) to
// compare with. The data folder is in the system's temporary folder (TMPDIR): for the figure that
// a player sees, that must lie on a disk, not in memory.
#include "game/best_time_reset.h"
#include "game/puzzle_stock.h"
#include "platform/fake/fakes.h"
#include "support/make_test_stock.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
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
    // A working copy of the shipped stock, loaded into `puzzles`.
    bool loadWorking()
    {
        copyWorking();
        return Load_Stock(ctx);
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
    if (!f.loadWorking())
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
    if (!f.loadWorking())
        state.SkipWithError("the shipped stock did not load");
    for (auto _ : state) {
        const int failures = Clear_All_Best_Times(f.ctx);
        benchmark::DoNotOptimize(failures);
        if (failures != 0)
            state.SkipWithError("the clearing could not write");
    }
}
BENCHMARK(BM_FirstRunClearing)->Unit(benchmark::kMicrosecond);

void BM_ResetAllBestTimes(benchmark::State &state)
{
    StockFolders f;
    if (!f.loadWorking())
        state.SkipWithError("the shipped stock did not load");
    for (auto _ : state) {
        const int failures = Reset_Best_Times(f.ctx, ResetScope::All, 0, 0);
        if (failures != 0)
            state.SkipWithError("the reset could not write");
    }
}
BENCHMARK(BM_ResetAllBestTimes)->Unit(benchmark::kMillisecond);

void BM_SaveBestTime(benchmark::State &state)
{
    StockFolders f;
    if (!f.loadWorking())
        state.SkipWithError("the shipped stock did not load");
    int second = 0;
    for (auto _ : state) {
        f.puzzles.at(1, 1, 7).BestSec = static_cast<std::int16_t>(++second % 60);
        Save_Puzzle(f.ctx, 1, 1, 7);
        if (!f.boxes.shown.empty())
            state.SkipWithError("the best time could not be saved");
    }
}
BENCHMARK(BM_SaveBestTime)->Unit(benchmark::kMicrosecond);

void BM_SaveBestTimeInPlaceForComparison(benchmark::State &state)
{
    StockFolders f;
    if (!f.loadWorking())
        state.SkipWithError("the shipped stock did not load");
    std::array<std::uint8_t, kRecordBytes> record;
    int second = 0;
    for (auto _ : state) {
        f.puzzles.at(1, 1, 7).BestSec = static_cast<std::int16_t>(++second % 60);
        EncodeRecord(f.puzzles.at(1, 1, 7), record.data());
        std::fstream file(f.ctx.workingPath(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(RecordOffset(1, 1, 7)));
        file.write(reinterpret_cast<const char *>(record.data()), kRecordBytes);
        file.close();
        if (!file)
            state.SkipWithError("the record could not be written");
    }
}
BENCHMARK(BM_SaveBestTimeInPlaceForComparison)->Unit(benchmark::kMicrosecond);

} // namespace
