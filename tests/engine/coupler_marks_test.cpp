#include "game/coupler_marks.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace tl;

namespace {

bool HasMark(const CouplerMarks &m, TwipPoint p)
{
    return std::find(m.CustomCouplers.begin() + 1, m.CustomCouplers.end(), p) !=
           m.CustomCouplers.end();
}

bool AllUnlinked(const CouplerMarks &m)
{
    return std::all_of(m.CouplerLinks.begin(), m.CouplerLinks.end(), [](const CouplerLink &l) {
        return l.PartnerAbove == -1 && l.PartnerBelow == -1 && l.PartnerLeft == -1 &&
               l.PartnerRight == -1;
    });
}

} // namespace

TEST(CouplerMarks, MarkPositionsSitInsideTheCellAgainstEachSide)
{
    EXPECT_EQ(MarkPosition(0, 0, CellSide::Right), (TwipPoint{1620, 1470}));
    EXPECT_EQ(MarkPosition(0, 0, CellSide::Left), (TwipPoint{1320, 1470}));
    EXPECT_EQ(MarkPosition(0, 0, CellSide::Bottom), (TwipPoint{1470, 1620}));
    EXPECT_EQ(MarkPosition(0, 0, CellSide::Top), (TwipPoint{1470, 1320}));
    EXPECT_EQ(MarkPosition(2, 3, CellSide::Right), (TwipPoint{1620 + 1080, 1470 + 720}));
    EXPECT_EQ(MarkPosition(13, 13, CellSide::Bottom), (TwipPoint{1470 + 4680, 1620 + 4680}));
}

TEST(CouplerMarks, RowAndColumnLinksToggleTheirTwoMarks)
{
    CouplerMarks m;
    m.Toggle_Custom_Coupler(1, 4, 2, 2, kRowLink);
    ASSERT_EQ(m.CustomCouplerCount(), 2);
    EXPECT_EQ(m.CustomCouplers[1], MarkPosition(2, 1, CellSide::Right));
    EXPECT_EQ(m.CustomCouplers[2], MarkPosition(2, 4, CellSide::Left));
    EXPECT_EQ(m.CouplerLinks[2 * 14 + 1].PartnerRight, 2 * 14 + 4);
    EXPECT_EQ(m.CouplerLinks[2 * 14 + 4].PartnerLeft, 2 * 14 + 1);

    // A row link of cell (2,1) with a third cell further right: nothing changes.
    m.Toggle_Custom_Coupler(1, 6, 2, 2, kRowLink);
    EXPECT_EQ(m.CustomCouplerCount(), 2);
    EXPECT_EQ(m.CouplerLinks[2 * 14 + 6].PartnerLeft, -1);

    m.Toggle_Custom_Coupler(1, 4, 2, 2, kRowLink);
    EXPECT_EQ(m.CustomCouplerCount(), 0);
    EXPECT_TRUE(AllUnlinked(m));

    m.Toggle_Custom_Coupler(5, 5, 0, 7, kColumnLink);
    ASSERT_EQ(m.CustomCouplerCount(), 2);
    EXPECT_EQ(m.CustomCouplers[1], MarkPosition(0, 5, CellSide::Bottom));
    EXPECT_EQ(m.CustomCouplers[2], MarkPosition(7, 5, CellSide::Top));
    EXPECT_EQ(m.CouplerLinks[5].PartnerBelow, 7 * 14 + 5);
    EXPECT_EQ(m.CouplerLinks[7 * 14 + 5].PartnerAbove, 5);

    // Calls with the cells in the wrong order or outside the grid change nothing.
    m.Toggle_Custom_Coupler(4, 1, 3, 3, kRowLink);
    m.Toggle_Custom_Coupler(0, 0, 5, 14, kColumnLink);
    EXPECT_EQ(m.CustomCouplerCount(), 2);
}

TEST(CouplerMarks, RemovingALinkMovesTheLastMarksIntoItsPlaces)
{
    CouplerMarks m;
    m.Toggle_Custom_Coupler(0, 1, 0, 0, kRowLink); // marks 1, 2
    m.Toggle_Custom_Coupler(3, 3, 1, 4, kColumnLink); // marks 3, 4
    m.Toggle_Custom_Coupler(2, 5, 6, 6, kRowLink); // marks 5, 6
    m.Toggle_Custom_Coupler(0, 1, 0, 0, kRowLink);
    ASSERT_EQ(m.CustomCouplerCount(), 4);
    // The last mark filled slot 1, then the new last one slot 2.
    EXPECT_EQ(m.CustomCouplers[1], MarkPosition(6, 5, CellSide::Left));
    EXPECT_EQ(m.CustomCouplers[2], MarkPosition(6, 2, CellSide::Right));
    EXPECT_TRUE(HasMark(m, MarkPosition(1, 3, CellSide::Bottom)));
    EXPECT_TRUE(HasMark(m, MarkPosition(4, 3, CellSide::Top)));
    EXPECT_FALSE(HasMark(m, MarkPosition(0, 0, CellSide::Right)));
    EXPECT_EQ(m.CustomCouplers[0], kMarkTemplate) << "the template is never touched";
}

