// The generator's shortcuts give exactly what the full work gives: bounded random numbers
// drawn without division, second completions that are real, and removal passes that decide
// every trial as the passes that solve every trial do.
#include "game/line_tables.h"
#include "platform/seeded_random.h"
#include "solver/pass_work.h"
#include "solver/second_completion.h"
#include "solver/solver.h"
#include "support/brute_force.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace tl;

// ---- Bounded random numbers -------------------------------------------------------------------

TEST(BoundedDraw, GivesTheNumbersOfTheDivisionFormula)
{
    const std::uint32_t bounds[] = {1,          2,          3,          7,          16,
                                    64,         99,         100,        144,        196,
                                    208,        518,        1000,       65536,      999983,
                                    1u << 31,   0x7FFFFFFFu, 0x80000001u, 0xC0000000u, 0xFFFFFFFBu,
                                    0xFFFFFFFFu};
    for (std::uint32_t k : bounds) {
        SeededRandom a(k * 7919ull + 1), b(k * 7919ull + 1);
        const BoundedDraw draw(k);
        for (int i = 0; i < 20000; ++i)
            ASSERT_EQ(draw(a), b.below(k)) << "k " << k << " draw " << i;
        // The sources stayed in step: the same number of values was taken from each.
        EXPECT_EQ(a.next(), b.next()) << "k " << k;
    }

    // A random source almost never gives a value in the rejected top of the range, so scripted
    // ones do: below 10 the values from UINT64_MAX - 5 up are rejected, and the draw takes the
    // next value instead.
    class Scripted : public RandomSource {
    public:
        explicit Scripted(std::vector<std::uint64_t> values) : values_(std::move(values)) {}
        std::uint64_t next() override { return values_.at(taken++); }
        std::size_t taken = 0;

    private:
        std::vector<std::uint64_t> values_;
    };
    const struct {
        std::vector<std::uint64_t> values;
        std::uint32_t expected;
        std::size_t taken;
    } scripted[] = {
        {{UINT64_MAX - 1, 7, 3}, 7, 2},
        {{UINT64_MAX, UINT64_MAX - 5, 3, 8}, 3, 3}, // the rejection limit itself is rejected
        {{UINT64_MAX - 6, 2}, 9, 1},                // the largest value kept
    };
    for (const auto &row : scripted) {
        Scripted bounded(row.values), divided(row.values);
        EXPECT_EQ(BoundedDraw(10)(bounded), row.expected) << row.values[0];
        EXPECT_EQ(bounded.taken, row.taken) << row.values[0];
        EXPECT_EQ(divided.below(10), row.expected) << row.values[0];
        EXPECT_EQ(divided.taken, row.taken) << row.values[0];
    }
}

TEST(BoundedDraw, RemainderIsExactAtTheEdgesOfTheRange)
{
    std::mt19937_64 rng(5);
    for (int round = 0; round < 2000; ++round) {
        // Bounds of every width, the widest most often.
        const int width = 2 + static_cast<int>(rng() % 31);
        std::uint32_t k = static_cast<std::uint32_t>(rng() >> (64 - width));
        if (k < 2)
            k = 2;
        const BoundedDraw draw(k);
        const std::uint64_t multiple = UINT64_MAX - UINT64_MAX % k; // the rejection limit
        const std::uint64_t values[] = {0,        1,           k - 1ull,         k,
                                        k + 1ull, multiple - 1, multiple,         UINT64_MAX,
                                        rng(),    rng() >> 17,  (rng() | 1) * k, ~0ull / k * k - 1};
        for (std::uint64_t v : values)
            ASSERT_EQ(draw.remainder(v), v % k) << "v " << v << " k " << k;
    }
}

// The engine that makes its numbers 312 at a time gives the standard's 64-bit Mersenne Twister
// number for number: from seeds at the edges of the range and others, across several renewals
// of the state, and after a reseed in the middle of a block.
TEST(SeededRandom, GivesTheNumbersOfTheStandardMersenneTwister)
{
    const std::uint64_t seeds[] = {0, 1, 5489, 20260101, 0x8000000000000000ull, ~0ull,
                                   SplitMix64(7), SplitMix64(8)};
    for (std::uint64_t seed : seeds) {
        std::mt19937_64 expected(seed);
        SeededRandom random(seed);
        for (int i = 0; i < 3 * 312 + 5; ++i)
            ASSERT_EQ(random.next(), expected()) << "seed " << seed << " number " << i;
        random.reseed(seed ^ 0x55);
        expected.seed(seed ^ 0x55);
        for (int i = 0; i < 700; ++i)
            ASSERT_EQ(random.next(), expected()) << "reseeded " << seed << " number " << i;
    }
    // The standard's own check: the 10000th number from the default seed.
    MersenneTwister64 standard;
    std::uint64_t v = 0;
    for (int i = 0; i < 10000; ++i)
        v = standard();
    EXPECT_EQ(v, 9981545732273789042ull);
}

