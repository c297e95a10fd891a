// Level-0 and level-1 techniques on hand-built boards: where each applies, in which order, and
// the label the solver shows while it tries them.
#include "solver/solver.h"
#include "support/solver_boards.h"

#include <gtest/gtest.h>

using namespace tl;
using tl::testboards::Board;

namespace {

const std::vector<std::string> kEmpty8(8, "--------");

// A board of side n with the given rows replaced (other rows empty).
std::vector<std::int32_t> withRows(int n, std::initializer_list<std::pair<int, std::string>> rows)
{
    std::vector<std::string> text(n, std::string(n, '-'));
    for (const auto &[r, row] : rows)
        text[r] = row;
    return Board(text);
}

std::vector<std::int32_t> transposed(const std::vector<std::int32_t> &g, int n)
{
    std::vector<std::int32_t> t(g.size());
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            t[c * n + r] = g[r * n + c];
    return t;
}

// The deduction as (cell, value) pairs, for comparison.
std::vector<std::pair<int, int>> cellsOf(const Deduction &d)
{
    std::vector<std::pair<int, int>> out;
    for (int k = 0; k < d.count; ++k)
        out.emplace_back(d.cells[k], d.values[k]);
    return out;
}

using Cells = std::vector<std::pair<int, int>>;

Cells rowFinder(bool (*f)(const OrientedGrid &, Deduction &), const std::vector<std::int32_t> &g, int n,
                Orientation o = Orientation::Rows)
{
    Deduction d;
    if (!f(OrientedGrid(GridView{g.data(), n}, o), d))
        return {};
    return cellsOf(d);
}

Cells lineCounting(const std::string &line, int row = 0)
{
    const int n = static_cast<int>(line.size());
    const auto g = withRows(n, {{row, line}});
    Deduction d;
    if (!ExamineLineByCounting(OrientedGrid(GridView{g.data(), n}, Orientation::Rows), row, d))
        return {};
    EXPECT_EQ(d.technique, Technique::UncoveredCells);
    EXPECT_EQ(d.line, row);
    return cellsOf(d);
}

struct StepFixture : ::testing::Test {
    RatingSolver solver{SharedLineTables()};

    // Runs one level-0 step (which hands on to level 1 at limit 1) on `grid`.
    bool step(const std::vector<std::int32_t> &grid, int n, int level = 1)
    {
        testboards::Load(solver, grid, n, level);
        solver.WorkGrid = grid;
        return solver.Solve_Step_Basic();
    }
    // The cells the last step changed against `before`.
    Cells changed(const std::vector<std::int32_t> &before) const
    {
        Cells out;
        for (std::size_t i = 0; i < before.size(); ++i)
            if (solver.WorkGrid[i] != before[i])
                out.emplace_back(static_cast<int>(i), solver.WorkGrid[i]);
        return out;
    }
};

} // namespace

// ---- Level 0 ----------------------------------------------------------------------------------

TEST(LevelZero, BorderingLooksRightThenLeftWithinTheLineOnly)
{
    // Empty cell in column 0 with two 1s to its right becomes 0.
    EXPECT_EQ(rowFinder(FindBordering, withRows(8, {{0, "-11-----"}}), 8), (Cells{{0, 0}}));
    // Right pair mixed and no left pair at column 0: that cell is not decided by Bordering.
    EXPECT_EQ(rowFinder(FindBordering, withRows(8, {{0, "-10-----"}}), 8), Cells{});
    // Column N-2 has no right pair: only its left pair decides it.
    EXPECT_EQ(rowFinder(FindBordering, withRows(8, {{0, "---100-1"}}), 8), (Cells{{6, 1}}));
    // Pairs never reach into the neighbouring rows: column 1 has no left pair, column N-2 no
    // right pair, whatever the previous row's end or the next row's start holds.
    const auto wrap = withRows(8, {{0, "-------1"}, {1, "1-01--0-"}, {2, "0-------"}});
    EXPECT_EQ(rowFinder(FindBordering, wrap, 8), Cells{});
}

