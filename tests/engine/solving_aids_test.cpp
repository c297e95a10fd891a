#include "game/solving_aids.h"

#include <gtest/gtest.h>

using namespace tl;

namespace {

// An N x N board, all empty, with a puzzle in play.
struct TestBoard {
    CellGrid cells{};
    int n;
    bool finished = false;
    int lastCell;
    explicit TestBoard(int side) : n(side), lastCell(side * side - 1) { cells.fill(-1); }
    AidsBoard view() const { return {cells, n, lastCell, finished}; }
    void setRow(int r, const char *bits)
    {
        for (int c = 0; c < n; ++c)
            cells[r * n + c] = bits[c] == '.' ? -1 : bits[c] - '0';
    }
    void setCol(int c, const char *bits)
    {
        for (int r = 0; r < n; ++r)
            cells[r * n + c] = bits[r] == '.' ? -1 : bits[r] - '0';
    }
};

int PairSlot(const SolvingAids &aids, bool columns, int line, Rgb colour)
{
    const auto &m = columns ? aids.UniqueCol : aids.UniqueRow;
    for (int s = 0; s < kPairSlots; ++s)
        if (m[s * kMaxSide + line] == colour)
            return s;
    return -1;
}

} // namespace

TEST(WellColour, HighlightsByComparisonWithHalfTheLine)
{
    const Rgb legend = 0xF0F0F0;
    EXPECT_EQ(WellColour(4, 10, legend), colour::Orange);
    EXPECT_EQ(WellColour(5, 10, legend), colour::LightGreen);
    EXPECT_EQ(WellColour(6, 10, legend), colour::LightRed);
    EXPECT_EQ(WellColour(3, 10, legend), legend);
    EXPECT_EQ(WellColour(0, 8, legend), legend);
    EXPECT_EQ(WellColour(6, 14, legend), colour::Orange);
    EXPECT_EQ(WellColour(8, 14, legend), colour::LightRed);
}

TEST(PairColourCycle, StepsThroughSevenColoursAndWhiteOnlyOutsideMarking)
{
    const Rgb cycle[] = {colour::White,      colour::Black,     colour::LightRed,
                         colour::Yellow,     colour::LightGreen, colour::LightBlue,
                         colour::LightCyan,  colour::LightMagenta, colour::White};
    for (int i = 0; i + 1 < 9; ++i)
        EXPECT_EQ(NextPairColour(cycle[i], false), cycle[i + 1]) << i;
    EXPECT_EQ(NextPairColour(colour::LightMagenta, true), colour::Black);
    EXPECT_EQ(NextPairColour(colour::Orange, false), colour::Orange);

    SolvingAids aids;
    aids.DupColor = 0x123456;
    aids.DupColor_Click();
    EXPECT_EQ(aids.DupColor, 0x123456u) << "a colour outside the cycle stays";
}

TEST(ShowDuplicates, EmptyEightBoardFillsSlotsInPairOrderWithCycleColours)
{
    TestBoard b(8);
    SolvingAids aids;
    aids.Show_Duplicates(b.view(), true, 0);
    const auto &col = aids.UniqueCol;
    // Column 0 pairs with 1..4 in slots 0..3 and with nothing further.
    EXPECT_EQ(col[0 * 14 + 0], colour::Black);
    EXPECT_EQ(col[0 * 14 + 1], colour::Black);
    EXPECT_EQ(col[1 * 14 + 0], colour::LightRed);
    EXPECT_EQ(col[1 * 14 + 2], colour::LightRed);
    EXPECT_EQ(col[2 * 14 + 0], colour::Yellow);
    EXPECT_EQ(col[2 * 14 + 3], colour::Yellow);
    EXPECT_EQ(col[3 * 14 + 0], colour::LightGreen);
    EXPECT_EQ(col[3 * 14 + 4], colour::LightGreen);
    // (1,2) takes slot 2, (1,3) slot 1, (1,4) finds no common slot and uses no colour,
    // (1,5) slot 3 with the colour (1,4) would have had.
    EXPECT_EQ(col[2 * 14 + 1], colour::LightBlue);
    EXPECT_EQ(col[2 * 14 + 2], colour::LightBlue);
    EXPECT_EQ(col[1 * 14 + 1], colour::LightCyan);
    EXPECT_EQ(col[1 * 14 + 3], colour::LightCyan);
    EXPECT_EQ(col[3 * 14 + 1], colour::LightMagenta);
    EXPECT_EQ(col[3 * 14 + 5], colour::LightMagenta);
    // The eighth marked pair, (2,3) in slot 0, is black again.
    EXPECT_EQ(col[0 * 14 + 2], colour::Black);
    EXPECT_EQ(col[0 * 14 + 3], colour::Black);
    // Rows follow the same sequence on their own.
    for (int i = 0; i < kPairMarkers; ++i)
        EXPECT_EQ(aids.UniqueRow[i], aids.UniqueCol[i]) << i;
    // Lines beyond N get nothing.
    for (int s = 0; s < kPairSlots; ++s)
        for (int line = 8; line < 14; ++line)
            EXPECT_EQ(col[s * 14 + line], colour::White);
    EXPECT_FALSE(aids.DupMarking);
    EXPECT_NE(aids.DupColor, colour::White) << "the swatch shows the next pair's colour";
}