// ---- Second completions -----------------------------------------------------------------------

// With only the four corners of a rectangle empty, the grid has exactly two candidate
// completions, the solution and the flipped rectangle: each of its rows and columns needs one
// 0 and one 1 in its two empty cells. So the search must answer exactly as the brute-force
// counter does, for flips that keep the rules and flips that break them (three equal
// neighbours, two equal lines).
TEST(SecondCompletion, ARectangleIsACompletionExactlyWhenItsFlipKeepsTheRules)
{
    std::mt19937_64 rng(23);
    long valid = 0, broken = 0;
    std::vector<std::int32_t> solution;
    for (int round = 0; round < 3000; ++round) {
        const int n = 8 + 2 * (round / 10 % 4);
        if (round % 10 == 0)
            solution = brute::RandomSolution(n, rng); // ten rectangles on each board
        auto at = [&](int r, int c) { return solution[r * n + c]; };
        // Random rows and columns until the corners hold v, 1-v / 1-v, v.
        std::vector<int> cells;
        while (cells.empty()) {
            const int r1 = static_cast<int>(rng() % n), r2 = static_cast<int>(rng() % n),
                      c1 = static_cast<int>(rng() % n), c2 = static_cast<int>(rng() % n);
            const int v = at(r1, c1);
            if (r1 != r2 && c1 != c2 && at(r1, c2) != v && at(r2, c1) != v && at(r2, c2) == v)
                cells = {r1 * n + c1, r1 * n + c2, r2 * n + c1, r2 * n + c2};
        }
        std::vector<std::int32_t> grid = solution;
        SecondCompletion search;
        search.setSolution(solution.data(), n);
        for (int cell : cells) {
            grid[cell] = -1;
            search.setEmpty(cell, true);
        }
        const bool two = brute::CountCompletions(n, grid, 3) == 2;
        ASSERT_EQ(search.rectangleFlip(cells[0]), two) << "n " << n << " round " << round;
        (two ? valid : broken) += 1;
        // With one corner filled again there is nothing left to flip.
        search.setEmpty(cells[3], false);
        EXPECT_FALSE(search.rectangleFlip(cells[0]));
    }
    EXPECT_GT(valid, 50);
    EXPECT_GT(broken, 50);
}

// ---- Removal passes with and without the shortcuts --------------------------------------------

namespace {

struct Evaluator {
    RatingSolver solver{SharedLineTables()};
    PassEvaluator pass{solver};
    Evaluator(int level, int size, bool shortcuts)
    {
        pass.prepare(static_cast<std::int16_t>(level), static_cast<std::int16_t>(size));
        pass.shortcuts = shortcuts;
        solver.HaltGenerator = false;
    }
};

} // namespace

class PassShortcuts : public ::testing::TestWithParam<std::tuple<int, int>> {};

INSTANTIATE_TEST_SUITE_P(LevelsAndSizes, PassShortcuts,
                         ::testing::Combine(::testing::Range(0, 4), ::testing::Range(0, 4)),
                         [](const auto &info) {
                             return "L" + std::to_string(std::get<0>(info.param)) + "S" +
                                    std::to_string(std::get<1>(info.param));
                         });