TEST(LevelZero, ColumnFormsVisitCellsInRowMajorOrder)
{
    // Column 5 has 0 0 below row 3 and column 1 has 1 1 below row 5: (3,5) comes first in
    // CellIndex order even though column 1 is further left.
    const auto g = withRows(8, {{4, "-----0--"}, {5, "-----0--"}, {6, "-1------"}, {7, "-1------"}});
    EXPECT_EQ(rowFinder(FindBordering, g, 8, Orientation::Columns), (Cells{{3 * 8 + 5, 1}}));
    // Centering in a column: between 1 (row 0) and 1 (row 2).
    const auto c = withRows(8, {{0, "--1-----"}, {2, "--1-----"}});
    EXPECT_EQ(rowFinder(FindCentering, c, 8, Orientation::Columns), (Cells{{8 + 2, 0}}));
    EXPECT_EQ(rowFinder(FindCentering, c, 8, Orientation::Rows), Cells{});
}

TEST_F(StepFixture, ScansRunInTheirOrderOverTheWholeBoard)
{
    // Row Centering could decide cell 1; column Bordering decides cell (3,5) first.
    const auto g = withRows(8, {{0, "1-1-----"}, {4, "-----0--"}, {5, "-----0--"}});
    ASSERT_TRUE(step(g, 8));
    EXPECT_EQ(changed(g), (Cells{{3 * 8 + 5, 1}}));
    EXPECT_EQ(solver.TechniqueName, "Bordering and Centering");
    // With that column filled in, row Centering comes next.
    auto g2 = g;
    g2[3 * 8 + 5] = 1;
    g2[6 * 8 + 5] = 1;
    ASSERT_TRUE(step(g2, 8));
    EXPECT_EQ(changed(g2), (Cells{{1, 0}}));
}

TEST_F(StepFixture, OneKindLeftFillsTheFirstEmptyCellOfTheFirstFullLine)
{
    // Row 2 holds four zeros and no Bordering or Centering applies anywhere.
    const auto g = withRows(8, {{2, "0-1001-0"}});
    ASSERT_TRUE(step(g, 8, 0));
    EXPECT_EQ(changed(g), (Cells{{2 * 8 + 1, 1}}));
    EXPECT_EQ(solver.TechniqueName, "One kind left in row");
    // The remaining empty cell of that row follows on the next call.
    const auto next = solver.WorkGrid;
    ASSERT_TRUE(solver.Solve_Step_Basic());
    EXPECT_EQ(changed(next), (Cells{{2 * 8 + 6, 1}}));

    // The same as a column: ones complete, so the cells get 0.
    const auto t = transposed(withRows(8, {{2, "1-0110-1"}}), 8);
    ASSERT_TRUE(step(t, 8, 0));
    EXPECT_EQ(changed(t), (Cells{{1 * 8 + 2, 0}}));
    EXPECT_EQ(solver.TechniqueName, "One kind left in column");
}

TEST_F(StepFixture, LimitZeroStopsWithoutRaisingTheRate)
{
    // Three of each value in a row: not decided at level 0.
    const auto g = withRows(8, {{0, "0-10-101"}});
    EXPECT_FALSE(step(g, 8, 0));
    EXPECT_EQ(solver.Rate, 0);
    EXPECT_EQ(solver.WorkGrid, g);
    // With limit 1 the rate is raised before level 1 runs, even when level 1 finds nothing.
    EXPECT_FALSE(step(Board(kEmpty8), 8, 1));
    EXPECT_EQ(solver.Rate, 1);
    EXPECT_EQ(solver.TechniqueName, "Avoidable last of a kind");
    // A rate already above 1 is never lowered.
    testboards::Load(solver, Board(kEmpty8), 8, 1);
    solver.WorkGrid = Board(kEmpty8);
    solver.Rate = 3;
    EXPECT_FALSE(solver.Solve_Step_Basic());
    EXPECT_EQ(solver.Rate, 3);
}

// ---- Level 1: Uncovered cell(s), counting form -----------------------------------------------

TEST(UncoveredCounting, CandidateChoice)
{
    // The last cell, the second empty cell after a filled one, is the candidate; zeros are used
    // up with the covered pair, so it gets 1.
    EXPECT_EQ(lineCounting("0--100--"), (Cells{{7, 1}}));
    // 1 - - 1: the second of the two empty cells.
    EXPECT_EQ(lineCounting("1--10000"), (Cells{{2, 1}}));
    // A covered pair never supplies the candidate.
    EXPECT_EQ(lineCounting("0--11-00"), (Cells{{5, 1}}));
    // A single empty cell between two filled cells.
    EXPECT_EQ(lineCounting("10-1-000"), (Cells{{2, 1}}));
    // Ones used up gives 0.
    EXPECT_EQ(lineCounting("1--011--"), (Cells{{7, 0}}));
}

