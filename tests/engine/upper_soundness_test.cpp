// Whole-chain soundness of the rating solver with every technique allowed: on random full
// boards of every size, random clue subsets and clue-removal sequences like the generator's,
// every deduction agrees with the full board, and on 8 x 8 and 10 x 10 boards the independent
// brute-force counter finds no completion with the opposite value for any level-2 or level-3
// deduction. Also counts how often each upper-level technique fires per size.
#include "solver/solver.h"
#include "support/brute_force.h"
#include "support/solver_boards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>

using namespace tl;

namespace {

// A random full board of side n, built row by row by backtracking over the valid-line table
// in a shuffled order, pruning on the column counts and runs; columns distinct at the end.
class FullBoardMaker {
public:
    FullBoardMaker(int n, std::mt19937_64 &rng) : n_(n), rng_(rng)
    {
        const auto &bits = SharedLineTables().bits(n);
        lines_.assign(bits.begin(), bits.end());
    }

    std::vector<std::int32_t> make()
    {
        rows_.assign(n_, 0);
        while (!fill(0)) {
        }
        std::vector<std::int32_t> board(n_ * n_);
        for (int r = 0; r < n_; ++r)
            for (int c = 0; c < n_; ++c)
                board[r * n_ + c] = (rows_[r] >> c) & 1;
        return board;
    }

private:
    bool distinctColumns() const
    {
        std::vector<std::uint32_t> cols(n_, 0);
        for (int r = 0; r < n_; ++r)
            for (int c = 0; c < n_; ++c)
                cols[c] |= static_cast<std::uint32_t>((rows_[r] >> c) & 1) << r;
        std::sort(cols.begin(), cols.end());
        return std::adjacent_find(cols.begin(), cols.end()) == cols.end();
    }

    bool fill(int r)
    {
        if (r == n_)
            return distinctColumns();
        // Columns that already hold n/2 ones (zeros) must get a 0 (1); two equal values
        // stacked above a column forbid a third.
        const std::uint32_t full = (1u << n_) - 1u;
        std::uint32_t mustZero = 0, mustOne = 0;
        for (int c = 0; c < n_; ++c) {
            int ones = 0;
            for (int k = 0; k < r; ++k)
                ones += (rows_[k] >> c) & 1;
            if (ones == n_ / 2)
                mustZero |= 1u << c;
            if (r - ones == n_ / 2)
                mustOne |= 1u << c;
        }
        if (r >= 2) {
            const std::uint32_t a = static_cast<std::uint32_t>(rows_[r - 1]);
            const std::uint32_t b = static_cast<std::uint32_t>(rows_[r - 2]);
            const std::uint32_t same = ~(a ^ b) & full;
            mustZero |= same & a;
            mustOne |= same & ~a;
        }
        std::vector<std::int32_t> &order = order_[r];
        order.clear();
        for (const std::int32_t line : lines_) {
            const std::uint32_t l = static_cast<std::uint32_t>(line);
            if ((l & mustZero) == 0 && (~l & mustOne & full) == 0 &&
                std::find(rows_.begin(), rows_.begin() + r, line) == rows_.begin() + r)
                order.push_back(line);
        }
        std::shuffle(order.begin(), order.end(), rng_);
        int tries = 0;
        for (const std::int32_t line : order) {
            rows_[r] = line;
            if (fill(r + 1))
                return true;
            if (++tries > 3) // give up on this prefix rather than search it exhaustively
                return false;
        }
        return false;
    }

    int n_;
    std::mt19937_64 &rng_;
    std::vector<std::int32_t> lines_;
    std::vector<std::int32_t> rows_;
    std::vector<std::int32_t> order_[14];
};

// Watches every deduction of a solve through the event pump (called once per deduction).
struct DeductionChecker : EventPump {
    RatingSolver *solver = nullptr;
    const std::vector<std::int32_t> *full = nullptr;
    int n = 0;
    bool bruteForce = false;
    std::vector<std::int32_t> before;
    std::map<std::string, long> fired;
    std::vector<std::string> failures;

    void start(RatingSolver &s, const std::vector<std::int32_t> &board, int side, bool brute)
    {
        solver = &s;
        full = &board;
        n = side;
        bruteForce = brute;
        before.clear();
    }

    static bool upper(std::string_view label)
    {
        return label == labels::kAvoidableForcingCell || label == labels::kAlmostDuplicates ||
               label == labels::kRectangleLeftover || label == labels::kForcedRectangle ||
               label == labels::kRectangleForcingCell || label == labels::kAvoidableSandwich ||
               label == labels::kChainedForcingCell || label == labels::kChainedLeftover;
    }

