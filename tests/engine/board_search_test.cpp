#include "solver/board_search.h"

#include "game/line_tables.h"
#include "platform/fake/fakes.h"
#include "platform/seeded_random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

using namespace tl;

namespace {

// Independent check of a full board: every row and column has N/2 ones, no three equal
// neighbours, and no two rows or two columns are equal.
bool isValidFullBoard(const std::vector<std::int32_t> &b, int n)
{
    if (b.size() != static_cast<std::size_t>(n) * n)
        return false;
    std::set<std::vector<int>> rows, cols;
    for (int i = 0; i < n; ++i) {
        std::vector<int> row, col;
        for (int j = 0; j < n; ++j) {
            row.push_back(b[i * n + j]);
            col.push_back(b[j * n + i]);
        }
        for (const auto &line : {row, col}) {
            int ones = 0;
            for (int j = 0; j < n; ++j) {
                if (line[j] != 0 && line[j] != 1)
                    return false;
                ones += line[j];
                if (j >= 2 && line[j] == line[j - 1] && line[j] == line[j - 2])
                    return false;
            }
            if (ones != n / 2)
                return false;
        }
        rows.insert(row);
        cols.insert(col);
    }
    return rows.size() == static_cast<std::size_t>(n) && cols.size() == static_cast<std::size_t>(n);
}

struct Rig {
    SeededRandom random;
    FakeEventPump pump;
    bool halt = false;
    BoardSearch search;
    explicit Rig(std::uint64_t seed, const LineTables &t = SharedLineTables())
        : random(seed), search(t, random, &pump, &halt)
    {
    }
};

} // namespace

TEST(BoardSearch, BuildsValidBoardsOfEverySize)
{
    for (int n : {8, 10, 12, 14}) {
        Rig rig(1000 + n);
        rig.search.setSize(n);
        std::set<std::vector<std::int32_t>> seen;
        for (int k = 0; k < 20; ++k) {
            std::vector<std::int32_t> board;
            ASSERT_TRUE(rig.search.Build_Full_Board(board)) << "N=" << n;
            EXPECT_TRUE(isValidFullBoard(board, n)) << "N=" << n << " board " << k;
            seen.insert(board);
        }
        // One engine seeded once: successive boards are not repeats of each other.
        EXPECT_EQ(seen.size(), 20u) << "N=" << n;
    }
}

TEST(BoardSearch, SameSeedGivesSameBoardsAndRowsComeFromTheShuffledTable)
{
    Rig a(77), b(77);
    a.search.setSize(12);
    b.search.setSize(12);
    std::vector<std::int32_t> ba, bb;
    for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(a.search.Build_Full_Board(ba));
        ASSERT_TRUE(b.search.Build_Full_Board(bb));
        EXPECT_EQ(ba, bb);
    }
    // Placement: bit c of a row's table value lands in column N - 1 - c.
    const auto &bits = SharedLineTables().LineBits12;
    for (int r = 0; r < 12; ++r) {
        const std::int32_t v = bits[a.search.LineOrder[a.search.RowChoice[r]]];
        EXPECT_EQ(a.search.RowBits[r], v);
        for (int c = 0; c < 12; ++c)
            EXPECT_EQ(ba[r * 12 + (11 - c)], (v >> c) & 1);
    }
    // The line order stays a permutation of the table's indexes.
    std::vector<std::int32_t> order = a.search.LineOrder;
    std::sort(order.begin(), order.end());
    for (std::int32_t k = 0; k <= a.search.GenLastLine; ++k)
        EXPECT_EQ(order[k], k);
}

TEST(BoardSearch, SizeParameters)
{
    Rig rig(1);
    const int swaps[] = {1024, 4096, 8192, 16384};
    const int last[] = {33, 83, 207, 517};
    for (int s = 0; s < 4; ++s) {
        rig.search.setSize(8 + 2 * s);
        EXPECT_EQ(rig.search.swapsPerShuffle(), swaps[s]);
        EXPECT_EQ(rig.search.GenLastLine, last[s]);
    }
}