TEST(UncoveredCounting, LastOfAKindPasses)
{
    // One 0 and two 1s left: 1 - - - 1 gets 1 0 1 in one deduction.
    EXPECT_EQ(lineCounting("01---100"), (Cells{{2, 1}, {3, 0}, {4, 1}}));
    // Pass 3 only for boards of 10 and more.
    EXPECT_EQ(lineCounting("0-----00"), Cells{});
    EXPECT_EQ(lineCounting("0-----0010"), (Cells{{1, 1}, {2, 1}, {3, 0}, {4, 1}, {5, 1}}));
    // Pass 1 wins over pass 2 even when the pass-2 pattern ends earlier in the line.
    EXPECT_EQ(lineCounting("0----1---00000"), (Cells{{8, 1}}));
    // The same with the kinds exchanged.
    EXPECT_EQ(lineCounting("1----0---11111"), (Cells{{8, 0}}));
    // (start) - - - 1 with one 0 left: position 0 gets 1, the other two stay open.
    EXPECT_EQ(lineCounting("---10100"), (Cells{{0, 1}}));
}

TEST(UncoveredCounting, LinesThatYieldNothing)
{
    EXPECT_EQ(lineCounting("01-01-10"), Cells{}); // one of each left
    EXPECT_EQ(lineCounting("01001011"), Cells{}); // full
    EXPECT_EQ(lineCounting("--------"), Cells{}); // empty
}

TEST(UncoveredCounting, ColumnFormIsTheRowFormTransposed)
{
    const auto g = withRows(8, {{5, "01---100"}});
    const auto t = transposed(g, 8);
    Deduction d;
    ASSERT_TRUE(FindUncoveredByCounting(OrientedGrid(GridView{t.data(), 8}, Orientation::Columns), d));
    EXPECT_EQ(d.orientation, Orientation::Columns);
    EXPECT_EQ(d.line, 5);
    EXPECT_EQ(cellsOf(d), (Cells{{2 * 8 + 5, 1}, {3 * 8 + 5, 0}, {4 * 8 + 5, 1}}));
}

TEST_F(StepFixture, CountingRowsComeBeforeColumnsAndLowerRowsFirst)
{
    // Row 6 and column 7 both read 0 1 - - - 1 0 0; the column's cells come first in CellIndex
    // order, but rows are searched first.
    auto g = withRows(8, {{6, "01---100"}});
    const int col7[8] = {0, 1, -1, -1, -1, 1, 0, 0};
    for (int r = 0; r < 8; ++r)
        g[r * 8 + 7] = col7[r];
    ASSERT_TRUE(step(g, 8));
    EXPECT_EQ(solver.TechniqueName, "Last of a kind in row (uncovered cells)");
    EXPECT_EQ(changed(g), (Cells{{6 * 8 + 2, 1}, {6 * 8 + 3, 0}, {6 * 8 + 4, 1}}));
}

// ---- Level 1: Uncovered cell(s), valid-line form ---------------------------------------------

TEST_F(StepFixture, ValidLinesFillEveryAgreedCellOfTheFirstYieldingRow)
{
    const auto g = withRows(8, {{0, "----0100"}});
    ASSERT_TRUE(step(g, 8));
    EXPECT_EQ(changed(g), (Cells{{0, 1}, {3, 1}}));
    // No label of its own: the column label of the counting form stays.
    EXPECT_EQ(solver.TechniqueName, "Last of a kind in column (uncovered cells)");
}

TEST_F(StepFixture, ValidLinesTakeTheColumnWhoseFirstEmptyCellComesFirstRowByRow)
{
    // Column 3 reads 0 0 1 0 - - - - and column 5 reads - - - - 0 1 0 0: both yield, column 5
    // has an empty cell in row 0, column 3 none before row 4.
    std::vector<std::int32_t> g(64, -1);
    const int col3[4] = {0, 0, 1, 0}, col5[4] = {0, 1, 0, 0};
    for (int r = 0; r < 4; ++r) {
        g[r * 8 + 3] = col3[r];
        g[(r + 4) * 8 + 5] = col5[r];
    }
    ASSERT_TRUE(step(g, 8));
    EXPECT_EQ(changed(g), (Cells{{0 * 8 + 5, 1}, {3 * 8 + 5, 1}}));

    Deduction d;
    ASSERT_TRUE(ExamineLineByValidLines(OrientedGrid(GridView{g.data(), 8}, Orientation::Columns), 3,
                                        SharedLineTables(), d));
    EXPECT_EQ(cellsOf(d), (Cells{{4 * 8 + 3, 1}, {7 * 8 + 3, 1}}));
}

