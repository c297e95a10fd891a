#include "game/coupler_marks.h"

#include <algorithm>

namespace tl {

TwipPoint MarkPosition(int row, int col, CellSide side)
{
    const int left = 1320 + 360 * col;
    const int top = 1320 + 360 * row;
    switch (side) {
    case CellSide::Right: return {left + 300, top + 150};
    case CellSide::Left: return {left, top + 150};
    case CellSide::Bottom: return {left + 150, top + 300};
    case CellSide::Top: return {left + 150, top};
    }
    return {left, top};
}

namespace {
inline std::int16_t Gi(int row, int col)
{
    return static_cast<std::int16_t>(row * kMaxSide + col);
}
bool ValidCell(int row, int col)
{
    return row >= 0 && row < kMaxSide && col >= 0 && col < kMaxSide;
}
} // namespace

void CouplerMarks::addMark(TwipPoint p)
{
    CustomCouplers.push_back(p);
}

void CouplerMarks::removeMark(TwipPoint p, std::int16_t &linkField)
{
    // The first mark at exactly that position takes the place of the last one, so the marks stay
    // at indexes 1 .. count without gaps.
    for (std::size_t k = 1; k < CustomCouplers.size(); ++k) {
        if (CustomCouplers[k] == p) {
            CustomCouplers[k] = CustomCouplers.back();
            linkField = -1;
            CustomCouplers.pop_back();
            return;
        }
    }
}

void CouplerMarks::linkRow(int row, int colA, int colB)
{
    addMark(MarkPosition(row, colA, CellSide::Right));
    addMark(MarkPosition(row, colB, CellSide::Left));
    at(row, colA).PartnerRight = Gi(row, colB);
    at(row, colB).PartnerLeft = Gi(row, colA);
}

void CouplerMarks::linkColumn(int col, int rowA, int rowB)
{
    addMark(MarkPosition(rowA, col, CellSide::Bottom));
    addMark(MarkPosition(rowB, col, CellSide::Top));
    at(rowA, col).PartnerBelow = Gi(rowB, col);
    at(rowB, col).PartnerAbove = Gi(rowA, col);
}

void CouplerMarks::unlinkRow(int row, int colA, int colB)
{
    removeMark(MarkPosition(row, colA, CellSide::Right), at(row, colA).PartnerRight);
    removeMark(MarkPosition(row, colB, CellSide::Left), at(row, colB).PartnerLeft);
}

void CouplerMarks::unlinkColumn(int col, int rowA, int rowB)
{
    removeMark(MarkPosition(rowA, col, CellSide::Bottom), at(rowA, col).PartnerBelow);
    removeMark(MarkPosition(rowB, col, CellSide::Top), at(rowB, col).PartnerAbove);
}

void CouplerMarks::Toggle_Custom_Coupler(int Col1, int Col2, int Row1, int Row2, int Kind)
{
    if (!ValidCell(Row1, Col1) || !ValidCell(Row2, Col2))
        return;
    if (Kind == kRowLink) {
        if (Row1 != Row2 || Col1 >= Col2)
            return;
        CouplerLink &a = at(Row1, Col1);
        CouplerLink &b = at(Row2, Col2);
        if (a.PartnerRight == -1 && b.PartnerLeft == -1)
            linkRow(Row1, Col1, Col2);
        else if (a.PartnerRight == Gi(Row2, Col2) && b.PartnerLeft == Gi(Row1, Col1))
            unlinkRow(Row1, Col1, Col2);
        return;
    }
    if (Kind == kColumnLink) {
        if (Col1 != Col2 || Row1 >= Row2)
            return;
        CouplerLink &a = at(Row1, Col1);
        CouplerLink &b = at(Row2, Col2);
        if (a.PartnerBelow == -1 && b.PartnerAbove == -1)
            linkColumn(Col1, Row1, Row2);
        else if (a.PartnerBelow == Gi(Row2, Col2) && b.PartnerAbove == Gi(Row1, Col1))
            unlinkColumn(Col1, Row1, Row2);
        return;
    }
    if (Kind != kRectangle || Row1 >= Row2 || Col1 >= Col2)
        return;

    const CouplerLink &tl = at(Row1, Col1), &tr = at(Row1, Col2);
    const CouplerLink &bl = at(Row2, Col1), &br = at(Row2, Col2);
    const std::int16_t TL = Gi(Row1, Col1), TR = Gi(Row1, Col2), BL = Gi(Row2, Col1),
                       BR = Gi(Row2, Col2);
    int mask = 0;
    if (tl.PartnerRight == TR && tr.PartnerLeft == TL)
        mask |= 1;
    if (bl.PartnerRight == BR && br.PartnerLeft == BL)
        mask |= 2;
    if (tl.PartnerBelow == BL && bl.PartnerAbove == TL)
        mask |= 4;
    if (tr.PartnerBelow == BR && br.PartnerAbove == TR)
        mask |= 8;

    if (mask == 15) {
        removeMark(MarkPosition(Row1, Col1, CellSide::Right), at(Row1, Col1).PartnerRight);
        removeMark(MarkPosition(Row1, Col2, CellSide::Left), at(Row1, Col2).PartnerLeft);
        removeMark(MarkPosition(Row2, Col1, CellSide::Right), at(Row2, Col1).PartnerRight);
        removeMark(MarkPosition(Row2, Col2, CellSide::Left), at(Row2, Col2).PartnerLeft);
        removeMark(MarkPosition(Row1, Col1, CellSide::Bottom), at(Row1, Col1).PartnerBelow);
        removeMark(MarkPosition(Row2, Col1, CellSide::Top), at(Row2, Col1).PartnerAbove);
        removeMark(MarkPosition(Row1, Col2, CellSide::Bottom), at(Row1, Col2).PartnerBelow);
        removeMark(MarkPosition(Row2, Col2, CellSide::Top), at(Row2, Col2).PartnerAbove);
        return;
    }
    // A missing side whose cells are already linked elsewhere in its direction blocks the whole
    // rectangle.
    if (!(mask & 1) && (tl.PartnerRight != -1 || tr.PartnerLeft != -1))
        return;
    if (!(mask & 2) && (bl.PartnerRight != -1 || br.PartnerLeft != -1))
        return;
    if (!(mask & 4) && (tl.PartnerBelow != -1 || bl.PartnerAbove != -1))
        return;
    if (!(mask & 8) && (tr.PartnerBelow != -1 || br.PartnerAbove != -1))
        return;
    if (!(mask & 1))
        linkRow(Row1, Col1, Col2);
    if (!(mask & 2))
        linkRow(Row2, Col1, Col2);
    if (!(mask & 4))
        linkColumn(Col1, Row1, Row2);
    if (!(mask & 8))
        linkColumn(Col2, Row1, Row2);
}

void CouplerMarks::Clear_Custom_Couplers()
{
    CustomCouplers.resize(1);
    CouplerLinks.fill(CouplerLink{});
}

void CouplerMarks::Drop_Filled_Links(int row, int col, const CellGrid &board, int gridSize)
{
    if (!ValidCell(row, col) || row >= gridSize || col >= gridSize)
        return;
    auto filled = [&](std::int16_t gi) {
        const int r = gi / kMaxSide, c = gi % kMaxSide;
        return r < gridSize && c < gridSize && board[r * gridSize + c] != -1;
    };
    const CouplerLink &x = at(row, col);
    if (x.PartnerAbove != -1 && filled(x.PartnerAbove)) {
        const int pr = x.PartnerAbove / kMaxSide;
        Toggle_Custom_Coupler(col, col, pr, row, kColumnLink);
    }
    if (x.PartnerBelow != -1 && filled(x.PartnerBelow)) {
        const int pr = x.PartnerBelow / kMaxSide;
        Toggle_Custom_Coupler(col, col, row, pr, kColumnLink);
    }
    if (x.PartnerRight != -1 && filled(x.PartnerRight)) {
        const int pc = x.PartnerRight % kMaxSide;
        Toggle_Custom_Coupler(col, pc, row, row, kRowLink);
    }
    if (x.PartnerLeft != -1 && filled(x.PartnerLeft)) {
        const int pc = x.PartnerLeft % kMaxSide;
        Toggle_Custom_Coupler(pc, col, row, row, kRowLink);
    }
}

void CouplerMarks::Erase_Couplers()
{
    Couplers.resize(1);
}

} // namespace tl
