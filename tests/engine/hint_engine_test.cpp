// The first links of the hint engine through a recording fake of the game window: which cells a
// request marks and in which colour, the explanation, the penalty and the sound of each block,
// the order of the blocks, the wrong-cell report, a paused game, and requests without a game.
#include "hints/hint_engine.h"
#include "hints/upper_links.h"
#include "support/hint_boards.h"
#include "support/make_test_stock.h"
#include "support/recording_hint_window.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

using namespace tl;
using tl::test::HintBoard;
using tl::test::HintBoardFromRows;
using tl::test::RecordingHintWindow;
using Call = RecordingHintWindow::Call;
namespace text = tl::hint_text;

namespace {

// The block that makes the deduction, in the order of the chain.
enum class Block {
    BorderingRow, BorderingCol, CenteringRow, CenteringCol, OneKindRow, OneKindCol,
    CountingRow, CountingCol, ValidLinesRow, ValidLinesCol, DuplicatesRow, DuplicatesCol,
};

Block ColumnTwin(Block b)
{
    return static_cast<Block>(static_cast<int>(b) ^ 1);
}

// What the message line is given, in order, when `b` makes the deduction, and its penalty.
std::pair<std::vector<std::string_view>, int> Expected(Block b)
{
    const std::vector<std::string_view> counting{text::kUncoveredRow, text::kUncoveredColumn};
    auto then = [&](std::initializer_list<std::string_view> more) {
        std::vector<std::string_view> v = counting;
        v.insert(v.end(), more);
        return v;
    };
    switch (b) {
    case Block::BorderingRow: return {{text::kBorderingRow}, 10};
    case Block::BorderingCol: return {{text::kBorderingColumn}, 10};
    case Block::CenteringRow: return {{text::kCenteringRow}, 10};
    case Block::CenteringCol: return {{text::kCenteringColumn}, 10};
    case Block::OneKindRow: return {{text::kOneKindLeftRow}, 10};
    case Block::OneKindCol: return {{text::kOneKindLeftColumn}, 10};
    case Block::CountingRow: return {{text::kUncoveredRow}, 20};
    case Block::CountingCol: return {counting, 20};
    case Block::ValidLinesRow: return {then({text::kUncoveredRow}), 20};
    case Block::ValidLinesCol: return {then({text::kUncoveredColumn}), 20};
    case Block::DuplicatesRow: return {then({text::kAvoidableDuplicatesRows}), 30};
    case Block::DuplicatesCol:
        return {then({text::kAvoidableDuplicatesRows, text::kAvoidableDuplicatesColumns}), 30};
    }
    return {};
}

struct HintCase {
    std::string name;
    std::vector<std::string> rows;
    Block block;
    std::vector<std::pair<int, int>> marks; // (row, column), in the order they are coloured
    bool transposes = true; // the transposed board gives the column twin, marks transposed
};

void PrintTo(const HintCase &c, std::ostream *os)
{
    *os << c.name;
}

std::vector<int> GridIndexes(const std::vector<std::pair<int, int>> &cells, bool transpose)
{
    std::vector<int> out;
    for (auto [r, c] : cells)
        out.push_back(transpose ? c * kMaxSide + r : r * kMaxSide + c);
    return out;
}

void ExpectHint(const HintBoard &board, Block block, const std::vector<int> &marks)
{
    RecordingHintWindow w;
    const HintOutcome outcome = Show_Hint(board.Puzzle(), SharedLineTables(), w);
    const auto [infos, penalty] = Expected(block);

    EXPECT_EQ(outcome.result, HintResult::Hinted);
    EXPECT_EQ(w.Coloured(kHintedCellColour), marks);
    EXPECT_EQ(w.colours.size(), marks.size()) << "only the solved cells are coloured";
    EXPECT_EQ(w.Infos(), std::vector<std::string>(infos.begin(), infos.end()));
    EXPECT_EQ(w.Penalties(), std::vector<int>{penalty});
    EXPECT_EQ(w.Sounds(), std::vector<int>{kHintSound});
    EXPECT_EQ(HintPenalty(outcome.technique), penalty);
    // The hit mechanics: marks, then (for a text written on the hit) the text, then the
    // penalty and the sound, and nothing after them.
    const std::vector<Call> calls = w.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], Call::Penalty);
    EXPECT_EQ(calls.back(), Call::Speel);
    const std::size_t firstMark = calls.size() - 2 - marks.size() -
                                  (calls[calls.size() - 3] == Call::Info ? 1 : 0);
    for (std::size_t k = firstMark; k < firstMark + marks.size(); ++k)
        EXPECT_EQ(calls[k], Call::Colour) << "call " << k;
    EXPECT_EQ(w.resumes, 0);
    EXPECT_TRUE(w.couplers.empty());
}

