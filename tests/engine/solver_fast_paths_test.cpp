// The solver's fast paths must make exactly the deductions of the plain technique finders: the
// bit summary of the working grid and its searches, the line memos that outlive a solve, and
// the board search's passing over of candidates that Row_Fits would refuse. Each is checked
// against the plain version on many random boards.
#include "platform/fake/fakes.h"
#include "platform/seeded_random.h"
#include "solver/board_bits.h"
#include "solver/board_search.h"
#include "solver/solver.h"
#include "solver/stamped_table.h"
#include "support/brute_force.h"
#include "support/solver_boards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

using namespace tl;
using testboards::RandomGrid;

namespace {

void ExpectSameSummary(const BoardBits &a, const BoardBits &b)
{
    EXPECT_EQ(a.rowZero, b.rowZero);
    EXPECT_EQ(a.rowOne, b.rowOne);
    EXPECT_EQ(a.rowEmpty, b.rowEmpty);
    EXPECT_EQ(a.colZero, b.colZero);
    EXPECT_EQ(a.colOne, b.colOne);
    EXPECT_EQ(a.colEmpty, b.colEmpty);
    EXPECT_EQ(a.rowZeros, b.rowZeros);
    EXPECT_EQ(a.rowOnes, b.rowOnes);
    EXPECT_EQ(a.colZeros, b.colZeros);
    EXPECT_EQ(a.colOnes, b.colOnes);
    EXPECT_EQ(a.rowKeys, b.rowKeys);
    EXPECT_EQ(a.emptyCount, b.emptyCount);
    EXPECT_EQ(a.odd, b.odd);
}

// The deduction of a finder as (cell, value), or (-1, -1) when it finds nothing.
std::pair<int, int> Plain(bool (*finder)(const OrientedGrid &, Deduction &),
                          const std::vector<std::int32_t> &g, int n, bool columns)
{
    Deduction d;
    if (!finder(OrientedGrid(GridView{g.data(), n}, columns ? Orientation::Columns : Orientation::Rows), d))
        return {-1, -1};
    EXPECT_EQ(d.count, 1);
    return {d.cells[0], d.values[0]};
}

template <class Search>
std::pair<int, int> OnBits(Search search, BoardBits &b, bool columns)
{
    CellSetting s;
    if (!search(b, columns, s))
        return {-1, -1};
    return {s.index, s.value};
}

// The whole step chain written with the plain finders alone, in the rating solver's order
// of steps: the reference that the solver's own steps must follow deduction by deduction.
struct ReferenceSolver {
    const LineTables &tables = SharedLineTables();
    int n = 8;
    int level = 3;
    int rate = 0, duplicates = 0, heavy = 0;

    bool step(std::vector<std::int32_t> &g)
    {
        const GridView v{g.data(), n};
        const OrientedGrid rows(v, Orientation::Rows), cols(v, Orientation::Columns);
        Deduction d;
        auto apply = [&] {
            for (int k = 0; k < d.count; ++k)
                g[d.cells[k]] = d.values[k];
            return true;
        };
        if (FindBordering(rows, d) || FindBordering(cols, d) || FindCentering(rows, d) ||
            FindCentering(cols, d) || FindOneKindLeft(rows, d) || FindOneKindLeft(cols, d))
            return apply();
        if (level == 0)
            return false;
        rate = std::max(rate, 1);
        if (FindUncoveredByCounting(rows, d) || FindUncoveredByCounting(cols, d) ||
            FindUncoveredByValidLines(rows, tables, d) || FindUncoveredByValidLines(cols, tables, d) ||
            FindAvoidableDuplicates(rows, d) || FindAvoidableDuplicates(cols, d))
            return apply();
        if (level == 1)
            return false;
        rate = std::max(rate, 2);
        if (FindAvoidableForcingCell1(rows, tables, d) || FindAvoidableForcingCell1(cols, tables, d) ||
            FindAvoidableForcingCell2(rows, tables, d) || FindAvoidableForcingCell2(cols, tables, d) ||
            FindAlmostDuplicates(rows, d) || FindAlmostDuplicates(cols, d)) {
            ++duplicates;
            return apply();
        }
        if (level == 2)
            return false;
        rate = std::max(rate, 3);
        CoupleTables t;
        BuildCouples(v, tables, t);
        if (FindRectangleLeftover(rows, t, n - 1, d) || FindRectangleLeftover(cols, t, n - 1, d) ||
            FindForcedRectangle(rows, t, d) || FindForcedRectangle(cols, t, d) ||
            FindRectangleForcingCell(rows, d) || FindRectangleForcingCell(cols, d) ||
            FindSandwichFirst(rows, tables, d) || FindSandwichFirst(cols, tables, d) ||
            FindSandwichSecond(rows, tables, d) || FindSandwichSecond(cols, tables, d) ||
            FindChainedForcing(v, t, d) || FindChainedLeftover(rows, t, d) ||
            FindChainedLeftover(cols, t, d)) {
            ++heavy;
            return apply();
        }
        return false;
    }

