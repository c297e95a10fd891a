// The printed page: the frame worked out from the paper, and the exact place, font and text of
// the title line, the puzzle and solution grids, their digits, the captions and the page
// numbers for one, two and four puzzles per page, recorded through the page interface.
#include "game/puzzle_stock.h"
#include "platform/fake/page_recorder.h"
#include "printing/print_run.h"
#include "support/make_test_stock.h"

#include <gtest/gtest.h>

#include <ostream>
#include <cmath>
#include <string>
#include <vector>

using namespace tl;

namespace {

// A4 as 595 x 842 points: 11900 x 16840 twips.
constexpr int kTop = 1417, kLeft = 1417, kRight = 10483, kBottom = 15423, kCm = 566;
const char *const kLevelNames[4] = {"Easy", "Medium", "Hard", "Insane"};

const Puzzles &TestPuzzles()
{
    static const Puzzles puzzles = [] {
        Puzzles p;
        p.records() = test::MakeTestStock(false);
        return p;
    }();
    return puzzles;
}

const PageGeometry &A4()
{
    static const PageGeometry g = *Page_Geometry(11900, 16840);
    return g;
}

std::vector<PageOp> Of(const std::vector<PageOp> &ops, PageOp::Kind kind)
{
    std::vector<PageOp> result;
    for (const PageOp &op : ops)
        if (op.kind == kind)
            result.push_back(op);
    return result;
}

PageRecorder Print(const PrintChoices &choices)
{
    PageRecorder recorder;
    PrintRun run(choices, A4(), TestPuzzles(), recorder);
    run.Print_All();
    return recorder;
}

TEST(PageGeometry, A4GivesTwentyFiveMillimetreMargins)
{
    const PageGeometry &g = A4();
    EXPECT_NEAR(g.MmUnit, 56.6833, 1e-3);
    EXPECT_EQ(g.Cm, kCm);
    EXPECT_EQ(g.Margin, 1417);
    EXPECT_EQ(g.PageTop, kTop);
    EXPECT_EQ(g.PageLeft, kLeft);
    EXPECT_EQ(g.PrintWidth, 9066);
    EXPECT_EQ(g.PrintHeight, 14006);
    EXPECT_EQ(g.PageBottom, kBottom);
    EXPECT_EQ(g.PageRight, kRight);
    // A paper whose frame does not fit the layout's 16-bit fields is refused, as is none.
    EXPECT_FALSE(Page_Geometry(40000, 60000).has_value());
    EXPECT_FALSE(Page_Geometry(0, 16840).has_value());
}

struct Grid {
    int left, top, side;
};

struct LayoutCase {
    std::string name;
    int level, perPage, sizeIndex;
    bool withSolutions;
    std::vector<Grid> puzzles, solutions; // by slot
    int givenPoints, solutionPoints, captionPoints;
};

void PrintTo(const LayoutCase &c, std::ostream *os) { *os << c.name; }


class PageLayout : public ::testing::TestWithParam<LayoutCase> {};

// One page from puzzle 7 of the level: every grid at its place with its lines and digits, the
// captions under the grids' right edges, the title line and the page number.
TEST_P(PageLayout, PlacesEveryGridDigitAndText)
{
    const LayoutCase &c = GetParam();
    PrintChoices choices;
    choices.PerPage = c.perPage;
    choices.SizeChoice = c.sizeIndex;
    choices.WithSolutions = c.withSolutions;
    choices.LevelChoice = c.level;
    choices.FirstNumber = 7;
    const PageRecorder rec = Print(choices);
    ASSERT_EQ(rec.sheets(), 1);
    ASSERT_EQ(rec.ops.back().kind, PageOp::EndDoc);
    const std::vector<PageOp> page = rec.page(0);
    const int n = (c.sizeIndex + 4) * 2;

    // Title line: the name on the top margin at the left, the run's level flush right.
    const std::vector<PageOp> texts = Of(page, PageOp::Text);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "Dornel's Tilloran");
    EXPECT_EQ(texts[0].x1, kLeft);
    EXPECT_EQ(texts[0].y1, kTop);
    const std::string levelName = kLevelNames[c.level];
    EXPECT_EQ(texts[1].text, levelName);
    EXPECT_EQ(texts[1].x1, kRight - 180.0 * levelName.size());
    EXPECT_EQ(texts[1].y1, kTop);
    for (int i : {0, 1}) {
        EXPECT_EQ(texts[i].face, "Arial");
        EXPECT_EQ(texts[i].points, 18);
        EXPECT_FALSE(texts[i].bold);
    }
    // Page number: its bottom-right corner on the margin frame's.
    const PageOp &pageNumber = texts.back();
    EXPECT_EQ(pageNumber.text, "Page 1");
    EXPECT_EQ(pageNumber.x1, kRight - 6 * 180);
    EXPECT_EQ(pageNumber.y1, kBottom - 18 * 23);
    EXPECT_EQ(pageNumber.face, "Arial");
    EXPECT_EQ(pageNumber.points, 18);