TEST(BoardSearch, RowFitsRules)
{
    Rig rig(5);
    auto &s = rig.search;
    s.setSize(8);
    const auto &bits = SharedLineTables().LineBits8;
    s.LineOrder.resize(34);
    for (int k = 0; k < 34; ++k)
        s.LineOrder[k] = k;
    auto choose = [&](int row, std::int32_t value) {
        for (int k = 0; k < 34; ++k)
            if (bits[k] == value) {
                s.RowChoice[row] = k;
                return;
            }
        FAIL() << "not a valid line: " << value;
    };
    // The bottom row accepts anything; the next row is refused only as a duplicate.
    choose(7, 43);
    EXPECT_TRUE(s.Row_Fits(7));
    choose(6, 43);
    EXPECT_FALSE(s.Row_Fits(6));
    choose(6, 43 ^ 255); // 212: the complement of 43
    EXPECT_TRUE(s.Row_Fits(6));
    choose(5, 43); // equals row 7: a duplicate
    EXPECT_FALSE(s.Row_Fits(5));
    // Rows 7 = 43 and 6 = 212 differ in every column, so a third row cannot make a triple.
    choose(5, 45);
    EXPECT_TRUE(s.Row_Fits(5));
    // Row 4 is refused exactly when it repeats a row below or makes three equal in a column.
    for (int k = 0; k < 34; ++k) {
        s.RowChoice[4] = k;
        const std::int32_t v = bits[k];
        bool triple = false;
        for (int c = 0; c < 8; ++c) {
            const int a = (v >> c) & 1, b5 = (45 >> c) & 1, b6 = (212 >> c) & 1;
            if (a == b5 && b5 == b6)
                triple = true;
        }
        const bool dup = v == 43 || v == 212 || v == 45;
        EXPECT_EQ(s.Row_Fits(4), !triple && !dup) << "candidate " << v;
    }
}

TEST(BoardSearch, ColumnCountsAndEqualColumnsAreRefused)
{
    // Build a board, then check that Row_Fits agrees with an independent test for every
    // candidate of rows 3, 1 and 0 given the rows the search placed below them.
    Rig rig(99);
    auto &s = rig.search;
    s.setSize(8);
    std::vector<std::int32_t> board;
    ASSERT_TRUE(s.Build_Full_Board(board));
    const auto placed = s.RowBits;
    const auto &bits = SharedLineTables().LineBits8;
    for (int row : {3, 1, 0}) {
        for (int k = 0; k < 34; ++k) {
            // Re-place the rows below `row` exactly as the search had them.
            for (int r = 7; r > row; --r) {
                for (int j = 0; j < 34; ++j)
                    if (bits[s.LineOrder[j]] == placed[r])
                        s.RowChoice[r] = j;
                ASSERT_TRUE(s.Row_Fits(r));
            }
            s.RowChoice[row] = 0;
            for (int j = 0; j < 34; ++j)
                if (s.LineOrder[j] == k)
                    s.RowChoice[row] = j;
            const std::int32_t v = bits[k];
            std::vector<std::int32_t> rows(placed.begin(), placed.begin() + 8);
            rows[row] = v;
            bool ok = true;
            for (int r = row + 1; r < 8; ++r)
                ok = ok && rows[r] != v;
            std::vector<int> cols(8, 0);
            for (int c = 0; c < 8; ++c) {
                int ones = 0;
                for (int r = row; r < 8; ++r) {
                    const int x = (rows[r] >> c) & 1;
                    ones += x;
                    cols[c] = cols[c] * 2 + x;
                    if (r >= row + 2) {
                        const int a = (rows[r - 1] >> c) & 1, b = (rows[r - 2] >> c) & 1;
                        ok = ok && !(x == a && a == b);
                    }
                }
                if (row < 4)
                    ok = ok && ones <= 4 && (8 - row - ones) <= 4;
            }
            if (row == 1)
                for (int i = 0; i < 8; ++i)
                    for (int j = i + 1; j < 8; ++j)
                        ok = ok && cols[i] != cols[j];
            EXPECT_EQ(s.Row_Fits(row), ok) << "row " << row << " candidate " << v;
        }
    }
}

TEST(BoardSearch, HaltEndsTheSearchWithoutABoard)
{
    Rig rig(3);
    rig.search.setSize(14);
    rig.pump.onPump = [&](long call) {
        if (call == 5)
            rig.halt = true;
    };
    std::vector<std::int32_t> board;
    EXPECT_FALSE(rig.search.Build_Full_Board(board));
    EXPECT_EQ(rig.pump.calls, 5);
    ASSERT_EQ(board.size(), 196u);
    for (auto v : board)
        EXPECT_EQ(v, -1);

    // Already halted: no attempt at all.
    Rig idle(3);
    idle.halt = true;
    idle.search.setSize(8);
    EXPECT_FALSE(idle.search.Build_Full_Board(board));
    EXPECT_EQ(idle.pump.calls, 0);
}

TEST(BoardSearch, ExhaustedBottomRowStartsANewAttempt)
{
    // A table of only three lines cannot fill 14 distinct rows: the search backtracks past the
    // bottom row. It must start a new attempt (never read a row beyond the board) and go on
    // until halted.
    LineTables tiny = SharedLineTables();
    tiny.LineBits14 = {tiny.LineBits14[0], tiny.LineBits14[1], tiny.LineBits14[2]};
    tiny.LastLine14 = 2;
    Rig rig(11, tiny);
    rig.search.setSize(14);
    rig.pump.onPump = [&](long) {
        if (rig.search.attempts() >= 4)
            rig.halt = true;
    };
    std::vector<std::int32_t> board;
    EXPECT_FALSE(rig.search.Build_Full_Board(board));
    EXPECT_EQ(rig.search.attempts(), 4);
    for (auto c : rig.search.RowChoice)
        EXPECT_GE(c, -1);
}