    // Solves `g`; `boards` receives the grid before every deduction and the finished grid.
    bool solve(std::vector<std::int32_t> g, std::vector<std::vector<std::int32_t>> &boards)
    {
        for (;;) {
            boards.push_back(g);
            if (std::find(g.begin(), g.end(), -1) == g.end())
                return IsValidFullBoard(g.data(), n);
            if (!step(g))
                return false;
        }
    }
};

} // namespace

TEST(BitSummary, FollowsTheGridThroughEveryChange)
{
    std::mt19937_64 rng(5);
    for (int n : {8, 10, 12, 14}) {
        for (int round = 0; round < 20; ++round) {
            auto g = RandomGrid(brute::RandomSolution(n, rng), rng, 40, true);
            BoardBits kept;
            kept.build(g.data(), n);
            std::uniform_int_distribution<int> cell(0, n * n - 1), value(-1, 2);
            for (int k = 0; k < 60; ++k) {
                const int i = cell(rng);
                const std::int32_t v = value(rng); // 2 stands for any other value
                kept.change(i, g[i], v);
                g[i] = v;
                BoardBits fresh;
                fresh.build(g.data(), n);
                ExpectSameSummary(kept, fresh);
                for (auto scan : {BoardBits::kBorderRows, BoardBits::kBorderCols, BoardBits::kCenterRows,
                                  BoardBits::kCenterCols}) {
                    ASSERT_EQ(kept.firstRows(scan), fresh.firstRows(scan)) << "n " << n << " scan " << scan;
                    for (int r = 0; r < n; ++r)
                        EXPECT_EQ(kept.decided[scan][r], fresh.decided[scan][r]);
                }
                EXPECT_EQ(kept.rowKey(i / n), fresh.rowKey(i / n));
                EXPECT_EQ(kept.colKey(i % n), fresh.colKey(i % n));
            }
        }
    }
}

TEST(BitSearches, MakeTheFindersDeductionsOnRandomGrids)
{
    std::mt19937_64 rng(6);
    int found[4] = {};
    for (int n : {8, 10, 12, 14}) {
        std::vector<std::int32_t> full;
        for (int round = 0; round < 300; ++round) {
            // Sparse and dense grids, keeping the rules or breaking them.
            if (round % 10 == 0)
                full = brute::RandomSolution(n, rng);
            const auto g = RandomGrid(full, rng, 20 + round % 7 * 10, round % 3 == 0);
            BoardBits b;
            b.build(g.data(), n);
            // The level-0 steps together: the first of the six finders in the solver's order.
            const std::pair<int, int> none{-1, -1};
            std::pair<int, int> first = none;
            LevelZeroFind group = LevelZeroFind::None;
            const std::pair<bool (*)(const OrientedGrid &, Deduction &), LevelZeroFind> chain[] = {
                {FindBordering, LevelZeroFind::BorderingCentering},
                {FindCentering, LevelZeroFind::BorderingCentering},
                {FindOneKindLeft, LevelZeroFind::OneKindLeftRow}};
            for (const auto &[finder, kind] : chain) {
                for (bool columns : {false, true}) {
                    if (first != none)
                        break;
                    first = Plain(finder, g, n, columns);
                    if (first != none)
                        group = kind == LevelZeroFind::OneKindLeftRow && columns ? LevelZeroFind::OneKindLeftColumn
                                                                                : kind;
                }
            }
            {
                BoardBits fresh;
                fresh.build(g.data(), n);
                CellSetting s;
                EXPECT_EQ(BitsLevelZero(fresh, s), group) << testboards::Show(g, n);
                if (group != LevelZeroFind::None) {
                    EXPECT_EQ(std::make_pair(s.index, static_cast<int>(s.value)), first) << testboards::Show(g, n);
                }
            }
            for (bool columns : {false, true}) {
                const auto border = Plain(FindBordering, g, n, columns);
                const auto center = Plain(FindCentering, g, n, columns);
                const auto oneKind = Plain(FindOneKindLeft, g, n, columns);
                const auto avoid = Plain(FindAvoidableDuplicates, g, n, columns);
                EXPECT_EQ(OnBits(BitsBordering, b, columns), border) << testboards::Show(g, n);
                EXPECT_EQ(OnBits(BitsCentering, b, columns), center) << testboards::Show(g, n);
                EXPECT_EQ(OnBits(BitsOneKindLeft, b, columns), oneKind) << testboards::Show(g, n);
                EXPECT_EQ(OnBits(BitsAvoidableDuplicates, b, columns), avoid) << testboards::Show(g, n);
                found[0] += border.first >= 0;
                found[1] += center.first >= 0;
                found[2] += oneKind.first >= 0;
                found[3] += avoid.first >= 0;
            }
        }
    }
    // Every search was compared on grids where it decides something.
    for (int k = 0; k < 4; ++k)
        EXPECT_GT(found[k], 50) << "search " << k;
}