    // Grids in drawing order: each puzzle, then its solution.
    std::vector<Grid> expected;
    for (int slot = 0; slot < c.perPage; ++slot) {
        expected.push_back(c.puzzles[slot]);
        if (c.withSolutions)
            expected.push_back(c.solutions[slot]);
    }
    const std::vector<PageOp> boxes = Of(page, PageOp::Box);
    ASSERT_EQ(boxes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Grid &g = expected[i];
        EXPECT_EQ(boxes[i].x1, g.left) << "grid " << i;
        EXPECT_EQ(boxes[i].y1, g.top) << "grid " << i;
        EXPECT_EQ(boxes[i].x2, g.left + g.side) << "grid " << i;
        EXPECT_EQ(boxes[i].y2, g.top + g.side) << "grid " << i;
        EXPECT_EQ(boxes[i].drawWidth, 8);
    }

    // Lines: N - 1 across and N - 1 down per grid, at whole twips from the first edge.
    const std::vector<PageOp> lines = Of(page, PageOp::Line);
    ASSERT_EQ(lines.size(), expected.size() * 2 * (n - 1));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Grid &g = expected[i];
        const PageOp &lastAcross = lines[(i + 1) * 2 * (n - 1) - 2];
        const PageOp &lastDown = lines[(i + 1) * 2 * (n - 1) - 1];
        const int offset = static_cast<int>(std::floor((n - 1) * (static_cast<float>(g.side) / n)));
        EXPECT_EQ(lastAcross.y1, g.top + offset);
        EXPECT_EQ(lastAcross.x1, g.left);
        EXPECT_EQ(lastAcross.x2, g.left + g.side);
        EXPECT_EQ(lastDown.x1, g.left + offset);
        EXPECT_EQ(lastDown.y2, g.top + g.side);
    }

    // Digits and captions, slot by slot.
    std::size_t t = 2;
    for (int slot = 0; slot < c.perPage; ++slot) {
        const int number = 7 + slot;
        const PuzzleRecord &record = TestPuzzles().at(c.level, c.sizeIndex, number);
        auto checkDigits = [&](const Grid &g, bool solution, int points) {
            const float cell = static_cast<float>(g.side) / n;
            const int dx = static_cast<int>(std::floor((cell - 10 * points) / 2));
            const int dy = static_cast<int>(std::floor((cell - 23 * points) / 2));
            for (int k = 0; k < n * n; ++k) {
                const int v = solution ? record.SolutionCells[k] : record.StartCells[k];
                if (v == -1)
                    continue;
                ASSERT_LT(t, texts.size());
                const PageOp &d = texts[t++];
                EXPECT_EQ(d.text, v == 0 ? "0" : "1");
                EXPECT_EQ(d.x1, g.left + static_cast<int>(std::floor(k % n * cell)) + dx);
                EXPECT_EQ(d.y1, g.top + static_cast<int>(std::floor(k / n * cell)) + dy);
                EXPECT_EQ(d.face, "Times New Roman");
                EXPECT_EQ(d.points, points);
                EXPECT_TRUE(d.bold);
                EXPECT_EQ(d.colour, 0u);
            }
        };
        const Grid &g = c.puzzles[slot];
        checkDigits(g, false, c.givenPoints);
        ASSERT_LT(t, texts.size());
        const PageOp &caption = texts[t++];
        EXPECT_EQ(caption.text, "# " + std::to_string(number));
        EXPECT_EQ(caption.face, "Arial");
        EXPECT_EQ(caption.points, c.captionPoints);
        EXPECT_FALSE(caption.bold);
        EXPECT_EQ(caption.x1, g.left + g.side - 10.0 * c.captionPoints * caption.text.size());
        EXPECT_EQ(caption.y1, g.top + g.side +
                                  static_cast<int>(std::floor(23.0 * c.captionPoints * 1.25)));
        if (c.withSolutions)
            checkDigits(c.solutions[slot], true, c.solutionPoints);
    }
    EXPECT_EQ(t, texts.size() - 1); // only the page number is left
}