class HintBlocks : public ::testing::TestWithParam<HintCase> {};

TEST_P(HintBlocks, MarksTheSolvedCellsWithTheBlocksTextPenaltyAndSound)
{
    const HintCase &tc = GetParam();
    const HintBoard board = HintBoardFromRows(tc.rows);
    {
        SCOPED_TRACE("as written");
        ExpectHint(board, tc.block, GridIndexes(tc.marks, false));
    }
    if (tc.transposes) {
        SCOPED_TRACE("transposed");
        ExpectHint(test::Transposed(board), ColumnTwin(tc.block), GridIndexes(tc.marks, true));
    }
}

const std::string E = "--------"; // an empty row of 8
const std::string E10 = "----------";

// ---- Level 0 ---------------------------------------------------------------------------------
INSTANTIATE_TEST_SUITE_P(
    LevelZero, HintBlocks,
    ::testing::Values(
        HintCase{"BorderingRowAfterPair", {E, E, E, "-11-----", E, E, E, E}, Block::BorderingRow, {{3, 0}}},
        HintCase{"BorderingRowBeforePair", {E, E, E, E, "---00---", E, E, E}, Block::BorderingRow, {{4, 2}}},
        HintCase{"BorderingLastColumnFromTheLeft", {E, "----011-", E, E, E, E, E, E}, Block::BorderingRow, {{1, 7}}},
        // The pair ending row 0 does not reach the first cell of row 1.
        HintCase{"BorderingOnlyThroughNeighboursOfItsOwnRow",
                 {"-----100", E, E, "-11-----", E, E, E, E}, Block::BorderingRow, {{3, 0}}},
        HintCase{"CenteringRow", {E, E, "--1-1---", E, E, E, E, E}, Block::CenteringRow, {{2, 3}}},
        // The first cell of row 1 lies between the last cell of row 0 and its own neighbour.
        HintCase{"CenteringNeverAcrossTheRowsEnds", {"-------0", "-0------", E, E, E, "--1-1---", E, E},
                 Block::CenteringRow, {{5, 3}}},
        HintCase{"OneKindLeftRowByOnes", {E, E, E, E, E, "110110--", E, E}, Block::OneKindRow, {{5, 6}}},
        HintCase{"OneKindLeftRowByZeros", {E, E, "001-0--0", E, E, E, E, E}, Block::OneKindRow, {{2, 3}}},
        // Rows before columns: a row deduction at cell 40 wins over a column one at cell 5.
        HintCase{"BorderingRowBeatsEarlierColumn", {E, "-----0--", "-----0--", E, E, "-11-----", E, E},
                 Block::BorderingRow, {{5, 0}}, false},
        // Technique before cell: Bordering in a column wins over Centering in a row at cell 2.
        HintCase{"BorderingColumnBeatsEarlierCentering", {"-1-1----", E, E, E, E, E, "----0---", "----0---"},
                 Block::BorderingCol, {{5, 4}}, false},
        HintCase{"CenteringColumnBeatsOneKindLeftRow",
                 {"1-------", E, "1-------", E, "110110--", E, E, E}, Block::CenteringCol, {{1, 0}}, false}),
    [](const auto &info) { return info.param.name; });

