// Soundness of the upper hint links: on boards made from the stock's solutions with random cells
// emptied (boards that may have many completions), a player follows the hints, and no cell that a
// level-2 or level-3 hint marks has a completion in which it takes the value opposite to the
// solution's, by the independent solution counter.
#include "game/puzzle_record.h"
#include "support/hint_boards.h"
#include "support/hint_play.h"
#include "support/solution_counter.h"
#include "support/stock_sets.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace tl;

namespace {

struct Checked {
    const std::vector<std::int32_t> *solution = nullptr;
    int cells = 0;
    int unsound = 0;
};

void CheckForced(const std::vector<std::int32_t> &board, int n, int cell, void *user)
{
    Checked &c = *static_cast<Checked *>(user);
    std::vector<std::int32_t> other = board;
    other[cell] = 1 - (*c.solution)[cell];
    ++c.cells;
    if (brute::CountSolutions(n, other, 1) != 0) {
        ++c.unsound;
        ADD_FAILURE() << "cell " << cell << " of a " << n << " x " << n << " board is not forced";
    }
}

class HintSoundness : public ::testing::TestWithParam<int> {};

TEST_P(HintSoundness, UpperLevelMarksAreForcedOnBoardsWithRandomCellsEmptied)
{
    const int size = GetParam();
    const int n = SideOfSizeIndex(size);
    const std::vector<PuzzleRecord> &stock = test::ShippedStock();
    ASSERT_EQ(stock.size(), static_cast<std::size_t>(kStockRecords));

    std::mt19937_64 rng(4242 + size);
    int upperHints = 0, cells = 0;
    for (int level = 0; level < kLevels; ++level) {
        for (int number = 1; number <= kPuzzlesPerSet; ++number) {
            const PuzzleRecord &r = stock[RecordNumber(level, size, number) - 1];
            const std::vector<std::int32_t> solution(r.SolutionCells.begin(),
                                                     r.SolutionCells.begin() + n * n);
            // Ten boards per solution, each with between two fifths and three quarters of
            // the cells emptied.
            for (int variant = 0; variant < 10; ++variant) {
                std::vector<std::int32_t> start = solution;
                const double share = std::uniform_real_distribution<double>(0.4, 0.75)(rng);
                for (std::int32_t &v : start)
                    if (std::uniform_real_distribution<double>(0, 1)(rng) < share)
                        v = -1;
                Checked checked{&solution};
                const test::HintPlay play =
                    test::PlayByHints(start, solution, n, CheckForced, &checked);
                upperHints += play.upperChecked;
                cells += checked.cells;
            }
        }
    }
    // The run must actually reach the upper links.
    EXPECT_GE(upperHints, 200) << "too few level-2 and level-3 hints to say anything";
    std::printf("%d x %d: %d upper-level hints, %d marked cells checked\n", n, n, upperHints, cells);
}

INSTANTIATE_TEST_SUITE_P(Sizes, HintSoundness, ::testing::Range(0, kSizes),
                         [](const auto &info) { return std::to_string(SideOfSizeIndex(info.param)); });

} // namespace