TEST(ShowDuplicates, ConflictsAndMinimumCountsKeepPairsOut)
{
    TestBoard b(14);
    // Column 0 conflicts with columns 1, 2 and 3 in a filled position.
    b.setCol(0, "0011101110111.");
    b.setCol(1, "0001101110011.");
    b.setCol(2, "0001101110011.");
    b.setCol(3, "1110010001100.");
    // Column 4 holds only two 0s, below the minimum of 3 for 14 x 14, so it pairs with neither
    // column 5 nor column 6, which agree with it wherever both are filled; columns 5 and 6
    // hold exactly three 0s and form a pair.
    b.setCol(4, "0011.11.......");
    b.setCol(5, "0011011.......");
    b.setCol(6, "0011011.......");
    SolvingAids aids;
    aids.Show_Duplicates(b.view(), true, 3);
    EXPECT_EQ(PairSlot(aids, true, 0, colour::Black), -1);
    for (int s = 0; s < kPairSlots; ++s)
        EXPECT_EQ(aids.UniqueCol[s * 14 + 4], colour::White) << s;
    EXPECT_EQ(aids.UniqueCol[0 * 14 + 5], colour::LightRed);
    EXPECT_EQ(aids.UniqueCol[0 * 14 + 6], colour::LightRed);
    // Columns 1 and 2 are equal: the first marked pair, black in slot 0.
    EXPECT_EQ(aids.UniqueCol[0 * 14 + 1], colour::Black);
    EXPECT_EQ(aids.UniqueCol[0 * 14 + 2], colour::Black);
    // Column 3 differs from 1 and 2 in a filled position: never paired with them.
    for (int s = 0; s < kPairSlots; ++s)
        EXPECT_NE(aids.UniqueCol[s * 14 + 3], aids.UniqueCol[0 * 14 + 1]);

    // The minimum counts are asked of both lines of a pair, and the last line pairs too.
    // Columns 7 and 8 hold three of each; 9 (the second line of (7, 9)) has two 1s and 10 two
    // 0s, and both agree with 7 and 8; 12 and 13 agree with each other and with nothing else.
    TestBoard c(14);
    for (const auto &[col, bits] : {std::pair{7, "000111........"}, {8, "00011.1......."},
                                    {9, "00011........."}, {10, "00.111........"},
                                    {12, "110001........"}, {13, "110.01.0.1...."}})
        c.setCol(col, bits);
    SolvingAids counted;
    counted.Show_Duplicates(c.view(), true, 3);
    EXPECT_EQ(counted.UniqueCol[0 * 14 + 7], colour::Black);
    EXPECT_EQ(counted.UniqueCol[0 * 14 + 8], colour::Black);
    EXPECT_EQ(counted.UniqueCol[0 * 14 + 12], colour::LightRed);
    EXPECT_EQ(counted.UniqueCol[0 * 14 + 13], colour::LightRed);
    for (int s = 0; s < kPairSlots; ++s) {
        EXPECT_EQ(counted.UniqueCol[s * 14 + 9], colour::White) << s;
        EXPECT_EQ(counted.UniqueCol[s * 14 + 10], colour::White) << s;
    }
}