// Clue-removal sweeps as the generator makes them, at every limit and size, with one solver
// whose memos carry over from solve to solve and from size to size: every solve must make the
// reference chain's deductions in the same order and end with the same answer and counts.
TEST(SolverFastPaths, DeductionsMatchThePlainChainThroughClueRemovalSweeps)
{
    std::mt19937_64 rng(7);
    FakeEventPump pump;
    RatingSolver solver(SharedLineTables(), &pump);
    std::vector<std::vector<std::int32_t>> seen;
    pump.onPump = [&](long) { seen.push_back(solver.WorkGrid); };
    long solves = 0, upper = 0;
    const int plan[][2] = {{8, 3}, {10, 2}, {8, 1}, {12, 3}, {14, 1}, {10, 3}, {14, 3}, {12, 0}, {8, 2}};
    for (const auto &[n, level] : plan) {
        const auto full = brute::RandomSolution(n, rng);
        auto clues = full;
        std::vector<int> order(n * n);
        for (int i = 0; i < n * n; ++i)
            order[i] = i;
        std::shuffle(order.begin(), order.end(), rng);
        ReferenceSolver ref;
        ref.n = n;
        ref.level = level;
        for (const int cell : order) {
            clues[cell] = -1;
            testboards::Load(solver, clues, n, level);
            seen.clear();
            const bool ok = solver.Solve_Puzzle();
            std::vector<std::vector<std::int32_t>> expected;
            ref.rate = ref.duplicates = ref.heavy = 0;
            ASSERT_EQ(ok, ref.solve(clues, expected)) << "n " << n << " level " << level;
            ASSERT_EQ(seen, expected) << "n " << n << " level " << level;
            ASSERT_EQ(solver.Rate, ref.rate);
            ASSERT_EQ(solver.DuplicateCount[solver.GenSize], ref.duplicates);
            ASSERT_EQ(solver.HeavyCount[solver.GenSize], ref.heavy);
            ++solves;
            upper += ref.duplicates + ref.heavy > 0;
            if (!ok)
                clues[cell] = full[cell];
        }
    }
    EXPECT_GT(solves, 900);
    EXPECT_GT(upper, 20); // the level-2 and level-3 steps took part
}