TEST(CouplerMarks, RectangleCompletesMissingSidesAndRemovesOnlyWhenComplete)
{
    CouplerMarks m;
    m.Toggle_Custom_Coupler(1, 4, 2, 2, kRowLink); // the top side
    m.Toggle_Custom_Coupler(1, 4, 2, 5, kRectangle);
    EXPECT_EQ(m.CustomCouplerCount(), 8);
    EXPECT_EQ(m.CouplerLinks[5 * 14 + 1].PartnerRight, 5 * 14 + 4);
    EXPECT_EQ(m.CouplerLinks[2 * 14 + 1].PartnerBelow, 5 * 14 + 1);
    EXPECT_EQ(m.CouplerLinks[2 * 14 + 4].PartnerBelow, 5 * 14 + 4);
    // Order of the added marks: bottom side, left side, right side.
    EXPECT_EQ(m.CustomCouplers[3], MarkPosition(5, 1, CellSide::Right));
    EXPECT_EQ(m.CustomCouplers[5], MarkPosition(2, 1, CellSide::Bottom));
    EXPECT_EQ(m.CustomCouplers[8], MarkPosition(5, 4, CellSide::Top));

    m.Toggle_Custom_Coupler(1, 4, 2, 5, kRectangle);
    EXPECT_EQ(m.CustomCouplerCount(), 0);
    EXPECT_TRUE(AllUnlinked(m));
}

TEST(CouplerMarks, RectangleBlockedBySideLinkedElsewhereAddsNothing)
{
    CouplerMarks m;
    m.Toggle_Custom_Coupler(1, 1, 2, 9, kColumnLink); // TL linked below to a cell outside
    m.Toggle_Custom_Coupler(1, 4, 2, 5, kRectangle);
    EXPECT_EQ(m.CustomCouplerCount(), 2);
    EXPECT_EQ(m.CouplerLinks[2 * 14 + 1].PartnerRight, -1);
    EXPECT_EQ(m.CouplerLinks[5 * 14 + 1].PartnerRight, -1);
}

TEST(CouplerMarks, FillingTheSecondCellDropsTheLinkButNotTheFirst)
{
    const int n = 8;
    CellGrid board{};
    board.fill(-1);
    CouplerMarks m;
    m.Toggle_Custom_Coupler(1, 5, 3, 3, kRowLink);
    m.Toggle_Custom_Coupler(1, 1, 3, 6, kColumnLink);
    board[3 * n + 1] = 0;
    m.Drop_Filled_Links(3, 1, board, n);
    EXPECT_EQ(m.CustomCouplerCount(), 4) << "partners still empty";
    board[3 * n + 5] = 1;
    m.Drop_Filled_Links(3, 5, board, n);
    EXPECT_EQ(m.CustomCouplerCount(), 2);
    EXPECT_EQ(m.CouplerLinks[3 * 14 + 1].PartnerRight, -1);
    EXPECT_EQ(m.CouplerLinks[3 * 14 + 5].PartnerLeft, -1);
    EXPECT_EQ(m.CouplerLinks[3 * 14 + 1].PartnerBelow, 6 * 14 + 1);
    board[6 * n + 1] = 0;
    m.Drop_Filled_Links(6, 1, board, n);
    EXPECT_EQ(m.CustomCouplerCount(), 0);
    EXPECT_TRUE(AllUnlinked(m));
}

TEST(CouplerMarks, ClearAndEraseResetEverythingButTheTemplates)
{
    CouplerMarks m;
    m.CouplerLinks[17].PartnerAbove = 3; // a stale link without marks
    m.Clear_Custom_Couplers();
    EXPECT_TRUE(AllUnlinked(m));
    m.Toggle_Custom_Coupler(0, 1, 0, 0, kRowLink);
    m.Toggle_Custom_Coupler(0, 1, 0, 1, kRectangle);
    EXPECT_EQ(m.CustomCouplerCount(), 8);
    m.Clear_Custom_Couplers();
    EXPECT_EQ(m.CustomCouplerCount(), 0);
    EXPECT_TRUE(AllUnlinked(m));
    m.Toggle_Custom_Coupler(0, 1, 0, 0, kRowLink);
    EXPECT_EQ(m.CustomCouplerCount(), 2) << "the same cells can be linked again";

    m.Erase_Couplers();
    EXPECT_EQ(m.CouplerCount(), 0);
    m.Add_Coupler({1, 2, 3, 4});
    m.Add_Coupler({5, 6, 7, 8});
    EXPECT_EQ(m.CouplerCount(), 2);
    m.Erase_Couplers();
    EXPECT_EQ(m.CouplerCount(), 0);
    EXPECT_EQ(m.Couplers[0], kLineTemplate);
    EXPECT_EQ(m.CustomCouplerCount(), 2) << "hint lines and player's marks are separate";
}