TEST(ShowDuplicates, ClearsWithoutAPuzzleInPlayAndKeepsNotesWithTheOptionOff)
{
    TestBoard b(8);
    SolvingAids aids;
    aids.Show_Duplicates(b.view(), true, 0);
    ASSERT_EQ(aids.UniqueCol[0], colour::Black);

    // Option off: the markers become the player's notes.
    aids.UniqueRow[13] = colour::Yellow;
    aids.Show_Duplicates(b.view(), false, 0);
    EXPECT_EQ(aids.UniqueRow[13], colour::Yellow);
    EXPECT_EQ(aids.UniqueCol[0], colour::Black);

    // Turning it on again recomputes and drops the notes.
    aids.Show_Duplicates(b.view(), true, 0);
    EXPECT_EQ(aids.UniqueRow[13], colour::White);

    b.finished = true;
    aids.Show_Duplicates(b.view(), false, 0);
    for (Rgb c : aids.UniqueCol)
        EXPECT_EQ(c, colour::White);
    for (Rgb c : aids.UniqueRow)
        EXPECT_EQ(c, colour::White);
    EXPECT_EQ(aids.DupColor, colour::White);
}

TEST(ShowUniqueness, MarksLinesThatDifferFromEveryOtherInAFilledPosition)
{
    TestBoard b(8);
    b.setRow(0, "01011010");
    b.setRow(1, "01011010"); // equal to row 0: a duplicate pair, not unique
    b.setRow(2, "10100101"); // differs from all others in a filled position
    b.setRow(3, "0.......");
    b.setRow(4, ".1......");
    b.setRow(5, ".......0");
    b.setRow(6, "......1.");
    b.setRow(7, "1.....1.");
    SolvingAids aids;
    aids.Show_Uniqueness(b.view(), true);
    EXPECT_EQ(aids.Line_Y[0], colour::White);
    EXPECT_EQ(aids.Line_Y[1], colour::White);
    EXPECT_EQ(aids.Line_Y[2], colour::Black);
    // Row 3 differs from row 4 only where one of the two is empty.
    EXPECT_EQ(aids.Line_Y[3], colour::White);

    aids.Show_Duplicates(b.view(), true, 0);
    EXPECT_EQ(PairSlot(aids, false, 0, colour::Black), 0);
    EXPECT_EQ(PairSlot(aids, false, 1, colour::Black), 0);

    // With the option off nothing is recomputed; without a puzzle everything is cleared.
    b.setRow(1, "10101010");
    aids.Show_Uniqueness(b.view(), false);
    EXPECT_EQ(aids.Line_Y[2], colour::Black);
    EXPECT_EQ(aids.Line_Y[1], colour::White);
    b.lastCell = 0;
    aids.Show_Uniqueness(b.view(), true);
    EXPECT_EQ(aids.Line_Y[2], colour::White);
}

TEST(ShowUniqueness, EmptyLinesAreNeverUnique)
{
    TestBoard b(10);
    SolvingAids aids;
    aids.Show_Uniqueness(b.view(), true);
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(aids.Line_X[i], colour::White);
        EXPECT_EQ(aids.Line_Y[i], colour::White);
    }
}

TEST(ManualMarks, WorkOnlyWithTheOptionOffDuringPlayAndWithinTheBoard)
{
    TestBoard b(8);
    SolvingAids aids;
    aids.DupColor = colour::Yellow;

    EXPECT_FALSE(aids.UniqueCol_Click(42, b.view(), true)) << "option on";
    EXPECT_TRUE(aids.UniqueCol_Click(42, b.view(), false));
    EXPECT_EQ(aids.UniqueCol[3 * 14 + 0], colour::Yellow) << "42 is column 0, slot 3";
    EXPECT_TRUE(aids.UniqueCol_Click(42, b.view(), false));
    EXPECT_EQ(aids.UniqueCol[42], colour::White);
    EXPECT_FALSE(aids.UniqueRow_Click(9, b.view(), false)) << "row 9 is outside an 8 x 8 board";

    EXPECT_TRUE(aids.Line_X_Click(3, b.view(), false));
    EXPECT_EQ(aids.Line_X[3], colour::Black);
    EXPECT_TRUE(aids.Line_X_Click(3, b.view(), false));
    EXPECT_EQ(aids.Line_X[3], colour::White);
    EXPECT_FALSE(aids.Line_X_Click(9, b.view(), false));
    EXPECT_FALSE(aids.Line_Y_Click(0, b.view(), true));

    b.finished = true;
    EXPECT_FALSE(aids.Line_Y_Click(0, b.view(), false));
    EXPECT_FALSE(aids.UniqueRow_Click(0, b.view(), false));
    b.finished = false;
    b.lastCell = 0;
    EXPECT_FALSE(aids.Line_Y_Click(0, b.view(), false));
    for (Rgb c : aids.Line_Y)
        EXPECT_EQ(c, colour::White);
}