// The solver runs the counting form of Uncovered cell(s) on a line's bits; it must decide
// what the cell-by-cell walk decides on every line of 8, 10 and 12 cells and on many of 14,
// as a row and as a column.
TEST(BitSearches, CountingFormOnBitsMatchesTheWalkOnEveryLine)
{
    std::mt19937_64 rng(12);
    long deduced = 0, passes = 0;
    for (int n : {8, 10, 12, 14}) {
        long total = 1;
        for (int p = 0; p < n; ++p)
            total *= 3;
        const long lines = n < 14 ? total : 300000;
        std::vector<std::int32_t> grid(static_cast<std::size_t>(n) * n, -1);
        std::uniform_int_distribution<long> any(0, total - 1);
        for (long k = 0; k < lines; ++k) {
            long code = n < 14 ? k : any(rng);
            std::uint32_t zeros = 0, ones = 0;
            const Orientation o = k % 2 ? Orientation::Columns : Orientation::Rows;
            const OrientedGrid g(GridView{grid.data(), n}, o);
            for (int p = 0; p < n; ++p, code /= 3) {
                const std::int32_t v = static_cast<std::int32_t>(code % 3) - 1;
                grid[g.index(5, p)] = v;
                zeros |= static_cast<std::uint32_t>(v == 0) << p;
                ones |= static_cast<std::uint32_t>(v == 1) << p;
            }
            Deduction walk, bits;
            const bool found = ExamineLineByCounting(g, 5, walk);
            ASSERT_EQ(ExamineLineBitsByCounting(g, 5, zeros, ones, bits), found)
                << "n " << n << " line " << k << "\n" << testboards::Show(grid, n);
            for (int p = 0; p < n; ++p)
                grid[g.index(5, p)] = -1;
            if (!found)
                continue;
            ASSERT_EQ(bits.count, walk.count) << "n " << n << " line " << k;
            for (int c = 0; c < walk.count; ++c) {
                ASSERT_EQ(bits.cells[c], walk.cells[c]) << "n " << n << " line " << k;
                ASSERT_EQ(bits.values[c], walk.values[c]) << "n " << n << " line " << k;
            }
            ++deduced;
            passes += walk.count > 1;
        }
    }
    EXPECT_GT(deduced, 100000);
    EXPECT_GT(passes, 1000); // the last-of-a-kind passes took part
}

// The memo tables forget by moving to a new generation instead of clearing their entries:
// through many forgets, past the wrap of the generation counter, every read must give what a
// table cleared in full would give.
TEST(StampedTable, ForgetsAsAFullClearDoesThroughTheWrapOfItsGeneration)
{
    struct Entry {
        std::uint32_t key, value;
    };
    StampedTable<Entry, 8, 2> table{Entry{~0u, 0}};
    std::map<std::size_t, Entry> cleared; // the plain table: what was written since the clear
    std::mt19937_64 rng(9);
    // The lower half of the table is read and written all along; the upper half is written
    // in full in the first round only and read all along: its blocks keep the stamp of that
    // round, which must not count again once the generation has wrapped.
    std::uniform_int_distribution<std::size_t> lower(0, 127), upper(128, 255);
    int wraps = 0, hits = 0;
    for (std::size_t s = 128; s < 256; ++s)
        cleared[s] = table.slot(s) = Entry{static_cast<std::uint32_t>(s), 1};
    for (int round = 0; round < 700; ++round) {
        for (int k = 0; k < 40; ++k) {
            const bool high = k % 4 == 3;
            const std::size_t s = high ? upper(rng) : lower(rng);
            const Entry *found = table.find(s);
            const auto it = cleared.find(s);
            ASSERT_EQ(found != nullptr && found->key != ~0u, it != cleared.end()) << "round " << round;
            if (it != cleared.end()) {
                EXPECT_EQ(found->key, it->second.key);
                EXPECT_EQ(found->value, it->second.value);
                ++hits;
            }
            if (k % 2 == 0) {
                Entry &e = table.slot(s);
                EXPECT_EQ(e.key, it == cleared.end() ? ~0u : it->second.key);
                e = Entry{static_cast<std::uint32_t>(s), static_cast<std::uint32_t>(rng())};
                cleared[s] = e;
            }
        }
        const std::uint8_t before = table.generation();
        table.forget();
        cleared.clear();
        wraps += table.generation() < before;
        EXPECT_NE(table.generation(), 0);
    }
    EXPECT_GE(wraps, 2);
    EXPECT_GT(hits, 1000);
}