TEST(BoardSearch, ShuffleIndexesStayBelowTheTableLengthEvenForTheLargestDraws)
{
    // A source that only ever yields the largest values it can: every index drawn must still
    // lie below the table length (a scaled floating-point draw could reach the length itself).
    class Largest : public RandomSource {
    public:
        std::uint64_t next() override { return (flip = !flip) ? UINT64_MAX : UINT64_MAX - 4096; }
        bool flip = false;
    } largest;
    FakeEventPump pump;
    bool halt = false;
    BoardSearch search(SharedLineTables(), largest, &pump, &halt);
    for (int n : {8, 10, 12, 14}) {
        search.setSize(n);
        search.LineOrder.resize(static_cast<std::size_t>(search.GenLastLine) + 1);
        for (std::int32_t k = 0; k <= search.GenLastLine; ++k)
            search.LineOrder[k] = k;
        search.shuffle();
        std::vector<std::int32_t> order = search.LineOrder;
        std::sort(order.begin(), order.end());
        for (std::int32_t k = 0; k <= search.GenLastLine; ++k)
            ASSERT_EQ(order[k], k) << "N=" << n;
    }
}

TEST(BoardSearch, LongAttemptsAreCutAt2500StepsAndReshuffleTheOrderAsLeft)
{
    // Every pass of the search loop lets events run once, so the pump counts the steps: an
    // abandoned attempt takes exactly 2500 of them (the pass that reaches 2500 is discarded even
    // if it completed the board), the successful one fewer.
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        Rig rig(seed);
        rig.search.setSize(14);
        std::vector<long> steps; // pump calls per attempt
        rig.pump.onPump = [&](long) {
            steps.resize(static_cast<std::size_t>(rig.search.attempts()));
            ++steps.back();
        };
        std::vector<std::int32_t> board;
        ASSERT_TRUE(rig.search.Build_Full_Board(board));
        const int attempts = rig.search.attempts();
        if (attempts < 2)
            continue;
        ASSERT_EQ(steps.size(), static_cast<std::size_t>(attempts));
        for (int a = 0; a + 1 < attempts; ++a)
            EXPECT_EQ(steps[a], 2500) << "seed " << seed << " attempt " << a + 1;
        EXPECT_GE(steps.back(), 15) << "seed " << seed;
        EXPECT_LT(steps.back(), 2500) << "seed " << seed;

        // Each new attempt shuffles the order the previous one left, not the identity: the
        // final order is that many shuffles applied one after the other from the identity.
        SeededRandom replay(seed);
        std::vector<std::int32_t> order(static_cast<std::size_t>(rig.search.GenLastLine) + 1);
        for (std::size_t k = 0; k < order.size(); ++k)
            order[k] = static_cast<std::int32_t>(k);
        const auto len = static_cast<std::uint32_t>(order.size());
        for (int a = 0; a < attempts; ++a)
            for (int s = 0; s < rig.search.swapsPerShuffle(); ++s) {
                const std::uint32_t i = replay.below(len);
                const std::uint32_t j = replay.below(len);
                std::swap(order[i], order[j]);
            }
        EXPECT_EQ(rig.search.LineOrder, order) << "seed " << seed;
        EXPECT_TRUE(isValidFullBoard(board, 14));
        return;
    }
    FAIL() << "no seed needed a second attempt";
}

TEST(BoardSearch, AnySourceOfTheSameNumbersGivesTheSameBoards)
{
    // The run's SeededRandom is read without virtual calls; any other source is read through
    // RandomSource. Fed the same numbers, both make the same boards from the same draws.
    class Forwarding : public RandomSource {
    public:
        explicit Forwarding(std::uint64_t seed) : inner(seed) {}
        std::uint64_t next() override { return inner.next(); }
        SeededRandom inner;
    };
    for (int n : {8, 10, 12, 14}) {
        for (std::uint64_t seed : {3ull, 77ull, 20260101ull}) {
            Rig seeded(seed);
            Forwarding forwarding(seed);
            FakeEventPump pump;
            bool halt = false;
            BoardSearch other(SharedLineTables(), forwarding, &pump, &halt);
            seeded.search.setSize(n);
            other.setSize(n);
            for (int board = 0; board < 3; ++board) {
                std::vector<std::int32_t> a, b;
                ASSERT_TRUE(seeded.search.Build_Full_Board(a));
                ASSERT_TRUE(other.Build_Full_Board(b));
                EXPECT_EQ(a, b) << "n " << n << " seed " << seed << " board " << board;
                EXPECT_EQ(seeded.search.attempts(), other.attempts());
                EXPECT_EQ(seeded.search.LineOrder, other.LineOrder);
            }
            EXPECT_EQ(seeded.random.next(), forwarding.next()) << "n " << n << " seed " << seed;
        }
    }
}