// Every trial's decision (a removed clue stays out exactly when its cell is empty after the
// pass), the rating and its counts are those of the pass that solves every trial, on passes
// of boards from seeds other than the stock's.
TEST_P(PassShortcuts, DecideEveryTrialAsTheFullWork)
{
    const auto [level, size] = GetParam();
    Evaluator full(level, size, false), quick(level, size, true);
    const int boards = size == 3 ? 7 : 8; // per seed, 20 passes each
    long skipped = 0, passes = 0;
    for (std::uint64_t seed : {7ull, 424242ull}) {
        for (long board = 0; board < boards; ++board) {
            FullBoard a, b;
            ASSERT_TRUE(full.pass.buildBoard(seed, board, a));
            ASSERT_TRUE(quick.pass.buildBoard(seed, board, b));
            ASSERT_EQ(a.cells, b.cells);
            for (int pass = 0; pass < kPassesPerBoard; ++pass) {
                PassResult ra, rb;
                full.pass.runPass(seed, board, pass, a, ra);
                quick.pass.runPass(seed, board, pass, b, rb);
                const std::string where = "seed " + std::to_string(seed) + " board " +
                                          std::to_string(board) + " pass " + std::to_string(pass);
                ASSERT_EQ(ra.cells, rb.cells) << where;
                ASSERT_EQ(ra.rate, rb.rate) << where;
                ASSERT_EQ(ra.duplicates, rb.duplicates) << where;
                ASSERT_EQ(ra.heavy, rb.heavy) << where;
                ASSERT_EQ(ra.trials, rb.trials) << where;
                ASSERT_EQ(ra.halted, rb.halted) << where;
                EXPECT_EQ(ra.secondCompletions, 0) << where;
                skipped += rb.secondCompletions;
                ++passes;
            }
        }
    }
    EXPECT_GE(passes, 200);
    // The shortcut was taken, so the comparison covered it.
    EXPECT_GT(skipped, passes);
}

// A grid is known as finished only after the solve that met it has finished, and only for
// the board and technique limit it was met under.
TEST(FinishedGrids, KnowOnlyGridsOfFinishedSolvesOnTheirBoardAndLevel)
{
    std::mt19937_64 rng(3);
    const std::vector<std::int32_t> board = brute::RandomSolution(8, rng);
    std::vector<std::int32_t> grid = board;
    grid[5] = grid[17] = grid[40] = -1;
    BoardBits bits;
    bits.build(grid.data(), 8);
    FinishedGrids known;
    known.useBoard(board, 8, 3);
    known.beginSolve();
    EXPECT_EQ(known.lookup(bits), nullptr);
    known.beginSolve(); // that solve failed: nothing is kept
    EXPECT_EQ(known.lookup(bits), nullptr);
    known.solved();
    const std::int32_t *finished = known.lookup(bits);
    ASSERT_NE(finished, nullptr);
    EXPECT_TRUE(std::equal(board.begin(), board.end(), finished));
    // Another grid with as many empty cells is not taken for it.
    std::vector<std::int32_t> other = board;
    other[6] = other[17] = other[40] = -1;
    BoardBits otherBits;
    otherBits.build(other.data(), 8);
    EXPECT_EQ(known.lookup(otherBits), nullptr);
    // Another limit or another board forgets it.
    known.useBoard(board, 8, 2);
    EXPECT_EQ(known.lookup(bits), nullptr);
    known.solved();
    known.useBoard(brute::RandomSolution(8, rng), 8, 2);
    EXPECT_EQ(known.lookup(bits), nullptr);
}

// Grids of the largest side that differ in one row only, each of the rows in turn (the first
// and the last rows too), are told apart; the same grid is found again.
TEST(FinishedGrids, TellApartGridsThatDifferInAnyOneRow)
{
    std::mt19937_64 rng(4);
    const int n = 14;
    const std::vector<std::int32_t> board = brute::RandomSolution(n, rng);
    auto bitsOf = [&](std::vector<int> emptyCells) {
        std::vector<std::int32_t> grid = board;
        for (int cell : emptyCells)
            grid[cell] = -1;
        BoardBits bits;
        bits.build(grid.data(), n);
        return bits;
    };
    for (int row = 0; row < n; ++row) {
        FinishedGrids known;
        known.useBoard(board, n, 3);
        known.beginSolve();
        const int other = (row + 7) % n;
        ASSERT_EQ(known.lookup(bitsOf({row * n + 3, other * n + 9})), nullptr);
        known.solved();
        // The same number of empty cells, one of them moved along the row.
        known.beginSolve();
        EXPECT_EQ(known.lookup(bitsOf({row * n + 4, other * n + 9})), nullptr) << "row " << row;
        known.beginSolve();
        EXPECT_NE(known.lookup(bitsOf({row * n + 3, other * n + 9})), nullptr) << "row " << row;
    }
}