// One solver used for boards of changing sides (each change makes its memos forget, so their
// generations wrap several times over), and after solves stopped halfway, must answer every
// board as a solver made for it alone.
TEST(SolverFastPaths, AReusedSolverAnswersAsAFreshOne)
{
    std::mt19937_64 rng(10);
    FakeEventPump pump;
    RatingSolver reused(SharedLineTables(), &pump);
    long pumps = 0, haltAt = -1;
    pump.onPump = [&](long) {
        if (++pumps == haltAt)
            reused.HaltGenerator = true;
    };
    std::map<int, std::vector<std::int32_t>> full;
    int upper = 0, halted = 0;
    for (int round = 0; round < 600; ++round) {
        const int n = round % 3 == 2 ? 14 : (round % 2 ? 10 : 8);
        if (round % 40 < 3)
            full[n] = brute::RandomSolution(n, rng);
        const auto clues = RandomGrid(full[n], rng, 45 + round % 5 * 10, false);
        const int level = 1 + round % 3;
        // Every seventh solve is stopped after a few deductions, leaving the memos mid-solve.
        pumps = 0;
        haltAt = round % 7 == 0 ? 3 : -1;
        testboards::Load(reused, clues, n, level);
        const bool reusedOk = reused.Solve_Puzzle();
        halted += haltAt > 0 && pumps >= haltAt;
        const long reusedPumps = pumps;

        // The fresh solver is stopped at the same deduction.
        FakeEventPump freshPump;
        RatingSolver fresh(SharedLineTables(), &freshPump);
        long freshPumps = 0;
        freshPump.onPump = [&](long) {
            if (++freshPumps == haltAt)
                fresh.HaltGenerator = true;
        };
        testboards::Load(fresh, clues, n, level);
        ASSERT_EQ(reusedOk, fresh.Solve_Puzzle()) << "round " << round << "\n" << testboards::Show(clues, n);
        ASSERT_EQ(reusedPumps, freshPumps) << "round " << round;
        ASSERT_EQ(reused.WorkGrid, fresh.WorkGrid) << "round " << round;
        ASSERT_EQ(reused.Rate, fresh.Rate) << "round " << round;
        ASSERT_EQ(reused.DuplicateCount[reused.GenSize], fresh.DuplicateCount[fresh.GenSize]);
        ASSERT_EQ(reused.HeavyCount[reused.GenSize], fresh.HeavyCount[fresh.GenSize]);
        upper += fresh.Rate >= 2;
    }
    EXPECT_GT(halted, 50);
    EXPECT_GT(upper, 100);
}

// A full grid is solved only when it keeps every rule; the solve judges it from the bit
// summary, which must agree with the rules checked cell by cell.
TEST(SolverFastPaths, FullGridsAreJudgedByTheRules)
{
    std::mt19937_64 rng(8);
    RatingSolver solver(SharedLineTables());
    int valid = 0, broken = 0;
    for (int n : {8, 10, 12, 14}) {
        std::vector<std::int32_t> full;
        for (int round = 0; round < 40; ++round) {
            if (round % 5 == 0)
                full = brute::RandomSolution(n, rng);
            auto g = full;
            std::uniform_int_distribution<int> line(0, n - 1);
            const int a = line(rng), b = (a + 1 + line(rng) % (n - 1)) % n;
            switch (round % 5) {
            case 0: // as it is
                break;
            case 1: // one cell flipped
                g[line(rng) * n + line(rng)] ^= 1;
                break;
            case 2: // a row copied onto another
                std::copy(g.begin() + a * n, g.begin() + a * n + n, g.begin() + b * n);
                break;
            case 3: // a column copied onto another
                for (int r = 0; r < n; ++r)
                    g[r * n + b] = g[r * n + a];
                break;
            default: // two columns exchanged in one row only
                std::swap(g[a * n + 0], g[a * n + 1]);
                break;
            }
            testboards::Load(solver, g, n, 0);
            const bool expected = IsValidFullBoard(g.data(), n);
            EXPECT_EQ(solver.Solve_Puzzle(), expected) << testboards::Show(g, n);
            (expected ? valid : broken) += 1;
        }
    }
    EXPECT_GT(valid, 30);
    EXPECT_GT(broken, 100);
}

namespace {

// The search as plainly stated: every candidate of a row is handed to Row_Fits in turn, none
// passed over beforehand. Gives up after `maxAttempts` attempts.
bool PlainSearch(BoardSearch &s, int maxAttempts, std::vector<std::int32_t> &board, int &attempts)
{
    const int n = s.gridSize();
    s.LineOrder.resize(static_cast<std::size_t>(s.GenLastLine) + 1);
    for (std::int32_t k = 0; k <= s.GenLastLine; ++k)
        s.LineOrder[k] = k;
    for (attempts = 1; attempts <= maxAttempts; ++attempts) {
        s.shuffle();
        s.RowChoice.fill(-1);
        int row = n - 1;
        bool restart = false;
        for (int steps = 1; !restart; ++steps) {
            if (steps >= BoardSearch::kStepLimit) {
                restart = true; // even when the board was complete: the limit comes first
                break;
            }
            if (row == -1)
                break;
            for (;;) {
                if (s.RowChoice[row] == s.GenLastLine) {
                    s.RowChoice[row] = -1;
                    if (++row == n) {
                        restart = true;
                        break;
                    }
                    continue;
                }
                ++s.RowChoice[row];
                if (s.Row_Fits(row)) {
                    --row;
                    break;
                }
            }
        }
        if (row != -1 || restart)
            continue; // cut off at the step limit, or the bottom row ran out
        board.assign(static_cast<std::size_t>(n) * n, -1);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c)
                board[r * n + (n - 1 - c)] = (s.RowBits[r] >> c) & 1;
        return true;
    }
    return false;
}

} // namespace

