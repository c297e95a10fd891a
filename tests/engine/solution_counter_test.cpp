#include "support/brute_force.h"
#include "support/solution_counter.h"

#include <gtest/gtest.h>

#include <random>

using namespace tl;

// The fast counter used on the stock must agree with the plain brute-force counter.
TEST(SolutionCounter, AgreesWithTheBruteForceCounter)
{
    std::mt19937_64 rng(4242);
    for (int n : {6, 8, 10}) {
        for (int k = 0; k < 60; ++k) {
            const auto board = brute::RandomSolution(n, rng);
            std::vector<std::int32_t> grid = board;
            // Keep between a quarter and three quarters of the cells (fewer on 10 x 10, where
            // the plain counter gets slow on nearly empty boards).
            const int keepPct = (n == 10 ? 45 : 25) + static_cast<int>(rng() % 50);
            for (auto &cell : grid)
                if (static_cast<int>(rng() % 100) >= keepPct)
                    cell = -1;
            const long expected = brute::CountCompletions(n, grid, 300);
            EXPECT_EQ(brute::CountSolutions(n, grid, 300), expected) << "N=" << n << " case " << k;
            EXPECT_GE(expected, 1);
        }
    }
}

TEST(SolutionCounter, ContradictionsAndDuplicateLinesGiveNoSolution)
{
    std::mt19937_64 rng(7);
    const auto board = brute::RandomSolution(8, rng);
    std::vector<std::int32_t> grid = board;
    EXPECT_EQ(brute::CountSolutions(8, grid, 5), 1);
    grid[0] = 1 - grid[0]; // a full grid that breaks the rules
    EXPECT_EQ(brute::CountSolutions(8, grid, 5), 0);

    // Two equal rows are refused even when each row and column alone is a valid line.
    std::vector<std::int32_t> twins(36, -1);
    const int line[6] = {0, 1, 0, 1, 1, 0};
    for (int c = 0; c < 6; ++c) {
        twins[c] = line[c];
        twins[6 + c] = line[c];
    }
    EXPECT_EQ(brute::CountSolutions(6, twins, 5), 0);
    EXPECT_EQ(brute::CountCompletions(6, twins, 5), 0);
}
