#include "game/solving_aids.h"

namespace tl {

Rgb WellColour(int count, int n, Rgb legend)
{
    const int half = n / 2;
    if (count > half)
        return colour::LightRed;
    if (count == half)
        return colour::LightGreen;
    if (count == half - 1)
        return colour::Orange;
    return legend;
}

Rgb NextPairColour(Rgb c, bool marking)
{
    switch (c) {
    case colour::White: return colour::Black;
    case colour::Black: return colour::LightRed;
    case colour::LightRed: return colour::Yellow;
    case colour::Yellow: return colour::LightGreen;
    case colour::LightGreen: return colour::LightBlue;
    case colour::LightBlue: return colour::LightCyan;
    case colour::LightCyan: return colour::LightMagenta;
    case colour::LightMagenta: return marking ? colour::Black : colour::White;
    default: return c;
    }
}

SolvingAids::SolvingAids()
{
    clearPairs();
    clearUniqueness();
}

void SolvingAids::clearPairs()
{
    UniqueRow.fill(colour::White);
    UniqueCol.fill(colour::White);
}

void SolvingAids::clearUniqueness()
{
    Line_X.fill(colour::White);
    Line_Y.fill(colour::White);
}

void SolvingAids::DupColor_Click()
{
    DupColor = NextPairColour(DupColor, DupMarking);
}

namespace {

// Cell k of line `line`: the k-th cell of a column, or of a row.
inline int CellOf(bool columns, int line, int k, int n)
{
    return columns ? k * n + line : line * n + k;
}

// True when some position holds two filled, different cells: the lines can never be equal.
bool LinesConflict(const AidsBoard &b, bool columns, int a, int c)
{
    const int n = b.gridSize;
    for (int k = 0; k < n; ++k) {
        const int va = b.board[CellOf(columns, a, k, n)];
        const int vc = b.board[CellOf(columns, c, k, n)];
        if (va != -1 && vc != -1 && va != vc)
            return true;
    }
    return false;
}

} // namespace

void SolvingAids::markPairs(std::array<Rgb, kPairMarkers> &markers, const AidsBoard &b,
                            int pairMinCount, bool columns)
{
    const int n = b.gridSize;
    DupColor = colour::White;
    DupColor_Click();

    int zeros[kMaxSide] = {}, ones[kMaxSide] = {};
    for (int line = 0; line < n; ++line) {
        for (int k = 0; k < n; ++k) {
            const int v = b.board[CellOf(columns, line, k, n)];
            zeros[line] += v == 0;
            ones[line] += v == 1;
        }
    }

    for (int a = 0; a <= n - 2; ++a) {
        for (int c = a + 1; c <= n - 1; ++c) {
            int slot = -1;
            for (int s = 0; s < kPairSlots; ++s) {
                if (markers[s * kMaxSide + a] == colour::White &&
                    markers[s * kMaxSide + c] == colour::White) {
                    slot = s;
                    break;
                }
            }
            if (slot < 0)
                continue;
            if (zeros[a] < pairMinCount || ones[a] < pairMinCount || zeros[c] < pairMinCount ||
                ones[c] < pairMinCount)
                continue;
            if (LinesConflict(b, columns, a, c))
                continue;
            markers[slot * kMaxSide + a] = DupColor;
            markers[slot * kMaxSide + c] = DupColor;
            DupColor_Click();
        }
    }
}

void SolvingAids::Show_Duplicates(const AidsBoard &b, bool duplicatesOn, int pairMinCount)
{
    if (!b.inPlay()) {
        clearPairs();
        DupColor = colour::White;
        return;
    }
    if (!duplicatesOn)
        return;
    DupMarking = true;
    clearPairs();
    markPairs(UniqueCol, b, pairMinCount, true);
    markPairs(UniqueRow, b, pairMinCount, false);
    DupMarking = false;
}

void SolvingAids::Show_Uniqueness(const AidsBoard &b, bool uniquenessOn)
{
    if (!b.inPlay()) {
        clearUniqueness();
        return;
    }
    if (!uniquenessOn)
        return;
    clearUniqueness();
    const int n = b.gridSize;
    for (int pass = 0; pass < 2; ++pass) {
        const bool columns = pass == 0;
        auto &marks = columns ? Line_X : Line_Y;
        for (int a = 0; a < n; ++a) {
            bool unique = true;
            for (int c = 0; c < n && unique; ++c)
                unique = c == a || LinesConflict(b, columns, a, c);
            if (unique)
                marks[a] = colour::Black;
        }
    }
}

bool SolvingAids::toggleUniqueMark(std::array<Rgb, kMaxSide> &marks, int index, const AidsBoard &b,
                                   bool optionOn)
{
    if (optionOn || !b.inPlay() || index < 0 || index > b.gridSize - 1)
        return false;
    marks[index] = marks[index] == colour::Black ? colour::White : colour::Black;
    return true;
}

bool SolvingAids::togglePairMarker(std::array<Rgb, kPairMarkers> &markers, int index,
                                   const AidsBoard &b, bool optionOn)
{
    if (optionOn || !b.inPlay() || index < 0 || index >= kPairMarkers ||
        index % kMaxSide > b.gridSize - 1)
        return false;
    const Rgb before = markers[index];
    markers[index] = before == colour::White ? DupColor : colour::White;
    return markers[index] != before;
}

bool SolvingAids::Line_X_Click(int index, const AidsBoard &b, bool uniquenessOn)
{
    return toggleUniqueMark(Line_X, index, b, uniquenessOn);
}

bool SolvingAids::Line_Y_Click(int index, const AidsBoard &b, bool uniquenessOn)
{
    return toggleUniqueMark(Line_Y, index, b, uniquenessOn);
}

bool SolvingAids::UniqueCol_Click(int index, const AidsBoard &b, bool duplicatesOn)
{
    return togglePairMarker(UniqueCol, index, b, duplicatesOn);
}

bool SolvingAids::UniqueRow_Click(int index, const AidsBoard &b, bool duplicatesOn)
{
    return togglePairMarker(UniqueRow, index, b, duplicatesOn);
}

} // namespace tl