// Places as the layout gives them for A4: Cm = 566, the frame 1417..10483 x 1417..15423.
const std::vector<Grid> kOnePuzzle = {{kLeft, kTop + kCm, 9066}};
const std::vector<Grid> kOneSolution = {{kLeft, kBottom - 7 * kCm, 7 * kCm}};
const std::vector<Grid> kTwoPuzzles = {{kLeft, kTop + kCm, 5660}, {kLeft, 9197, 5660}};
const std::vector<Grid> kTwoSolutions = {{kRight - 2830, kTop + 6 * kCm, 2830},
                                         {kRight - 2830, 12027, 2830}};
const std::vector<Grid> kFourPuzzles = {{kLeft, kTop + kCm, 3962}, {6521, kTop + kCm, 3962},
                                        {kLeft, 8914, 3962}, {6521, 8914, 3962}};
const std::vector<Grid> kFourSolutions = {{kLeft, 6228, 2264}, {6521, 6228, 2264},
                                          {kLeft, kBottom - 2264, 2264},
                                          {6521, kBottom - 2264, 2264}};

// Every layout and size with solutions, so that each of the 24 digit sizes is printed, and
// each level once at least in the title line. Digit sizes of puzzles and solutions:
//   per page 1: 42 34 28 24 and 19 15 13 11; 2: 28 22 19 16 and 14 11 9 8;
//   4: 18 14 12 10 and 10 8 7 6 (for N = 8, 10, 12, 14); captions 18, 11 and 8 points.
INSTANTIATE_TEST_SUITE_P(
    PrintRun, PageLayout,
    ::testing::Values(
        LayoutCase{"OnePerPage8WithSolutions", 2, 1, 0, true, kOnePuzzle, kOneSolution, 42, 19, 18},
        LayoutCase{"OnePerPage10Easy", 0, 1, 1, true, kOnePuzzle, kOneSolution, 34, 15, 18},
        LayoutCase{"OnePerPage12Medium", 1, 1, 2, true, kOnePuzzle, kOneSolution, 28, 13, 18},
        LayoutCase{"OnePerPage14Insane", 3, 1, 3, true, kOnePuzzle, kOneSolution, 24, 11, 18},
        LayoutCase{"OnePerPage14WithoutSolutions", 2, 1, 3, false, kOnePuzzle, {}, 24, 11, 18},
        LayoutCase{"TwoPerPage8Insane", 3, 2, 0, true, kTwoPuzzles, kTwoSolutions, 28, 14, 11},
        LayoutCase{"TwoPerPage10WithSolutions", 2, 2, 1, true, kTwoPuzzles, kTwoSolutions, 22, 11,
                   11},
        LayoutCase{"TwoPerPage12Easy", 0, 2, 2, true, kTwoPuzzles, kTwoSolutions, 19, 9, 11},
        LayoutCase{"TwoPerPage14Medium", 1, 2, 3, true, kTwoPuzzles, kTwoSolutions, 16, 8, 11},
        LayoutCase{"TwoPerPage12WithoutSolutions", 2, 2, 2, false, kTwoPuzzles, {}, 19, 9, 11},
        LayoutCase{"FourPerPage8Medium", 1, 4, 0, true, kFourPuzzles, kFourSolutions, 18, 10, 8},
        LayoutCase{"FourPerPage10Insane", 3, 4, 1, true, kFourPuzzles, kFourSolutions, 14, 8, 8},
        LayoutCase{"FourPerPage12WithSolutions", 2, 4, 2, true, kFourPuzzles, kFourSolutions, 12,
                   7, 8},
        LayoutCase{"FourPerPage14Easy", 0, 4, 3, true, kFourPuzzles, kFourSolutions, 10, 6, 8},
        LayoutCase{"FourPerPage8WithoutSolutions", 2, 4, 0, false, kFourPuzzles, {}, 18, 10, 8}),
    [](const auto &info) { return info.param.name; });

