// Speed of a hint request through the whole chain, on the boards a player meets while finishing
// the shipped stock's puzzles by hints, and in the worst case: 14 x 14 boards on which the chain
// runs to its end ("No more logical hints..."), every search tried and every couple drawn and
// removed three times. Each iteration is one request; besides the mean, the median and the 99th
// percentile of the single requests are reported (counters median_us and p99_us).
#include "game/puzzle_record.h"
#include "hints/hint_engine.h"
#include "support/hint_boards.h"
#include "support/recording_hint_window.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

using namespace tl;

namespace {

struct Request {
    CellGrid board{}, solution{};
    int n = 0;
};

PuzzleRecord StockRecord(int level, int size, int number)
{
    static const std::vector<PuzzleRecord> records =
        test::ReadStockRecords(std::string(TL_SOURCE_DIR) + "/assets/DudEzadu.qzk");
    return records.at(RecordNumber(level, size, number) - 1);
}

HintOutcome Ask(const Request &r, test::RecordingHintWindow &w)
{
    return Show_Hint(HintPuzzle{r.board, r.solution, r.n, r.n * r.n - 1, false}, SharedLineTables(),
                     w);
}

// Every board met while the level-3 puzzles of one size are finished by hints; with `upperOnly`
// only those whose hint comes from a level-2 or level-3 link.
std::vector<Request> PlayedBoards(int size, bool upperOnly)
{
    std::vector<Request> out;
    const int n = SideOfSizeIndex(size);
    for (int number = 1; number <= kPuzzlesPerSet; ++number) {
        const PuzzleRecord rec = StockRecord(3, size, number);
        Request r;
        r.n = n;
        r.board = rec.StartCells;
        r.solution = rec.SolutionCells;
        for (;;) {
            test::RecordingHintWindow w;
            const HintOutcome o = Ask(r, w);
            if (o.result != HintResult::Hinted)
                break;
            if (!upperOnly || TechniqueLevel(o.technique) >= 2)
                out.push_back(r);
            for (const int g : w.Coloured(kHintedCellColour))
                r.board[(g / kMaxSide) * n + g % kMaxSide] = r.solution[(g / kMaxSide) * n + g % kMaxSide];
        }
    }
    return out;
}

// 14 x 14 boards on which the chain finds nothing: the start boards of the level-3 puzzles with
// clues taken away in random order until a request ends in "No more logical hints...". They
// keep most of their clues, so every search has lines to examine and couples to draw.
std::vector<Request> ChainEndBoards()
{
    std::vector<Request> out;
    std::mt19937_64 rng(14);
    for (int number = 1; number <= 40; ++number) {
        const PuzzleRecord rec = StockRecord(3, 3, number);
        Request r;
        r.n = 14;
        r.board = rec.StartCells;
        r.solution = rec.SolutionCells;
        std::vector<int> clues;
        for (int i = 0; i < 196; ++i)
            if (r.board[i] != -1)
                clues.push_back(i);
        std::shuffle(clues.begin(), clues.end(), rng);
        for (const int i : clues) {
            r.board[i] = -1;
            test::RecordingHintWindow w;
            if (Ask(r, w).result == HintResult::NoMoreHints) {
                out.push_back(r);
                break;
            }
        }
    }
    return out;
}

void RunRequests(benchmark::State &state, const std::vector<Request> &boards)
{
    std::vector<double> micros;
    micros.reserve(1 << 16);
    std::size_t k = 0;
    for (auto _ : state) {
        const Request &r = boards[k++ % boards.size()];
        test::RecordingHintWindow w;
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(Ask(r, w));
        const auto stop = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
    state.counters["boards"] = static_cast<double>(boards.size());
}

// Argument 0: the size index; argument 1: 1 to keep only the requests that reach the upper links.
void BM_HintRequestWhilePlaying(benchmark::State &state)
{
    static std::vector<Request> boards[4][2];
    const int size = static_cast<int>(state.range(0));
    const int upper = static_cast<int>(state.range(1));
    if (boards[size][upper].empty())
        boards[size][upper] = PlayedBoards(size, upper == 1);
    RunRequests(state, boards[size][upper]);
}
BENCHMARK(BM_HintRequestWhilePlaying)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

void BM_HintRequestChainEnd14(benchmark::State &state)
{
    static const std::vector<Request> boards = ChainEndBoards();
    RunRequests(state, boards);
}
BENCHMARK(BM_HintRequestChainEnd14)->Unit(benchmark::kMicrosecond);

} // namespace