// The board search passes over candidates that would put three equal values in a column or
// a value into a column already holding N/2 of it; it must build the boards that trying every
// candidate with Row_Fits builds, from the same random draws.
TEST(BoardSearchShortcut, BuildsTheBoardsOfTryingEveryCandidate)
{
    const LineTables &tables = SharedLineTables();
    const bool halt = false;
    for (int n : {8, 10, 12, 14}) {
        SeededRandom fastRandom(900 + n), plainRandom(900 + n);
        BoardSearch fast(tables, fastRandom, nullptr, &halt);
        BoardSearch plain(tables, plainRandom, nullptr, &halt);
        fast.setSize(n);
        plain.setSize(n);
        for (int board = 0; board < 6; ++board) {
            std::vector<std::int32_t> built, expected;
            int attempts = 0;
            ASSERT_TRUE(fast.Build_Full_Board(built));
            ASSERT_TRUE(PlainSearch(plain, 1000, expected, attempts));
            EXPECT_EQ(built, expected) << "n " << n << " board " << board;
            EXPECT_EQ(fast.attempts(), attempts);
            EXPECT_EQ(fast.RowChoice, plain.RowChoice);
        }
    }
}

TEST(BoardSearchShortcut, BuildsTheBoardsOfTryingEveryCandidateAfterLongBacktracking)
{
    // Random small line tables make the search back up often, over many rows and out of rows
    // whose candidates are all used; larger ones too. The candidates the search passes over without asking
    // Row_Fits must be exactly those that the rows below refuse as they stand at that moment,
    // however the search came back to the row: the board, the attempts and the random draws
    // are those of the plain search.
    const LineTables &full = SharedLineTables();
    SeededRandom pick(4242);
    constexpr int kMaxAttempts = 4;
    int boards = 0;
    for (int trial = 0; trial < 200; ++trial) {
        const int n = 8 + 2 * static_cast<int>(pick.below(4));
        std::vector<std::int32_t> lines = full.bits(n);
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            std::swap(lines[i], lines[i + pick.below(static_cast<std::uint32_t>(lines.size() - i))]);
        // Most tables are small; every fourth may keep up to all lines, so that the shuffled
        // order spans several words of the search's index of 64 candidates each.
        const auto spread = static_cast<std::uint32_t>(trial % 4 == 3 ? lines.size() - n + 1 : 3 * n);
        lines.resize(std::min(lines.size(), n + static_cast<std::size_t>(pick.below(spread))));
        std::sort(lines.begin(), lines.end());
        LineTables t = full;
        const auto last = static_cast<std::int32_t>(lines.size()) - 1;
        switch (n) {
        case 8: t.LineBits8 = lines; t.LastLine8 = last; break;
        case 10: t.LineBits10 = lines; t.LastLine10 = last; break;
        case 12: t.LineBits12 = lines; t.LastLine12 = last; break;
        default: t.LineBits14 = lines; t.LastLine14 = last; break;
        }
        const std::uint64_t seed = pick.next();
        SeededRandom testedRandom(seed), plainRandom(seed);
        FakeEventPump pump;
        bool halt = false;
        BoardSearch tested(t, testedRandom, &pump, &halt), plain(t, plainRandom, nullptr, &halt);
        tested.setSize(n);
        plain.setSize(n);
        pump.onPump = [&](long) {
            if (tested.attempts() > kMaxAttempts)
                halt = true;
        };
        std::vector<std::int32_t> a, b;
        int plainAttempts = 0;
        const bool found = tested.Build_Full_Board(a);
        ASSERT_EQ(found, PlainSearch(plain, kMaxAttempts, b, plainAttempts))
            << "trial " << trial << " N=" << n;
        if (found) {
            EXPECT_EQ(a, b) << "trial " << trial << " N=" << n;
            EXPECT_EQ(tested.attempts(), plainAttempts) << "trial " << trial;
            EXPECT_EQ(testedRandom.next(), plainRandom.next()) << "trial " << trial;
            ++boards;
        }
    }
    EXPECT_GT(boards, 30);
}
