// Checks every record of the shipped pristine stock (assets/DudEzadu.qzk): its layout, that its
// solution is a valid board that agrees with its clues, that the rating solver finishes it at
// its slot's level with the rating the level promises, and that it has exactly one solution by
// a counter that shares no code with the solver.
#include "game/line_tables.h"
#include "game/puzzle_record.h"
#include "game/puzzle_stock.h"
#include "solver/pass_pool.h"
#include "solver/solver.h"
#include "solver/stock_recipe.h"
#include "support/brute_force.h"
#include "support/solution_counter.h"
#include "support/stock_sets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace tl;

namespace {

const std::vector<std::uint8_t> &StockBytes()
{
    static const std::vector<std::uint8_t> bytes = [] {
        std::ifstream f(std::string(TL_SOURCE_DIR) + "/assets/DudEzadu.qzk", std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(f),
                                         std::istreambuf_iterator<char>());
    }();
    return bytes;
}

// Every row and column a valid line of the test's own list, no two rows or columns equal.
bool IndependentlyValid(const std::vector<std::int32_t> &board, int n)
{
    const auto &lines = brute::ValidLines(n);
    const std::set<std::uint32_t> valid(lines.begin(), lines.end());
    std::set<std::uint32_t> rows, cols;
    for (int i = 0; i < n; ++i) {
        std::uint32_t row = 0, col = 0;
        for (int j = 0; j < n; ++j) {
            const int a = board[i * n + j], b = board[j * n + i];
            if ((a != 0 && a != 1) || (b != 0 && b != 1))
                return false;
            row |= static_cast<std::uint32_t>(a) << j;
            col |= static_cast<std::uint32_t>(b) << j;
        }
        if (!valid.count(row) || !valid.count(col))
            return false;
        rows.insert(row);
        cols.insert(col);
    }
    return rows.size() == static_cast<std::size_t>(n) && cols.size() == static_cast<std::size_t>(n);
}

class ShippedStockSet : public ::testing::TestWithParam<int> {};

} // namespace

TEST(ShippedStock, HasSixteenHundredRecords)
{
    EXPECT_EQ(StockBytes().size(), 1907200u);
}

TEST(ShippedStock, SetsMadeAgainFromTheStockSeedAreTheShippedRecords)
{
    // The generator's output, pinned: an Easy and a Hard set made again exactly as the stock
    // tool made them are the shipped records byte for byte. Any change to the board search,
    // the removal passes, the acceptance rules or the random streams shows here.
    // The two are made at once on one pool of workers, as the stock tool makes its sets.
    const auto &bytes = StockBytes();
    ASSERT_EQ(bytes.size(), kStockBytes);
    const std::pair<int, int> sets[] = {{0, 1}, {2, 0}};
    std::array<StockSet, 2> made;
    {
        PassPool pool(SharedLineTables(), 3);
        std::vector<std::thread> committers;
        for (std::size_t i = 0; i < made.size(); ++i)
            committers.emplace_back([&, i] {
                made[i] = MakeStockSet(kStockSeed, sets[i].first, sets[i].second, &pool);
            });
        for (auto &t : committers)
            t.join();
    }
    for (std::size_t i = 0; i < made.size(); ++i) {
        const auto [level, size] = sets[i];
        const StockSet &set = made[i];
        ASSERT_TRUE(set.complete) << "level " << level << " size " << size;
        std::array<std::uint8_t, kRecordBytes> record{};
        for (int number = 1; number <= kPuzzlesPerSet; ++number) {
            EncodeRecord(set.records[number - 1], record.data());
            const std::uint8_t *shipped = bytes.data() + RecordOffset(level, size, number);
            ASSERT_TRUE(std::equal(record.begin(), record.end(), shipped))
                << "level " << level << " size " << size << " number " << number;
        }
    }
}

TEST_P(ShippedStockSet, EveryRecordIsSoundAndRatedAtItsLevel)
{
    const int level = GetParam() / kSizes;
    const int size = GetParam() % kSizes;
    const int n = SideOfSizeIndex(size);
    const int cells = n * n;
    const auto &bytes = StockBytes();
    ASSERT_EQ(bytes.size(), kStockBytes);

    RatingSolver solver(SharedLineTables());
    std::set<std::vector<std::int16_t>> starts;
    for (int number = 1; number <= kPuzzlesPerSet; ++number) {
        SCOPED_TRACE("level " + std::to_string(level) + " size " + std::to_string(size) +
                     " number " + std::to_string(number));
        const PuzzleRecord r = DecodeRecord(bytes.data() + RecordOffset(level, size, number));
        EXPECT_EQ(r.Level, level);
        EXPECT_EQ(r.SizeIndex, size);
        EXPECT_EQ(r.Number, number);
        EXPECT_TRUE(IsSoundStockRecord(r, level, size, number)) << "the game would refuse it";
        EXPECT_EQ(r.Reserved, 0);
        EXPECT_EQ(r.BestMin, 0);
        EXPECT_EQ(r.BestSec, 0);
        EXPECT_EQ(r.BestPlayer, 0);
        for (int i = cells; i < kGridCells; ++i) {
            ASSERT_EQ(r.StartCells[i], 0) << "cell " << i;
            ASSERT_EQ(r.SolutionCells[i], 0) << "cell " << i;
        }
        for (int i = 0; i < kGridCells; ++i)
            ASSERT_EQ(r.ExtraCells[i], 0) << "cell " << i;

        std::vector<std::int32_t> solution(r.SolutionCells.begin(), r.SolutionCells.begin() + cells);
        std::vector<std::int32_t> clues(r.StartCells.begin(), r.StartCells.begin() + cells);
        EXPECT_TRUE(IndependentlyValid(solution, n));
        for (int i = 0; i < cells; ++i) {
            if (clues[i] != -1) {
                ASSERT_EQ(clues[i], solution[i]) << "clue " << i;
            }
        }

        // The rating solve of the generator, at the slot's level.
        solver.GenLevel = static_cast<std::int16_t>(level);
        solver.GenSize = static_cast<std::int16_t>(size);
        solver.GenGridSize = static_cast<std::int16_t>(n);
        solver.GenLastCell = cells - 1;
        solver.GenCells.assign(r.StartCells.begin(), r.StartCells.begin() + cells);
        solver.Rate = 0;
        solver.DuplicateCount[size] = 0;
        solver.HeavyCount[size] = 0;
        solver.HaltGenerator = false;
        ASSERT_TRUE(solver.Solve_Puzzle());
        for (int i = 0; i < cells; ++i)
            ASSERT_EQ(solver.WorkGrid[i], solution[i]) << "cell " << i;
        EXPECT_EQ(solver.Rate, level);
        if (level >= 2) {
            EXPECT_GE(solver.DuplicateCount[size], 1);
        }
        if (level == 3) {
            EXPECT_GE(solver.HeavyCount[size], 1);
        }
        EXPECT_EQ(r.HeavyCount, solver.HeavyCount[size]);

        EXPECT_EQ(brute::CountSolutions(n, clues, 2), 1);
        starts.insert(std::vector<std::int16_t>(r.StartCells.begin(), r.StartCells.begin() + cells));
    }
    EXPECT_EQ(starts.size(), static_cast<std::size_t>(kPuzzlesPerSet)) << "equal puzzles in a set";
}

INSTANTIATE_TEST_SUITE_P(AllSets, ShippedStockSet, ::testing::Range(0, kLevels * kSizes),
                         test::StockSetName);
