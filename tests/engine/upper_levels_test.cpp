// The level-2 and level-3 techniques of the rating solver: each found where expected with its
// label and counted only in slot GenSize, the step convention at the limits, and the finders'
// restrictions on hand-built boards and couple tables.
#include "solver/solver.h"
#include "support/brute_force.h"
#include "support/solver_boards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include <string>
#include <vector>

using namespace tl;
using tl::testboards::Board;

namespace {

std::vector<std::int32_t> Transposed(const std::vector<std::int32_t> &g, int n)
{
    std::vector<std::int32_t> t(g.size());
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            t[c * n + r] = g[r * n + c];
    return t;
}

CoupleTables EmptyCouples()
{
    CoupleTables t;
    BuildCouples(GridView{nullptr, 0}, SharedLineTables(), t); // clears every entry
    return t;
}

// ---- Each technique through the whole chain ---------------------------------------------------

struct StepCase {
    std::string name;
    std::vector<std::string> rows;
    std::string_view label;
    int cell;
    int value;
    bool heavy; // level 3 (HeavyCount) rather than level 2 (DuplicateCount)
};

void PrintTo(const StepCase &c, std::ostream *os) { *os << c.name; }

class UpperStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(UpperStep, MakesOneSoundDeductionWithItsLabelCountedInSlotGenSize)
{
    const StepCase &tc = GetParam();
    const std::vector<std::int32_t> board = Board(tc.rows);
    const int n = static_cast<int>(tc.rows.size());
    RatingSolver solver(SharedLineTables());
    testboards::Load(solver, board, n, 3);
    solver.GenSize = 3; // a validated design counts in slot 3, whatever its size
    solver.DuplicateCount = {};
    solver.HeavyCount = {};
    solver.WorkGrid.assign(board.begin(), board.end());

    ASSERT_TRUE(solver.Solve_Step_Basic());
    EXPECT_EQ(solver.TechniqueName, tc.label);
    std::vector<std::int32_t> expected = board;
    expected[tc.cell] = tc.value;
    EXPECT_EQ(solver.WorkGrid, expected) << testboards::Show(solver.WorkGrid, n);
    EXPECT_TRUE(brute::ValueForced(n, board, tc.cell, tc.value));
    const std::array<std::int16_t, 4> one{0, 0, 0, 1}, none{};
    EXPECT_EQ(solver.HeavyCount, tc.heavy ? one : none);
    EXPECT_EQ(solver.DuplicateCount, tc.heavy ? none : one);
    EXPECT_EQ(solver.Rate, tc.heavy ? 3 : 2);

