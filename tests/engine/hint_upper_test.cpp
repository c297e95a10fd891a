// The upper links of the hint chain on crafted boards: for every technique and form, the request
// marks the one expected cell (forced in every completion of the board, by the independent
// counter), leaves its own explanation in the message line, charges 40 seconds, plays the hint
// sound, and leaves exactly the coupler lines it should, in drawing order. Then the line handling
// at the end of the chain.
#include "hints/upper_links.h"
#include "support/brute_force.h"
#include "support/hint_boards.h"
#include "support/recording_hint_window.h"
#include "support/solver_boards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace tl {
// Readable failure messages for coupler lines: cell to cell.
void PrintTo(const CouplerLine &l, std::ostream *os)
{
    *os << "(" << (l.y1 - 1500) / 360 << "," << (l.x1 - 1500) / 360 << ")-(" << (l.y2 - 1500) / 360
        << "," << (l.x2 - 1500) / 360 << ")";
}
} // namespace tl

using namespace tl;
using tl::test::RecordingHintWindow;
using Call = RecordingHintWindow::Call;
namespace txt = tl::hint_text_upper;

namespace {

// A board given as text rows, with a completion of it as the puzzle's solution.
struct CraftedPuzzle {
    int n = 0;
    std::vector<std::int32_t> cells;
    long completions = 0;
    test::HintBoard board;