TEST(UncoveredValidLines, LinesThatYieldNothing)
{
    auto examine = [&](const std::string &row) {
        const auto g = withRows(8, {{0, row}});
        Deduction d;
        return ExamineLineByValidLines(OrientedGrid(GridView{g.data(), 8}, Orientation::Rows), 0,
                                       SharedLineTables(), d);
    };
    EXPECT_FALSE(examine("--------"));
    EXPECT_FALSE(examine("01001011"));
    EXPECT_FALSE(examine("0-1-----")); // fitting lines agree only on the filled cells
    // A line that no valid line fits (four zeros and a run of three ones) decides nothing.
    EXPECT_FALSE(examine("0000111-"));
    // The finder skips rows without empty cells and finds nothing on a board of another size.
    const auto g = withRows(8, {{0, "01001011"}});
    Deduction d;
    EXPECT_FALSE(FindUncoveredByValidLines(OrientedGrid(GridView{g.data(), 8}, Orientation::Rows),
                                           LineTables{}, d));
}

// ---- Level 1: Avoidable Duplicates -------------------------------------------------------------

TEST(AvoidableDuplicates, MissingZeroMatchedByAnotherLinesZeros)
{
    // Row 2: 0 at 0, 3, 6 and 1 at 1, 4; row 6: 0 at 0, 2, 3, 6. Cell (2,2) gets 1.
    const auto g = withRows(8, {{2, "01-01-0-"}, {6, "0-00--0-"}});
    Deduction d;
    ASSERT_TRUE(FindAvoidableDuplicates(OrientedGrid(GridView{g.data(), 8}, Orientation::Rows), d));
    EXPECT_EQ(cellsOf(d), (Cells{{2 * 8 + 2, 1}}));
    EXPECT_EQ(d.line, 2);
    EXPECT_EQ(d.otherLine, 6);
    EXPECT_EQ(d.technique, Technique::AvoidableDuplicates);
    // Row 6's zeros must include every zero of row 2.
    EXPECT_EQ(rowFinder(FindAvoidableDuplicates, withRows(8, {{2, "01-01-0-"}, {6, "0-0-0-0-"}}), 8),
              Cells{});
    // The same in columns.
    EXPECT_EQ(rowFinder(FindAvoidableDuplicates, transposed(g, 8), 8, Orientation::Columns),
              (Cells{{2 * 8 + 2, 1}}));
}

TEST(AvoidableDuplicates, ALineMissingAZeroAndAOneIsTriedOnlyForItsZeros)
{
    // Row 1 misses one 0 and one 1. Row 4's ones would decide (1,6) := 0, but only the zero
    // form is tried: row 5's zeros decide (1,7) := 1.
    const auto g = withRows(8, {{1, "010101--"}, {4, "-1-1-11-"}, {5, "0-0-0--0"}});
    EXPECT_EQ(rowFinder(FindAvoidableDuplicates, g, 8), (Cells{{1 * 8 + 7, 1}}));
    // Without row 5 the zero form finds nothing for row 1, and its one form is not tried.
    EXPECT_EQ(rowFinder(FindAvoidableDuplicates, withRows(8, {{1, "010101--"}, {4, "-1-1-11-"}}), 8),
              Cells{});
    // A line missing a single 1 uses the one form: row 7's ones decide (3,4) := 0.
    const auto o = withRows(8, {{3, "1-10-1-0"}, {7, "1-1-11--"}});
    EXPECT_EQ(rowFinder(FindAvoidableDuplicates, o, 8), (Cells{{3 * 8 + 4, 0}}));
    // When the other line's extra position is already filled in the line, no deduction.
    EXPECT_EQ(rowFinder(FindAvoidableDuplicates, withRows(8, {{2, "0110100-"}, {6, "0-00--0-"}}), 8),
              Cells{});
}