TEST(PrintRun, PagesHoldConsecutivePuzzlesWithoutAnEmptyLastSheet)
{
    struct RunCase {
        int first, perPage, pages;
        std::vector<std::vector<std::string>> captions;
    };
    const std::vector<RunCase> cases = {
        {1, 1, 1, {{"1"}}},
        {7, 4, 2, {{"7", "8", "9", "10"}, {"11", "12", "13", "14"}}},
        {91, 2, 5, {{"91", "92"}, {"93", "94"}, {"95", "96"}, {"97", "98"}, {"99", "100"}}},
    };
    for (const RunCase &c : cases) {
        PrintChoices choices;
        choices.FirstNumber = c.first;
        choices.PerPage = c.perPage;
        choices.PageCount = c.pages;
        choices.WithSolutions = false;
        const PageRecorder rec = Print(choices);
        EXPECT_EQ(rec.sheets(), c.pages);
        EXPECT_EQ(Of(rec.ops, PageOp::NewPage).size(), static_cast<std::size_t>(c.pages - 1));
        EXPECT_EQ(Of(rec.ops, PageOp::EndDoc).size(), 1u);
        for (int p = 0; p < c.pages; ++p) {
            EXPECT_EQ(PageRecorder::Captions(rec.page(p)), c.captions[p]) << "from " << c.first;
            EXPECT_EQ(Of(rec.page(p), PageOp::Text).back().text, "Page " + std::to_string(p + 1));
        }
    }

    // All hundred puzzles of a set, in order, on 25 pages of four.
    PrintChoices all;
    all.PerPage = 4;
    all.PageCount = 25;
    const std::vector<std::string> captions = PageRecorder::Captions(Print(all).ops);
    ASSERT_EQ(captions.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(captions[i], std::to_string(i + 1));
}

TEST(PrintRun, APuzzleOutsideTheStockIsNeverRead)
{
    // Choices that break the dialog's rules (the dialog never makes them): the slots of
    // puzzles 101 and 102 stay empty instead of reading past the set.
    PrintChoices choices;
    choices.FirstNumber = 99;
    choices.PerPage = 4;
    choices.WithSolutions = true;
    const PageRecorder rec = Print(choices);
    EXPECT_EQ(PageRecorder::Captions(rec.ops), (std::vector<std::string>{"99", "100"}));
    EXPECT_EQ(Of(rec.ops, PageOp::Box).size(), 4u);

    PageRecorder unused;
    PrintRun run(choices, A4(), TestPuzzles(), unused);
    run.Givens.fill(5);
    EXPECT_FALSE(run.OpenBinPuz(0));
    EXPECT_FALSE(run.OpenBinPuz(101));
    EXPECT_EQ(run.Givens[0], 5); // nothing copied
    EXPECT_TRUE(run.OpenBinPuz(100));
    EXPECT_EQ(run.Givens, TestPuzzles().at(0, 0, 100).StartCells);
}

} // namespace
