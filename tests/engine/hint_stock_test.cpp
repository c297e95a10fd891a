// Every puzzle of the shipped stock can be finished by following the hints alone: ask for a
// hint, fill the marked cells from the solution, repeat. The chain never runs out of hints on
// the way, and every hint solves at least one empty cell. Prints how often each technique was
// hinted per set.
#include "game/puzzle_record.h"
#include "hints/hint_engine.h"
#include "support/hint_boards.h"
#include "support/hint_play.h"
#include "support/solver_boards.h"
#include "support/stock_sets.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace tl;

namespace {

class HintedStockSet : public ::testing::TestWithParam<int> {};

TEST_P(HintedStockSet, EveryPuzzleIsFinishedByFollowingTheHints)
{
    const int level = GetParam() / kSizes;
    const int size = GetParam() % kSizes;
    const int n = SideOfSizeIndex(size);
    ASSERT_EQ(test::ShippedStock().size(), static_cast<std::size_t>(kStockRecords));

    std::array<long, 13> counts{};
    long hints = 0;
    for (int number = 1; number <= kPuzzlesPerSet; ++number) {
        const PuzzleRecord &r = test::ShippedStock()[RecordNumber(level, size, number) - 1];
        const std::vector<std::int32_t> start(r.StartCells.begin(), r.StartCells.begin() + n * n);
        const std::vector<std::int32_t> solution(r.SolutionCells.begin(),
                                                 r.SolutionCells.begin() + n * n);
        const test::HintPlay play = test::PlayByHints(start, solution, n);
        EXPECT_TRUE(play.finished) << "number " << number << ", stuck on\n"
                                   << testboards::Show(play.stuck, n);
        for (int t = 0; t < 13; ++t)
            counts[t] += play.perTechnique[t];
        hints += play.hints;
    }
    // Every level-2 and level-3 puzzle needs at least one hint of its level.
    long upper = 0, heavy = 0;
    for (int t = 0; t < 13; ++t) {
        upper += TechniqueLevel(static_cast<Technique>(t)) >= 2 ? counts[t] : 0;
        heavy += TechniqueLevel(static_cast<Technique>(t)) == 3 ? counts[t] : 0;
    }
    if (level >= 2) {
        EXPECT_GT(upper, 0);
    }
    if (level == 3) {
        EXPECT_GT(heavy, 0);
    }
    std::printf("set %d x %d level %d: %ld hints, by technique:", n, n, level, hints);
    for (const long c : counts)
        std::printf(" %ld", c);
    std::printf("\n");
}

INSTANTIATE_TEST_SUITE_P(Stock, HintedStockSet, ::testing::Range(0, kLevels * kSizes),
                         test::StockSetName);

} // namespace