    // The board transposed: the same technique in its other orientation (the cell it finds
    // first may differ, the scan order being rows before columns).
    const std::vector<std::int32_t> t = Transposed(board, n);
    testboards::Load(solver, t, n, 3);
    solver.WorkGrid.assign(t.begin(), t.end());
    ASSERT_TRUE(solver.Solve_Step_Basic());
    EXPECT_EQ(solver.TechniqueName, tc.label);
    int changed = 0;
    for (int i = 0; i < n * n; ++i) {
        if (solver.WorkGrid[i] != t[i]) {
            ++changed;
            EXPECT_TRUE(brute::ValueForced(n, t, i, solver.WorkGrid[i]));
        }
    }
    EXPECT_EQ(changed, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, UpperStep,
    ::testing::Values(
        StepCase{"AvoidableForcingCell",
                 {"10101100", "01--1010", "10010011", "10--0101", "01--1010", "10--0110",
                  "01101001", "01--0101"},
                 labels::kAvoidableForcingCell, 26, 1, false},
        StepCase{"AlmostDuplicates",
                 {"01101001", "101--100", "01010011", "110--010", "101--100", "001--101",
                  "01001011", "10010110"},
                 labels::kAlmostDuplicates, 27, 0, false},
        StepCase{"RectangleLeftover",
                 {"01101-0-", "101-010-", "010--011", "110--010", "10101100", "0--10101",
                  "0--0101-", "10010-1-"},
                 labels::kRectangleLeftover, 55, 1, true},
        StepCase{"ForcedRectangle",
                 {"10100101", "--011010", "01001011", "--1-010-", "1-0-1---", "01101---",
                  "00110011", "11010100"},
                 labels::kForcedRectangle, 47, 0, true},
        StepCase{"AvoidableSandwich",
                 {"11001010", "1001--01", "01100101", "1001--10", "01101001", "10----10",
                  "01----01", "00110110"},
                 labels::kAvoidableSandwich, 50, 0, true},
        StepCase{"ChainedForcingCell",
                 {"1010100101", "10-1-01001", "0101011010", "1010100110", "0101--1001",
                  "1010011010", "01--1-010-", "110-10010-", "0010011011", "0101010110"},
                 labels::kChainedForcingCell, 63, 0, true},
        StepCase{"ChainedLeftover",
                 {"10101100", "0101-0--", "1001-0--", "--100101", "0-10101-", "10010110",
                  "01101001", "-10101--"},
                 labels::kChainedLeftover, 62, 0, true}),
    [](const auto &info) { return info.param.name; });

// ---- The step convention at the limits --------------------------------------------------------

TEST(UpperChain, StopsAtItsLimitAndHandsOverWithinLevelThree)
{
    // An empty board: no technique of any level applies.
    const std::vector<std::int32_t> empty(64, -1);
    RatingSolver solver(SharedLineTables());

    testboards::Load(solver, empty, 8, 2);
    EXPECT_FALSE(solver.Solve_Puzzle());
    EXPECT_EQ(solver.Rate, 2);
    EXPECT_EQ(solver.TechniqueName, labels::kAlmostDuplicates);
    EXPECT_EQ(solver.DuplicateCount[0], 0);
    EXPECT_EQ(solver.WorkGrid, empty);

    testboards::Load(solver, empty, 8, 3);
    EXPECT_FALSE(solver.Solve_Puzzle());
    EXPECT_EQ(solver.Rate, 3);
    EXPECT_EQ(solver.TechniqueName, labels::kChainedLeftover);
    EXPECT_EQ(solver.HeavyCount[0], 0);
    EXPECT_EQ(solver.WorkGrid, empty);

    // The rectangles step hands over to chained couples without looking at the limit or Rate.
    testboards::Load(solver, empty, 8, 0);
    solver.WorkGrid = empty;
    EXPECT_FALSE(solver.Solve_Step_Rectangles());
    EXPECT_EQ(solver.Rate, 0);
    EXPECT_EQ(solver.TechniqueName, labels::kChainedLeftover);
}

TEST(UpperChain, APuzzleWithinLevelTwoRatesTheSameAtLimitThree)
{
    // Clue-removal at limit 2 until a puzzle that needs level 2 appears; solving it at limit 3
    // takes the same path: level 3 is only tried where level 2 finds nothing.
    std::mt19937_64 rng(11);
    RatingSolver solver(SharedLineTables());
    int checked = 0;
    for (int b = 0; b < 50 && checked < 3; ++b) {
        const auto full = brute::RandomSolution(8, rng);
        auto clues = full;
        std::vector<int> order(64);
        for (int i = 0; i < 64; ++i)
            order[i] = i;
        std::shuffle(order.begin(), order.end(), rng);
        for (const int cell : order) {
            clues[cell] = -1;
            testboards::Load(solver, clues, 8, 2);
            if (!solver.Solve_Puzzle())
                clues[cell] = full[cell];
        }
        testboards::Load(solver, clues, 8, 2);
        ASSERT_TRUE(solver.Solve_Puzzle());
        if (solver.Rate != 2)
            continue;
        const auto duplicates = solver.DuplicateCount[0];
        testboards::Load(solver, clues, 8, 3);
        ASSERT_TRUE(solver.Solve_Puzzle());
        EXPECT_EQ(solver.Rate, 2);
        EXPECT_EQ(solver.DuplicateCount[0], duplicates);
        EXPECT_EQ(solver.HeavyCount[0], 0);
        EXPECT_EQ(solver.WorkGrid, full);
        ++checked;
    }
    EXPECT_EQ(checked, 3);
}

TEST(UpperChain, StepsOnAGridOfAnotherSideDecideNothing)
{
    RatingSolver solver(SharedLineTables());
    solver.GenGridSize = 16;
    solver.GenLastCell = 255;
    solver.GenLevel = 3;
    solver.WorkGrid.assign(256, -1);
    solver.WorkGrid[0] = 0;
    EXPECT_FALSE(solver.Solve_Step_Duplicates());
    EXPECT_FALSE(solver.Solve_Step_Rectangles());
    EXPECT_FALSE(solver.Solve_Step_Chained_Couples());
    EXPECT_FALSE(solver.Gen_Row_Forces_Opposite(0, 1, 0, 0, 0));
}

// ---- Level-2 finders --------------------------------------------------------------------------

TEST(AvoidableForcingCell, SecondFormDecidesAgainstACompleteUnbalancedLine)
{
    // Row 1 is complete but holds five 0s: the first form never uses it, the second does.
    // Giving (0, 2) row 1's 0 leaves row 0 no valid completion, so it takes 1.
    auto g = Board({"00--11--", "00011111", "--------", "--------", "--------", "--------",
                    "--------", "--------"});
    const OrientedGrid rows(GridView{g.data(), 8}, Orientation::Rows);
    Deduction d;
    EXPECT_FALSE(FindAvoidableForcingCell1(rows, SharedLineTables(), d));
    ASSERT_TRUE(FindAvoidableForcingCell2(rows, SharedLineTables(), d));
    EXPECT_EQ(d.cells[0], 2);
    EXPECT_EQ(d.values[0], 1);
    EXPECT_EQ(d.otherLine, 1);
}

TEST(AlmostDuplicates, NeedsEqualLinesThreeApartWithTwoEmptyCells)
{
    auto g = Board({"101--100", "---0----", "--------", "101--100", "--------", "--------",
                    "--------", "--------"});
    const OrientedGrid rows(GridView{g.data(), 8}, Orientation::Rows);
    Deduction d;
    ASSERT_TRUE(FindAlmostDuplicates(rows, d));
    EXPECT_EQ(d.cells[0], 2 * 8 + 3); // the other in-between cell of column 3
    EXPECT_EQ(d.values[0], 1);
    // A single differing cell spoils the pair.
    g[3 * 8 + 7] = 1;
    EXPECT_FALSE(FindAlmostDuplicates(rows, d));
}

// ---- Couples ----------------------------------------------------------------------------------

TEST(Couples, PairEachCellWithItsFirstPartnerOnly)
{
    // Row 0: two empty cells with one of each value missing always form a couple. Row 1: one
    // empty cell, no couple. Row 2: three 0s in a row already, so no valid line fits: its empty
    // cells pair in order (1 with 4, 5 with 6).
    auto g = Board({"-0110-01", "0110100-", "0-000--1", "--------", "--------", "--------",
                    "--------", "--------"});
    CoupleTables t;
    BuildCouples(GridView{g.data(), 8}, SharedLineTables(), t);
    EXPECT_EQ(t.RowPartner[0][0], 5);
    EXPECT_EQ(t.RowPartner[0][5], 0);
    EXPECT_EQ(t.RowPartner[1][7], -1);
    EXPECT_EQ(t.RowPartner[2][1], 5);
    EXPECT_EQ(t.RowPartner[2][5], 1);
    EXPECT_EQ(t.RowPartner[2][6], -1);
    EXPECT_EQ(t.RowCouples[2], 1);
    EXPECT_EQ(t.RowEmpty[2], 3);
    // An all-empty row has no couple.
    EXPECT_EQ(t.RowCouples[3], 0);
    for (int r = 8; r < 14; ++r)
        for (int c = 0; c < 14; ++c)
            EXPECT_EQ(t.RowPartner[r][c], -1);
}

// ---- Rectangles -------------------------------------------------------------------------------

TEST(RectangleLeftover, UsesARectangleOfCouplesWhosePartnerLineIsAboveZero)
{
    auto g = Board({"--------", "--------", "1-01-0-1", "--------", "--------", "--------",
                    "--------", "--------"});
    const OrientedGrid rows(GridView{g.data(), 8}, Orientation::Rows);
    CoupleTables t = EmptyCouples();
    auto rectangle = [&](int other) {
        t = EmptyCouples();
        t.ColPartner[2][1] = t.ColPartner[2][4] = static_cast<std::int16_t>(other);
        t.RowPartner[other][1] = 4;
        t.RowPartner[other][4] = 1;
    };
    Deduction d;
    rectangle(5);
    ASSERT_TRUE(FindRectangleLeftover(rows, t, 7, d));
    EXPECT_EQ(d.technique, Technique::RectangleLeftoverCell);
    EXPECT_EQ(d.cells[0], 2 * 8 + 6);
    EXPECT_EQ(d.values[0], 0); // fewer zeros than ones placed: the leftover cell is 0
    rectangle(0);
    EXPECT_FALSE(FindRectangleLeftover(rows, t, 7, d));
    // The hint engine examines only lines up to N - 4.
    rectangle(5);
    EXPECT_FALSE(FindRectangleLeftover(rows, t, 1, d));
}

TEST(ForcedRectangle, NeedsTheNeighbouringLineAndForcingSideCells)
{
    auto g = Board({"--------", "--------", "--------", "10--01-1", "-0------", "--------",
                    "--------", "--------"});
    const OrientedGrid rows(GridView{g.data(), 8}, Orientation::Rows);
    auto corners = [&](int other) {
        CoupleTables t = EmptyCouples();
        t.ColPartner[3][2] = t.ColPartner[3][3] = static_cast<std::int16_t>(other);
        return t;
    };
    Deduction d;
    // Left of the corners both rows hold 0: corners equal would make three equal values.
    ASSERT_TRUE(FindForcedRectangle(rows, corners(4), d));
    EXPECT_EQ(d.cells[0], 3 * 8 + 6);
    EXPECT_EQ(d.values[0], 0);
    EXPECT_FALSE(FindForcedRectangle(rows, corners(5), d)); // two lines away
    // One forbidding value only for one of the equal fillings gives nothing.
    g[4 * 8 + 1] = 1;
    EXPECT_FALSE(FindForcedRectangle(rows, corners(4), d));

    // Corners at the start of a line: only the cells after them can force.
    auto h = Board({"--------", "1-------", "--1-----", "--101-01", "--1-----", "--------",
                    "--------", "--------"});
    const OrientedGrid rowsH(GridView{h.data(), 8}, Orientation::Rows);
    CoupleTables t = EmptyCouples();
    t.ColPartner[3][0] = t.ColPartner[3][1] = 4;
    ASSERT_TRUE(FindForcedRectangle(rowsH, t, d));
    EXPECT_EQ(d.cells[0], 3 * 8 + 5);
    // Another neighbouring line, above instead of below.
    t = EmptyCouples();
    t.ColPartner[3][0] = t.ColPartner[3][1] = 2;
    EXPECT_TRUE(FindForcedRectangle(rowsH, t, d)); // (3,2)=1 and (2,2)=1
    // Row 1 with corners coupled to row 0: a partner line 0 is never used.
    auto k = Board({"1-------", "--101-01", "--1-----", "--------", "--------", "--------",
                    "--------", "--------"});
    const OrientedGrid rowsK(GridView{k.data(), 8}, Orientation::Rows);
    t = EmptyCouples();
    t.ColPartner[1][0] = t.ColPartner[1][1] = 0;
    EXPECT_FALSE(FindForcedRectangle(rowsK, t, d));
    t.ColPartner[1][0] = t.ColPartner[1][1] = 2;
    EXPECT_TRUE(FindForcedRectangle(rowsK, t, d));
}

TEST(RectangleForcingCell, ForcesTheOtherInBetweenCellInBothOrientations)
{
    auto g = Board({"--101010", "01------", "1-------", "--010101", "1-------", "0-------",
                    "0-------", "1-------"});
    Deduction d;
    ASSERT_TRUE(FindRectangleForcingCell(OrientedGrid(GridView{g.data(), 8}, Orientation::Rows), d));
    EXPECT_EQ(d.cells[0], 2 * 8 + 1);
    EXPECT_EQ(d.values[0], 0);
    const auto t = Transposed(g, 8);
    ASSERT_TRUE(FindRectangleForcingCell(OrientedGrid(GridView{t.data(), 8}, Orientation::Columns), d));
    EXPECT_EQ(d.cells[0], 1 * 8 + 2);
    EXPECT_EQ(d.values[0], 0);
    // A column where only one of the two lines is empty rejects the pair.
    g[3 * 8 + 7] = -1;
    EXPECT_FALSE(FindRectangleForcingCell(OrientedGrid(GridView{g.data(), 8}, Orientation::Rows), d));
}

// ---- Forces-opposite tests --------------------------------------------------------------------

TEST(ForcesOpposite, AnswersFromTheValidLinesTrueWhenNoneCanContradict)
{
    // Line under test: 0 1 1 0 - - - - (known positions 0..3).
    const std::int32_t pattern = 1 | (2 << 2) | (2 << 4) | (1 << 6);
    const std::int32_t mask = 0xFF;
    auto g = Board({"--------", "----0---", "----1---", "--------", "--------", "--------",
                    "--------", "--------"});
    const OrientedGrid rows(GridView{g.data(), 8}, Orientation::Rows);
    const auto &tables = SharedLineTables();
    // A 0 at position 4 leaves 1,?,? with one 0 and... 0110 0 then 1 1 0 or 1 0 1: position 5
    // is always 1.
    EXPECT_TRUE(ForcesOpposite(rows, 4, 5, 1, pattern, mask, tables));
    // A 1 at position 4: 0110 1 then 0 0 1 / 0 1 0 / 1 0 0 — position 5 is not always 0.
    EXPECT_FALSE(ForcesOpposite(rows, 4, 5, 2, pattern, mask, tables));
    // An empty reference cell counts as 1.
    EXPECT_FALSE(ForcesOpposite(rows, 4, 5, 0, pattern, mask, tables));
    // The same position twice: some fitting line holds the trial value there.
    EXPECT_FALSE(ForcesOpposite(rows, 4, 4, 1, pattern, mask, tables));
    // A line already holding the other value at pos1 has no fitting line with the trial value.
    EXPECT_TRUE(ForcesOpposite(rows, 4, 5, 1, pattern | (2 << 8), mask | (3 << 8), tables));
    // The column form on the transposed board gives the same answers.
    const auto t = Transposed(g, 8);
    const OrientedGrid cols(GridView{t.data(), 8}, Orientation::Columns);
    EXPECT_TRUE(ForcesOpposite(cols, 4, 5, 1, pattern, mask, tables));
    EXPECT_FALSE(ForcesOpposite(cols, 4, 5, 2, pattern, mask, tables));
    // On a side without a table no valid line contradicts the test: true without a scan.
    // Positions off the board are refused.
    std::vector<std::int32_t> six(36, 0);
    EXPECT_TRUE(ForcesOpposite(OrientedGrid(GridView{six.data(), 6}, Orientation::Rows), 0, 1, 0,
                                0, 0, tables));
    EXPECT_FALSE(ForcesOpposite(rows, 8, 5, 1, pattern, mask, tables));
    EXPECT_FALSE(ForcesOpposite(rows, 4, 5, 8, pattern, mask, tables));
}

// ---- Chained couples --------------------------------------------------------------------------

TEST(ChainedCouples, ThreeCouplesOnlyRecordAFiveCoupleChainForces)
{
    auto g = Board({"-1------", "--------", "--------", "--------", "--------", "--------",
                    "--------", "--------"});
    const GridView view{g.data(), 8};
    Deduction d;

    // (0,0) -col- (2,0) -row- (2,3) -col- (0,3): three couples, ends three apart: recorded
    // as a couple of row 0, nothing forced.
    CoupleTables t = EmptyCouples();
    t.ColPartner[0][0] = 2, t.ColPartner[2][0] = 0;
    t.RowPartner[2][0] = 3, t.RowPartner[2][3] = 0;
    t.ColPartner[2][3] = 0, t.ColPartner[0][3] = 2;
    EXPECT_FALSE(FindChainedForcing(view, t, d));
    EXPECT_EQ(t.RowPartner[0][0], 3);
    EXPECT_EQ(t.RowPartner[0][3], 0);
    EXPECT_EQ(t.RowCouples[0], 1);

    // (0,0) -col- (2,0) -row- (2,5) -col- (4,5) -row- (4,3) -col- (0,3): five couples ending
    // three after the start: (0,1) holds 1, so (0,2) takes 0.
    t = EmptyCouples();
    t.ColPartner[0][0] = 2, t.ColPartner[2][0] = 0;
    t.RowPartner[2][0] = 5, t.RowPartner[2][5] = 0;
    t.ColPartner[2][5] = 4, t.ColPartner[4][5] = 2;
    t.RowPartner[4][5] = 3, t.RowPartner[4][3] = 5;
    t.ColPartner[4][3] = 0, t.ColPartner[0][3] = 4;
    ASSERT_TRUE(FindChainedForcing(view, t, d));
    EXPECT_EQ(d.cells[0], 2);
    EXPECT_EQ(d.values[0], 0);
    EXPECT_EQ(d.thirdLine, 5);

    // With both in-between cells empty the chain only becomes a couple.
    g[1] = -1;
    t.RowPartner[0][0] = t.RowPartner[0][3] = -1;
    EXPECT_FALSE(FindChainedForcing(view, t, d));
    EXPECT_EQ(t.RowPartner[0][0], 3);
}

TEST(ChainedCouples, LeftoverCellTakesTheScarceValue)
{
    // Row 0: empty at 0, 2, 3 with (0,0)-(0,3) a couple; two 0s and three 1s placed.
    auto g = Board({"-1--0101", "--------", "--------", "--------", "--------", "--------",
                    "--------", "--------"});
    CoupleTables t = EmptyCouples();
    t.RowEmpty[0] = 3;
    t.RowPartner[0][0] = 3, t.RowPartner[0][3] = 0;
    t.RowCouples[0] = 1;
    Deduction d;
    ASSERT_TRUE(FindChainedLeftover(OrientedGrid(GridView{g.data(), 8}, Orientation::Rows), t, d));
    EXPECT_EQ(d.cells[0], 2);
    EXPECT_EQ(d.values[0], 0);
    // Three empty cells and no couple is no leftover line.
    t.RowCouples[0] = 0;
    EXPECT_FALSE(FindChainedLeftover(OrientedGrid(GridView{g.data(), 8}, Orientation::Rows), t, d));
}

} // namespace