// ---- Uncovered cell(s), counting form ------------------------------------------------------
INSTANTIATE_TEST_SUITE_P(
    UncoveredByCounting, HintBlocks,
    ::testing::Values(
        // 0 _ _ 1 0 1 0 _: zeros covered by the split pair; the last cell alone.
        HintCase{"ZerosCoveredLastCell", {E, E, E, "0--1010-", E, E, E, E}, Block::CountingRow, {{3, 7}}},
        // A row beginning with an empty cell records its first cell.
        HintCase{"ZerosCoveredFirstCell", {E, "-01--010", E, E, E, E, E, E}, Block::CountingRow, {{1, 0}}},
        // 1 _ _ 1 records its second empty cell.
        HintCase{"OnesCoveredSecondOfTwo", {E, E, E, E, E, E, "1--10--1", E}, Block::CountingRow, {{6, 2}}},
        // Three-gap kinds: p _ _ _ p all three; s _ _ _ p the first; p _ _ _ s the last; the
        // row's edge with p in column 3; p in column N - 4 to the edge.
        HintCase{"ThreeGapBetweenPlentiful", {E, E, "001---10", E, E, E, E, E}, Block::CountingRow,
                 {{2, 3}, {2, 4}, {2, 5}}},
        HintCase{"ThreeGapScarceToPlentiful", {E, E, "10---100", E, E, E, E, E}, Block::CountingRow, {{2, 2}}},
        HintCase{"ThreeGapPlentifulToScarce", {"1---0100", E, E, E, E, E, E, E}, Block::CountingRow, {{0, 3}}},
        HintCase{"ThreeGapFromTheEdge", {E, E, E, "---10010", E, E, E, E}, Block::CountingRow, {{3, 0}}},
        HintCase{"ThreeGapToTheEdge", {E, E, E, E, "01001---", E, E, E}, Block::CountingRow, {{4, 7}}},
        HintCase{"LastOneThreeGap", {E, E, E, E, E, E, E, "110---01"}, Block::CountingRow,
                 {{7, 3}, {7, 4}, {7, 5}}},
        // Four-gap kinds: s _ _ _ _ p and p _ _ _ _ s, all four.
        HintCase{"FourGapScarceToPlentiful", {E10, "0----10010", E10, E10, E10, E10, E10, E10, E10, E10},
                 Block::CountingRow, {{1, 1}, {1, 2}, {1, 3}, {1, 4}}},
        // Long-gap kinds (N = 10): p in column N - 5 and four empty cells to the edge, for
        // either scarce value.
        HintCase{"LongGapToTheEdgeScarceZero", {E10, E10, E10, "001001----", E10, E10, E10, E10, E10, E10},
                 Block::CountingRow, {{3, 6}, {3, 7}, {3, 8}, {3, 9}}},
        HintCase{"LongGapToTheEdgeScarceOne", {E10, E10, E10, E10, "110110----", E10, E10, E10, E10, E10},
                 Block::CountingRow, {{4, 6}, {4, 7}, {4, 8}, {4, 9}}},
        // Rows before columns, wherever the column lies.
        HintCase{"RowBeatsEarlierColumn",
                 {"0-------", E, E, "1-------", "0-------", "1-------", "0--1010-", E},
                 Block::CountingRow, {{6, 7}}, false}),
    [](const auto &info) { return info.param.name; });

// ---- Uncovered cell(s), valid-line form, and Avoidable Duplicates ----------------------------
INSTANTIATE_TEST_SUITE_P(
    ValidLinesAndDuplicates, HintBlocks,
    ::testing::Values(
        // Two uncovered cells of one row, one hint.
        HintCase{"ValidLinesTwoCells", {E, E, "----0100", E, E, E, E, E}, Block::ValidLinesRow, {{2, 0}, {2, 3}}},
        // Columns 2 and 5 both decide cells; column 5 has an empty cell in row 0, column 2
        // its first in row 3: column 5 is reported, and only its cells are marked.
        HintCase{"ValidLinesColumnMetFirstRowByRow",
                 {"--0-----", "--0-----", "--1-----", E, "--0--0--", "-----1--", "-----0--", "-----0--"},
                 Block::ValidLinesCol, {{0, 5}, {3, 5}}, false},
        // Row 2 holds zeros in columns 0, 3 and 6 and is empty in column 4; row 5 holds its
        // four zeros in columns 0, 3, 4 and 6.
        HintCase{"AvoidableDuplicates", {E, E, "0--0--0-", E, E, "01100101", E, E}, Block::DuplicatesRow,
                 {{2, 4}}}),
    [](const auto &info) { return info.param.name; });

// ---- The board check and the request's frame ---------------------------------------------------

struct Solved {
    std::vector<std::int32_t> solution;
    int n;
};

Solved ValidSolution(int n, std::uint64_t seed)
{
    const std::vector<int> b = test::MakeValidBoard(n, seed);
    return {std::vector<std::int32_t>(b.begin(), b.end()), n};
}

TEST(HintRequest, OnlyTheLowestWrongCellIsReportedAndNoTechniqueIsTried)
{
    const Solved s = ValidSolution(8, 7);
    std::vector<std::int32_t> grid(64, -1);
    for (int i = 0; i < 64; i += 3)
        grid[i] = s.solution[i];
    grid[12] = 1 - s.solution[12];
    grid[40] = 1 - s.solution[40];
    // With the two cells put right the board has a hint: the wrong cell is reported instead.
    std::vector<std::int32_t> right = grid;
    right[12] = s.solution[12];
    right[40] = s.solution[40];
    RecordingHintWindow check;
    ASSERT_EQ(Show_Hint(test::HintBoardFrom(right, s.solution, 8).Puzzle(), SharedLineTables(), check)
                  .result,
              HintResult::Hinted);

    RecordingHintWindow w;
    const HintOutcome o =
        Show_Hint(test::HintBoardFrom(grid, s.solution, 8).Puzzle(), SharedLineTables(), w);
    EXPECT_EQ(o.result, HintResult::WrongCell);
    EXPECT_EQ(w.Calls(), (std::vector<Call>{Call::Colour, Call::Info, Call::Speel}));
    EXPECT_EQ(w.Coloured(kWrongCellColour), std::vector<int>{1 * kMaxSide + 4});
    EXPECT_EQ(w.info, text::kWrongCell);
    EXPECT_EQ(w.Sounds(), std::vector<int>{kWrongCellSound});
    EXPECT_TRUE(w.Penalties().empty());
}