    explicit CraftedPuzzle(const std::vector<std::string> &rows)
        : n(static_cast<int>(rows.size())), cells(testboards::Board(rows))
    {
        const brute::Completions c = brute::Analyse(n, cells, 1);
        completions = c.count;
        std::vector<std::int32_t> solution(cells.size(), 0);
        for (std::size_t i = 0; i < solution.size() && !c.seen.empty(); ++i)
            solution[i] = c.seen[i] == 2 ? 1 : 0;
        board = test::HintBoardFrom(cells, solution, n);
    }
    HintPuzzle puzzle() const { return board.Puzzle(); }
    int solution(int cell) const { return board.solution[cell]; }
};

CouplerLine Between(int row1, int col1, int row2, int col2)
{
    return CouplerLine{1500 + 360 * col1, 1500 + 360 * row1, 1500 + 360 * col2, 1500 + 360 * row2};
}

bool IsRowLine(const CouplerLine &l) { return l.y1 == l.y2; }

// Lines in the order the hint draws couples: row couples by row, then column; column couples by
// column, then row; each from its smaller end.
std::vector<CouplerLine> InDrawingOrder(std::vector<CouplerLine> lines)
{
    std::sort(lines.begin(), lines.end(), [](const CouplerLine &a, const CouplerLine &b) {
        const auto key = [](const CouplerLine &l) {
            return IsRowLine(l) ? std::tuple(0, l.y1, l.x1) : std::tuple(1, l.x1, l.y1);
        };
        return key(a) < key(b);
    });
    return lines;
}

// The couples of the board found independently of the engine: in each line, each empty cell is
// paired with the first later free empty cell that every fitting valid line gives the other value.
std::vector<CouplerLine> FoundCouples(const std::vector<std::int32_t> &g, int n)
{
    std::vector<CouplerLine> lines;
    for (int columns = 0; columns < 2; ++columns) {
        for (int l = 0; l < n; ++l) {
            auto at = [&](int p) { return columns ? p * n + l : l * n + p; };
            std::vector<std::int32_t> line(n);
            for (int p = 0; p < n; ++p)
                line[p] = g[at(p)];
            const auto fitting = brute::LinesFitting(n, line);
            std::vector<bool> paired(n, false);
            for (int a = 0; a < n; ++a) {
                for (int b = a + 1; b < n && line[a] == -1 && !paired[a]; ++b) {
                    if (line[b] != -1 || paired[b])
                        continue;
                    const bool opposite = std::all_of(fitting.begin(), fitting.end(), [&](auto e) {
                        return ((e >> a) & 1) != ((e >> b) & 1);
                    });
                    if (opposite) {
                        paired[a] = paired[b] = true;
                        lines.push_back(columns ? Between(a, l, b, l) : Between(l, a, l, b));
                    }
                }
            }
        }
    }
    return InDrawingOrder(lines);
}

// True when the two cells joined by a line hold opposite values in every completion.
bool AlwaysOpposite(const std::vector<std::int32_t> &g, int n, const CouplerLine &l)
{
    const int a = ((l.y1 - 1500) / 360) * n + (l.x1 - 1500) / 360;
    const int b = ((l.y2 - 1500) / 360) * n + (l.x2 - 1500) / 360;
    for (int v = 0; v < 2; ++v) {
        std::vector<std::int32_t> same = g;
        same[a] = same[b] = v;
        if (brute::CountCompletions(n, same, 1) != 0)
            return false;
    }
    return true;
}

int CountOf(const std::vector<std::string> &texts, std::string_view text)
{
    return static_cast<int>(std::count(texts.begin(), texts.end(), std::string(text)));
}

struct HintStepCase {
    std::string name;
    std::vector<std::string> rows;
    Technique technique;
    std::string_view text;
    int row, col;                       // the marked cell
    std::vector<CouplerLine> proved;    // forced rectangle: the two couples it draws on its hit
    int derived = 0;                    // chained leftover: couples derived by chains
    int sandwichTexts = 0;              // Avoidable Sandwich: texts written up to the hit (1..4)
};

void PrintTo(const HintStepCase &c, std::ostream *os) { *os << c.name; }

class HintStep : public ::testing::TestWithParam<HintStepCase> {};

TEST_P(HintStep, MarksOneForcedCellExplainsChargesAndLeavesItsLines)
{
    const HintStepCase &tc = GetParam();
    const CraftedPuzzle p(tc.rows);
    ASSERT_GE(p.completions, 1) << "the crafted board has no completion";
    const int n = p.n;

    RecordingHintWindow w;
    const HintOutcome o = Show_Hint(p.puzzle(), SharedLineTables(), w);
    ASSERT_EQ(o.result, HintResult::Hinted) << w.info;
    EXPECT_EQ(o.technique, tc.technique);
    EXPECT_EQ(w.info, tc.text);
    EXPECT_EQ(w.Coloured(kHintedCellColour), std::vector<int>{tc.row * kMaxSide + tc.col});
    EXPECT_TRUE(brute::ValueForced(n, p.cells, tc.row * n + tc.col, p.solution(tc.row * n + tc.col)));
    EXPECT_EQ(w.Penalties(), std::vector<int>{40});
    EXPECT_EQ(w.Sounds(), std::vector<int>{kHintSound});

    // After the last text: the proved couples' lines, the mark, the penalty, the sound.
    const std::vector<Call> calls = w.Calls();
    const auto lastInfo = std::find(calls.rbegin(), calls.rend(), Call::Info).base() - 1;
    std::vector<Call> tail(lastInfo + 1, calls.end());
    std::vector<Call> expectedTail(tc.proved.size(), Call::AddCoupler);
    expectedTail.insert(expectedTail.end(), {Call::Colour, Call::Penalty, Call::Speel});
    EXPECT_EQ(tail, expectedTail);

    const int level = TechniqueLevel(tc.technique);
    const std::vector<CouplerLine> found = FoundCouples(p.cells, n);
    const long unloads = std::count(calls.begin(), calls.end(), Call::UnloadCouplers);
    if (level == 2) {
        EXPECT_TRUE(w.couplers.empty());
        EXPECT_EQ(std::count(calls.begin(), calls.end(), Call::AddCoupler), 0);
    } else if (tc.technique == Technique::ChainedCouplesForcingCell) {
        // The rectangles' lines came and went; the chain step's first drawing stays, without
        // the couples that chains derived. Its text is written only at the hit.
        EXPECT_EQ(unloads, 1);
        EXPECT_EQ(w.couplers, found);
        const auto infos = w.Infos();
        EXPECT_EQ(infos[infos.size() - 2], txt::kSandwichColumns);
    } else if (tc.technique == Technique::ChainedCouplesLeftoverCell) {
        // The redraw: found and derived couples alike, in drawing order; each derived couple is
        // two cells that hold opposite values in every completion.
        EXPECT_EQ(unloads, 2);
        std::vector<CouplerLine> derived;
        for (const CouplerLine &l : w.couplers)
            if (std::find(found.begin(), found.end(), l) == found.end())
                derived.push_back(l);
        EXPECT_EQ(static_cast<int>(derived.size()), tc.derived);
        for (const CouplerLine &l : derived)
            EXPECT_TRUE(AlwaysOpposite(p.cells, n, l));
        std::vector<CouplerLine> all = found;
        all.insert(all.end(), derived.begin(), derived.end());
        EXPECT_EQ(w.couplers, InDrawingOrder(all));
    } else {
        // Hint_Rectangles: every couple drawn before the first search, plus what a forced
        // rectangle proves, in its order (the examined line first).
        EXPECT_EQ(unloads, 0);
        std::vector<CouplerLine> expected = found;
        expected.insert(expected.end(), tc.proved.begin(), tc.proved.end());
        EXPECT_EQ(w.couplers, expected);
        for (const CouplerLine &l : tc.proved)
            EXPECT_TRUE(AlwaysOpposite(p.cells, n, l));
    }
    if (tc.sandwichTexts > 0) {
        const auto infos = w.Infos();
        EXPECT_EQ(CountOf(infos, txt::kSandwichRows) + CountOf(infos, txt::kSandwichColumns),
                  tc.sandwichTexts);
    }
}

using T = Technique;

INSTANTIATE_TEST_SUITE_P(
    Boards, HintStep,
    ::testing::Values(
        // The forcing cell's first form: its wording written out (it ends in three dots, the
        // second form's in one).
        HintStepCase{"ForcingCellRows",
                     {"--1-0101", "--1-0-10", "10011010", "01001101", "10110010", "0110-1-0",
                      "-10010-1", "1001--01"},
                     T::AvoidableDuplicatesForcingCell,
                     "Avoidable Duplicates with Forcing Cell: The marked cell in this row must "
                     "have a certain value to avoid duplicate rows...",
                     1, 5, {}, 0, 0},
        HintStepCase{"ForcingCellColumns",
                     {"--1010-1", "--010110", "11001100", "--101001", "00110-1-", "1-01010-",
                      "01101--0", "10010011"},
                     T::AvoidableDuplicatesForcingCell,
                     "Avoidable Duplicates with Forcing Cell: The marked cell in this column must "
                     "have a certain value to avoid duplicate columns...",
                     5, 1, {}, 0, 0},
        HintStepCase{"AlmostDuplicatesRows",
                     {"10--1001", "10010101", "01--0110", "10--1010", "01--1001", "01--0110",
                      "10010110", "01--1001"},
                     T::AlmostDuplicatesForcingCell, txt::kAlmostDuplicatesRows, 5, 2, {}, 0, 0},
        HintStepCase{"AlmostDuplicatesColumns",
                     {"11010010", "00101101", "-0----0-", "-1----1-", "10011001", "01100110",
                      "00110110", "11001001"},
                     T::AlmostDuplicatesForcingCell, txt::kAlmostDuplicatesColumns, 2, 5, {}, 0, 0},
        HintStepCase{"RectangleLeftoverRow",
                     {"-0--0110", "101--010", "010--101", "01100101", "10011010", "01101001",
                      "11010100", "-0---011"},
                     T::RectangleLeftoverCell, txt::kRectangleLeftoverRow, 0, 3, {}, 0, 0},
        HintStepCase{"RectangleLeftoverColumn",
                     {"-100101-", "00110110", "-101010-", "---0101-", "0--0110-", "10110010",
                      "11001001", "00110101"},
                     T::RectangleLeftoverCell, txt::kRectangleLeftoverColumn, 3, 0, {}, 0, 0},
        // The last line the technique examines, N - 4; the pair is (e1, e3), the leftover e2.
        HintStepCase{"RectangleLeftoverInRowNMinus4",
                     {"0--01011", "-0--0-1-", "-10-1-0-", "10110100", "--10101-",
                      "-101010-", "00110110", "11001001"},
                     T::RectangleLeftoverCell, txt::kRectangleLeftoverRow, 4, 1, {}, 0, 0},
        HintStepCase{"RectangleLeftoverInColumnNMinus4",
                     {"0--1--01", "-010-101", "--011010", "0--10110", "10101001",
                      "0--10110", "11001010", "1--0--01"},
                     T::RectangleLeftoverCell, txt::kRectangleLeftoverColumn, 1, 4, {}, 0, 0},
        HintStepCase{"ForcedRectangleRow",
                     {"11010010", "10101--0", "00101101", "01010--1", "1001--10", "1010--0-",
                      "01--101-", "01--0101"},
                     T::ForcedRectangleLeftoverCell, txt::kForcedRectangleRow, 6, 7,
                     {Between(6, 2, 6, 3), Between(7, 2, 7, 3)}, 0, 0},
        HintStepCase{"ForcedRectangleColumn",
                     {"11001100", "10010011", "011001--", "100110--", "0110--10", "0-1---01",
                      "1-0-1010", "00110--1"},
                     T::ForcedRectangleLeftoverCell, txt::kForcedRectangleColumn, 7, 6,
                     {Between(2, 6, 3, 6), Between(2, 7, 3, 7)}, 0, 0},
        HintStepCase{"RectangleForcingCellInAColumn",
                     {"-011010-10", "0100101101", "--10110010", "-011001-01", "-10-101100",
                      "0-1-010011", "1001101100", "0100110101", "1010010011", "1101001010"},
                     T::RectangleForcingCell, txt::kRectangleForcingColumn, 2, 0, {}, 0, 0},
        HintStepCase{"RectangleForcingCellInARow",
                     {"-0---01011", "01-01-0101", "1011010010", "1001--1001", "0110101100",
                      "1010010110", "0101101001", "-10-101100", "1010010011", "0101010110"},
                     T::RectangleForcingCell, txt::kRectangleForcingRow, 0, 2, {}, 0, 0},
        HintStepCase{"SandwichFirstSearchRows",
                     {"-010110-", "01010110", "10011001", "101010--", "01--01--", "----1001",
                      "1-01001-", "01100110"},
                     T::AvoidableSandwich, txt::kSandwichRows, 4, 7, {}, 0, 1},
        HintStepCase{"SandwichFirstSearchColumns",
                     {"0-10110-", "01100101", "10011010", "0-1---01", "1-0---10", "0---0110",
                      "1---1001", "1-01001-"},
                     T::AvoidableSandwich, txt::kSandwichColumns, 3, 3, {}, 0, 2},
        HintStepCase{"SandwichSecondSearchRows",
                     {"00110110", "00101101", "110--010", "00110101", "110--010", "010--1--",
                      "10101001", "110--0--"},
                     T::AvoidableSandwich, txt::kSandwichRows, 7, 6, {}, 0, 3},
        HintStepCase{"SandwichSecondSearchColumns",
                     {"00101011", "00101101", "11010010", "10-1--0-", "01-0--1-", "11010100",
                      "10101-0-", "01010-1-"},
                     T::AvoidableSandwich, txt::kSandwichColumns, 6, 7, {}, 0, 4},
        HintStepCase{"ChainedForcingCellInARow",
                     {"1010100101", "10-1-01001", "0101011010", "1010100110", "0101--1001",
                      "1010011010", "01--1-010-", "110-10010-", "0010011011", "0101010110"},
                     T::ChainedCouplesForcingCell, txt::kChainedForcingRow, 6, 3, {}, 0, 0},
        HintStepCase{"ChainedForcingCellInAColumn",
                     {"1101010100", "0010101101", "1-0101-010", "011010--01", "1-01-01100",
                      "0010-1-011", "0110110010", "1001001101", "0011010011", "110010--10"},
                     T::ChainedCouplesForcingCell, txt::kChainedForcingColumn, 3, 6, {}, 0, 0},
        HintStepCase{"ChainedLeftoverRow",
                     {"10010110", "001-----", "011010--", "10010101", "-1-----0", "--------",
                      "1---1-0-", "01-0--1-"},
                     T::ChainedCouplesLeftoverCell, txt::kChainedLeftoverRow, 1, 5, {}, 1, 0},
        HintStepCase{"ChainedLeftoverColumn",
                     {"10-1--0-", "01101100", "010--011", "101-0-10", "1-01--0-", "01-0--01",
                      "101-0-10", "0----011"},
                     T::ChainedCouplesLeftoverCell, txt::kChainedLeftoverColumn, 5, 2, {}, 1, 0}),
    [](const auto &info) { return info.param.name; });

// ---- Where the hint's searches differ from the rating solver's ---------------------------------

TEST(HintRectangles, LeavesTheLastThreeLinesToTheLaterTechniques)
{
    // Rows 4 and 5 hold a rectangle of couples in columns 0 and 1, and row 5 has three empty
    // cells: the rating solver solves (5, 7) as a rectangle with a leftover cell, but the hint
    // examines only rows 0 to N - 4 for that technique and finds the cell as a forced rectangle.
    // The transposed board asks the same of the columns.
    const CraftedPuzzle p({"-0---0-1", "1-0-1---", "--1---1-", "0110--0-", "--0--011", "--01010-",
                           "101--10-", "-1--101-"});
    ASSERT_EQ(p.completions, 1);
    const int n = p.n;
    for (const bool transposed : {false, true}) {
        const test::HintBoard b = transposed ? test::Transposed(p.board) : p.board;
        const int row = transposed ? 7 : 5, col = transposed ? 5 : 7;
        std::vector<std::int32_t> cells(b.board.begin(), b.board.begin() + n * n);
        const GridView view{cells.data(), n};
        CoupleTables t;
        BuildCouples(view, SharedLineTables(), t);
        Deduction d;
        const OrientedGrid examined(view, transposed ? Orientation::Columns : Orientation::Rows);
        ASSERT_TRUE(FindRectangleLeftover(examined, t, n - 1, d));
        EXPECT_EQ(d.cells[0], row * n + col);

        RecordingHintWindow w;
        const HintOutcome o = Show_Hint(b.Puzzle(), SharedLineTables(), w);
        EXPECT_EQ(o.technique, Technique::ForcedRectangleLeftoverCell);
        EXPECT_EQ(w.info, transposed ? txt::kForcedRectangleColumn : txt::kForcedRectangleRow);
        EXPECT_EQ(w.Coloured(kHintedCellColour), std::vector<int>{row * kMaxSide + col});
    }
}

TEST(HintForcesOpposite, RowAndColumnTestsReadTheirOwnReferenceCell)
{
    // Line under test: 0 1 1 0 - - - -. With a 0 at position 4 position 5 is always 1; with a 1
    // there it is not always 0. The row test reads row 1, column 4 (a 0); the column test with
    // the same arguments reads row 4, column 1 (a 1); an empty reference cell counts as 1.
    const std::int32_t pattern = 1 | (2 << 2) | (2 << 4) | (1 << 6), mask = 0xFF;
    const test::HintBoard b = test::HintBoardFromRows(
        {"--------", "----0---", "--------", "--------", "-1------", "--------", "--------",
         "--------"});
    RecordingHintWindow w;
    HintContext ctx(b.Puzzle(), SharedLineTables(), w);
    ctx.HintGrid.assign(b.board.begin(), b.board.begin() + 64);
    EXPECT_TRUE(Row_Forces_Opposite(ctx, 4, 5, 1, pattern, mask));
    EXPECT_FALSE(Col_Forces_Opposite(ctx, 4, 5, 1, pattern, mask));
    EXPECT_FALSE(Row_Forces_Opposite(ctx, 4, 5, 2, pattern, mask));
    EXPECT_TRUE(w.events.empty());
}

// ---- The end of the chain ----------------------------------------------------------------------

TEST(HintChainEnd, DrawsAndRemovesTheCouplesLinesThenEndsWithoutPenalty)
{
    // Row 0 holds one couple, (0,1) with (0,4); nothing on the board can be solved. (The order
    // of the searches is checked on empty boards with the first links.)
    const CraftedPuzzle p({"0-10-101", "--------", "--------", "--------", "--------", "--------",
                           "--------", "--------"});
    ASSERT_GE(p.completions, 1);
    RecordingHintWindow w;
    const HintOutcome o = Show_Hint(p.puzzle(), SharedLineTables(), w);
    ASSERT_EQ(o.result, HintResult::NoMoreHints) << w.info;

    // The couple is drawn by the rectangles, removed at their hand-over, drawn by the chain
    // step, removed and drawn again for the leftover search, and removed at the end.
    std::vector<Call> lineCalls;
    for (const auto &e : w.events) {
        if (e.call == Call::AddCoupler) {
            lineCalls.push_back(e.call);
            EXPECT_EQ(e.line, Between(0, 1, 0, 4));
        } else if (e.call == Call::UnloadCouplers) {
            lineCalls.push_back(e.call);
        }
    }
    EXPECT_EQ(lineCalls, (std::vector<Call>{Call::AddCoupler, Call::UnloadCouplers, Call::AddCoupler,
                                            Call::UnloadCouplers, Call::AddCoupler,
                                            Call::UnloadCouplers}));
    EXPECT_TRUE(w.couplers.empty());
    EXPECT_TRUE(w.Penalties().empty());
    EXPECT_EQ(w.Sounds(), std::vector<int>{kNoMoreHintsSound});
    EXPECT_TRUE(w.Coloured(kHintedCellColour).empty());
    const std::vector<Call> calls = w.Calls();
    EXPECT_EQ(std::vector<Call>(calls.end() - 3, calls.end()),
              (std::vector<Call>{Call::UnloadCouplers, Call::Speel, Call::Info}));
}

TEST(HintForcingCells, SecondFormMarksAgainstAnUnbalancedCompleteLine)
{
    // Only a complete line with unequal counts lets the second form find what the first does
    // not, and such a line has no completion, so this board is given to the link directly.
    const std::vector<std::string> rows = {"00--11--", "00011111", "--------", "--------",
                                           "--------", "--------", "--------", "--------"};
    // The transposed board asks the same of the columns. The explanation is written out: the
    // second form's ends in one dot, the first form's in three.
    const CraftedPuzzle p(rows);
    for (const bool transposed : {false, true}) {
        SCOPED_TRACE(transposed ? "columns" : "rows");
        const test::HintBoard b = transposed ? test::Transposed(p.board) : p.board;
        RecordingHintWindow w;
        HintContext ctx(b.Puzzle(), SharedLineTables(), w);
        ctx.HintGrid.assign(b.board.begin(), b.board.begin() + 64);
        Hint_Forcing_Cells(ctx);
        EXPECT_EQ(ctx.Outcome().technique, Technique::AvoidableDuplicatesForcingCell);
        EXPECT_EQ(w.info, transposed ? "Avoidable Duplicates with Forcing Cell: The marked cell in "
                                       "this column must have a certain value to avoid duplicate "
                                       "columns."
                                     : "Avoidable Duplicates with Forcing Cell: The marked cell in "
                                       "this row must have a certain value to avoid duplicate "
                                       "rows.");
        EXPECT_EQ(w.Coloured(kHintedCellColour), std::vector<int>{transposed ? 2 * kMaxSide : 2});
        EXPECT_EQ(w.Penalties(), std::vector<int>{40});
    }
}

} // namespace