    void pumpEvents() override
    {
        const std::vector<std::int32_t> &w = solver->WorkGrid;
        if (!before.empty()) {
            int changed = 0;
            const std::string label(solver->TechniqueName);
            for (int i = 0; i < n * n; ++i) {
                if (before[i] == w[i])
                    continue;
                ++changed;
                if (before[i] != -1 || w[i] != (*full)[i]) {
                    failures.push_back(label + " set cell " + std::to_string(i) + " wrongly on\n" +
                                       testboards::Show(before, n));
                } else if (bruteForce && upper(label) && !brute::ValueForced(n, before, i, w[i])) {
                    failures.push_back(label + " is unsound at cell " + std::to_string(i) +
                                       " on\n" + testboards::Show(before, n));
                }
            }
            if (changed > 0)
                ++fired[label];
            if (upper(label) && changed != 1)
                failures.push_back(label + " set " + std::to_string(changed) + " cells");
        }
        before = w;
    }
};

struct SizeRun {
    int n;
    int boards;       // full boards, each taken through a clue-removal sequence
    int subsets;      // random clue subsets per board
};

void PrintTo(const SizeRun &r, std::ostream *os) { *os << r.n << " x " << r.n; }

class UpperSoundness : public ::testing::TestWithParam<SizeRun> {};

TEST_P(UpperSoundness, EveryDeductionAgreesWithTheBoardAndUpperTechniquesFire)
{
    const SizeRun run = GetParam();
    const int n = run.n;
    const bool brute = n <= 10;
    std::mt19937_64 rng(20240 + n);
    FullBoardMaker maker(n, rng);
    DeductionChecker checker;
    RatingSolver solver(SharedLineTables(), &checker);
    long solved = 0, trials = 0;
    long duplicateTotal = 0, heavyTotal = 0;

    for (int b = 0; b < run.boards; ++b) {
        const std::vector<std::int32_t> full = maker.make();
        ASSERT_TRUE(IsValidFullBoard(full.data(), n));
        auto solve = [&](const std::vector<std::int32_t> &clues) {
            testboards::Load(solver, clues, n, 3);
            checker.start(solver, full, n, brute);
            const bool ok = solver.Solve_Puzzle();
            ++trials;
            solved += ok;
            duplicateTotal += solver.DuplicateCount[solver.GenSize];
            heavyTotal += solver.HeavyCount[solver.GenSize];
            if (ok) {
                EXPECT_EQ(solver.WorkGrid, full) << testboards::Show(clues, n);
            }
            return ok;
        };

        // Random clue subsets of varying density.
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (int k = 0; k < run.subsets; ++k) {
            const double keep = 0.25 + 0.35 * unit(rng);
            std::vector<std::int32_t> clues = full;
            for (auto &v : clues)
                if (unit(rng) >= keep)
                    v = -1;
            solve(clues);
        }

        // A clue-removal sequence: empty the cells in random order and keep a cell empty
        // while the board can still be solved.
        std::vector<int> order(n * n);
        for (int i = 0; i < n * n; ++i)
            order[i] = i;
        std::shuffle(order.begin(), order.end(), rng);
        std::vector<std::int32_t> clues = full;
        for (const int cell : order) {
            clues[cell] = -1;
            if (!solve(clues))
                clues[cell] = full[cell];
        }
        ASSERT_TRUE(checker.failures.empty()) << checker.failures.front();
    }
    ASSERT_TRUE(checker.failures.empty()) << checker.failures.front();
    EXPECT_GT(solved, 0);

    // Report how often each upper-level technique fired.
    std::printf("N = %d: %ld solves (%ld solved), %ld level-2 and %ld level-3 deductions\n", n,
                trials, solved, duplicateTotal, heavyTotal);
    for (const std::string_view label :
         {labels::kAvoidableForcingCell, labels::kAlmostDuplicates, labels::kRectangleLeftover,
          labels::kForcedRectangle, labels::kRectangleForcingCell, labels::kAvoidableSandwich,
          labels::kChainedForcingCell, labels::kChainedLeftover}) {
        std::printf("  %-52s %ld\n", std::string(label).c_str(), checker.fired[std::string(label)]);
    }
    std::fflush(stdout);
    // Every level-3 technique fires at least once at every size.
    for (const std::string_view label :
         {labels::kRectangleLeftover, labels::kForcedRectangle, labels::kRectangleForcingCell,
          labels::kAvoidableSandwich, labels::kChainedForcingCell, labels::kChainedLeftover}) {
        EXPECT_GT(checker.fired[std::string(label)], 0) << label << " never fired at N = " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(AllSizes, UpperSoundness,
                         ::testing::Values(SizeRun{8, 1500, 4}, SizeRun{10, 400, 4},
                                           SizeRun{12, 300, 4}, SizeRun{14, 200, 4}),
                         [](const auto &info) { return "N" + std::to_string(info.param.n); });

} // namespace
