// Checks of the test suite's brute-force completion counter itself.
#include "support/brute_force.h"

#include <gtest/gtest.h>

using namespace tl;

namespace {

bool fullBoardKeepsRules(int n, const std::vector<std::int32_t> &b)
{
    for (int k = 0; k < n; ++k) {
        int rowOnes = 0, colOnes = 0;
        for (int p = 0; p < n; ++p) {
            rowOnes += b[k * n + p];
            colOnes += b[p * n + k];
            if (p >= 2 && b[k * n + p] == b[k * n + p - 1] && b[k * n + p] == b[k * n + p - 2])
                return false;
            if (p >= 2 && b[p * n + k] == b[(p - 1) * n + k] && b[p * n + k] == b[(p - 2) * n + k])
                return false;
        }
        if (rowOnes != n / 2 || colOnes != n / 2)
            return false;
        for (int j = 0; j < k; ++j) {
            bool sameRow = true, sameCol = true;
            for (int p = 0; p < n; ++p) {
                sameRow &= b[k * n + p] == b[j * n + p];
                sameCol &= b[p * n + k] == b[p * n + j];
            }
            if (sameRow || sameCol)
                return false;
        }
    }
    return true;
}

} // namespace

TEST(BruteForce, ValidLineCountsPerSize)
{
    EXPECT_EQ(brute::ValidLines(8).size(), 34u);
    EXPECT_EQ(brute::ValidLines(10).size(), 84u);
    EXPECT_EQ(brute::ValidLines(12).size(), 208u);
    EXPECT_EQ(brute::ValidLines(14).size(), 518u);
}

TEST(BruteForce, RandomSolutionsKeepTheRulesAndAreTheirOwnOnlyCompletion)
{
    std::mt19937_64 rng(7);
    for (int n : {8, 10, 12, 14}) {
        const auto board = brute::RandomSolution(n, rng);
        ASSERT_TRUE(fullBoardKeepsRules(n, board)) << n;
        EXPECT_EQ(brute::CountCompletions(n, board, 10), 1) << n;
        auto broken = board;
        broken[0] = 1 - broken[0];
        EXPECT_EQ(brute::CountCompletions(n, broken, 10), 0) << n;
    }
}

TEST(BruteForce, EmptiedCellsAreRecoveredAndForced)
{
    std::mt19937_64 rng(11);
    const int n = 8;
    const auto board = brute::RandomSolution(n, rng);
    auto grid = board;
    for (int i = 0; i < n * n; i += 3)
        grid[i] = -1;
    const auto info = brute::Analyse(n, grid, 100000);
    ASSERT_TRUE(info.exhaustive);
    ASSERT_GE(info.count, 1);
    for (int i = 0; i < n * n; ++i) {
        // The original board is one completion, so its value is always seen.
        EXPECT_TRUE(info.seen[i] & (1u << board[i])) << i;
        if (info.seen[i] == (1u << board[i]))
            EXPECT_TRUE(brute::ValueForced(n, grid, i, board[i])) << i;
        else
            EXPECT_FALSE(brute::ValueForced(n, grid, i, board[i])) << i;
    }
}

TEST(BruteForce, EmptyBoardOfEightHasManyCompletionsAndLimitStopsTheCount)
{
    std::vector<std::int32_t> empty(64, -1);
    EXPECT_EQ(brute::CountCompletions(8, empty, 5000), 5000);
    const auto info = brute::Analyse(8, empty, 50);
    EXPECT_FALSE(info.exhaustive);
}

TEST(BruteForce, DuplicateRowsAndColumnsAreNotCompletions)
{
    // Rows 0 and 1 forced equal by their given cells: no completion.
    std::vector<std::int32_t> grid(64, -1);
    const int row[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    for (int c = 0; c < 8; ++c) {
        grid[c] = row[c];
        grid[8 * 3 + c] = row[c];
    }
    EXPECT_EQ(brute::CountCompletions(8, grid, 1), 0);
    // Transposed: columns 0 and 3 equal.
    std::vector<std::int32_t> cols(64, -1);
    for (int r = 0; r < 8; ++r) {
        cols[r * 8] = row[r];
        cols[r * 8 + 3] = row[r];
    }
    EXPECT_EQ(brute::CountCompletions(8, cols, 1), 0);
}

TEST(BruteForce, LinesFittingAPartialLine)
{
    // - - - - 0 1 0 0: every fitting line has 1 at positions 0 and 3.
    const auto lines = brute::LinesFitting(8, {-1, -1, -1, -1, 0, 1, 0, 0});
    ASSERT_FALSE(lines.empty());
    for (auto v : lines) {
        EXPECT_EQ(v & 1u, 1u);
        EXPECT_EQ((v >> 3) & 1u, 1u);
    }
}
