#include "support/make_test_stock.h"

#include <gtest/gtest.h>

using namespace tl;

TEST(TestStock, BoardsAreSolvedBoardsAndTheCheckerCatchesBrokenOnes)
{
    for (int n : {8, 10, 12, 14})
        for (std::uint64_t seed : {1u, 2u, 3u}) {
            const auto b = test::MakeValidBoard(n, seed);
            ASSERT_TRUE(test::IsSolvedBoard(b, n)) << n << " " << seed;
            EXPECT_EQ(b, test::MakeValidBoard(n, seed)) << "same seed, same board";
        }
    auto b = test::MakeValidBoard(8, 1);
    auto swappedRows = b;
    for (int c = 0; c < 8; ++c)
        swappedRows[8 + c] = b[c]; // row 1 := row 0: duplicate rows, unbalanced columns
    EXPECT_FALSE(test::IsSolvedBoard(swappedRows, 8));
    b[0] = 1 - b[0];
    EXPECT_FALSE(test::IsSolvedBoard(b, 8));
    EXPECT_FALSE(test::IsSolvedBoard({}, 8));
}

TEST(TestStock, RecordsAgreeWithTheirSlotAndSolution)
{
    const auto stock = test::MakeTestStock(false);
    ASSERT_EQ(stock.size(), 1600u);
    for (int i = 0; i < 1600; i += 37) {
        const PuzzleRecord &r = stock[static_cast<std::size_t>(i)];
        EXPECT_EQ(RecordNumber(r.Level, r.SizeIndex, r.Number), i + 1);
        const int n = r.side();
        std::vector<int> solution(r.SolutionCells.begin(), r.SolutionCells.begin() + n * n);
        EXPECT_TRUE(test::IsSolvedBoard(solution, n));
        for (int c = 0; c < n * n; ++c) {
            if (r.StartCells[c] != -1) {
                EXPECT_EQ(r.StartCells[c], r.SolutionCells[c]);
            }
        }
        for (int c = n * n; c < kGridCells; ++c)
            EXPECT_EQ(r.StartCells[c], 0);
        EXPECT_FALSE(r.hasBestTime());
    }
}