TEST(HintRequest, APausedGameIsResumedFirstWhateverTheRequestFinds)
{
    const Solved s = ValidSolution(8, 11);
    std::vector<std::int32_t> wrong = s.solution;
    wrong[0] = 1 - wrong[0];
    const std::vector<HintBoard> boards = {
        test::HintBoardFrom(wrong, s.solution, 8),                                   // wrong cell
        HintBoardFromRows({E, E, E, "-11-----", E, E, E, E}),                          // a hint
        HintBoardFromRows({E, E, E, E, E, E, E, E}),                                   // none
    };
    for (const HintBoard &b : boards) {
        RecordingHintWindow w;
        w.shield = true;
        Show_Hint(b.Puzzle(), SharedLineTables(), w);
        ASSERT_FALSE(w.events.empty());
        EXPECT_EQ(w.events.front().call, Call::Resume);
        EXPECT_EQ(w.resumes, 1);
        EXPECT_FALSE(w.shield);
    }
}

TEST(HintRequest, WithoutAGameInProgressNothingChanges)
{
    const HintBoard b = HintBoardFromRows({E, E, E, "-11-----", E, E, E, E});
    struct Case {
        const char *name;
        HintPuzzle puzzle;
    } cases[] = {
        {"no puzzle shown yet", HintPuzzle{b.board, b.solution, 8, 0, false}},
        {"finished", b.Puzzle(true)},
        {"size without a board", HintPuzzle{b.board, b.solution, 9, 80, false}},
        {"last cell not of the size", HintPuzzle{b.board, b.solution, 8, 99, false}},
    };
    for (const Case &c : cases) {
        RecordingHintWindow w;
        w.shield = true;
        EXPECT_EQ(Show_Hint(c.puzzle, SharedLineTables(), w), HintOutcome{}) << c.name;
        EXPECT_TRUE(w.events.empty()) << c.name;
        EXPECT_TRUE(w.shield) << c.name;
    }
}

TEST(HintRequest, NoTechniqueEndsTheChainWithoutPenalty)
{
    // An empty board: no technique applies anywhere. Every block that writes its text before
    // its search has written it; the end of the chain has the last word.
    for (int n : {8, 10, 12, 14}) {
        const HintBoard b = HintBoardFromRows(std::vector<std::string>(n, std::string(n, '-')));
        RecordingHintWindow w;
        const HintOutcome o = Show_Hint(b.Puzzle(), SharedLineTables(), w);
        EXPECT_EQ(o.result, HintResult::NoMoreHints);
        // Every search's text, in the order the searches ran, and the end of the chain last.
        namespace up = hint_text_upper;
        const std::vector<std::string_view> expected = {
            text::kUncoveredRow,        text::kUncoveredColumn,       text::kAvoidableDuplicatesRows,
            text::kAvoidableDuplicatesColumns,
            up::kForcingCellRows1,      up::kForcingCellColumns1,     up::kForcingCellRows2,
            up::kForcingCellColumns2,   up::kAlmostDuplicatesRows,    up::kAlmostDuplicatesColumns,
            up::kRectangleLeftoverRow,  up::kRectangleLeftoverColumn, up::kForcedRectangleRow,
            up::kForcedRectangleColumn, up::kRectangleForcingColumn,  up::kRectangleForcingRow,
            up::kSandwichRows,          up::kSandwichColumns,         up::kSandwichRows,
            up::kSandwichColumns,       up::kChainedLeftoverRow,      up::kChainedLeftoverColumn,
            text::kNoMoreHints};
        EXPECT_EQ(w.Infos(), std::vector<std::string>(expected.begin(), expected.end()));
        EXPECT_EQ(w.Sounds(), std::vector<int>{kNoMoreHintsSound});
        EXPECT_TRUE(w.Penalties().empty());
        EXPECT_TRUE(w.colours.empty());
        EXPECT_EQ(w.CouplerCount(), 0);
    }
}

TEST(HintRequest, TwoRequestsWithoutAMoveGiveTheSameHintTwice)
{
    const HintBoard b = HintBoardFromRows({E, E, "001---10", E, E, E, E, E});
    RecordingHintWindow once, twice;
    const HintOutcome first = Show_Hint(b.Puzzle(), SharedLineTables(), once);
    Show_Hint(b.Puzzle(), SharedLineTables(), twice);
    EXPECT_EQ(Show_Hint(b.Puzzle(), SharedLineTables(), twice), first);
    EXPECT_EQ(twice.Penalties(), (std::vector<int>{20, 20}));
    EXPECT_EQ(twice.Coloured(kHintedCellColour).size(), 2 * once.Coloured(kHintedCellColour).size());
    EXPECT_EQ(twice.info, once.info);
}

} // namespace
