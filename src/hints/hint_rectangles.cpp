// The fourth link of the hint chain: Rectangle with Leftover Cell, Forced Rectangle with
// Leftover Cell, Rectangle with Forcing Cell and the two searches of Avoidable Sandwich. On
// entry it finds every couple of the board and draws it; when nothing applies it removes its
// lines and hands over to the chained couples.
#include "hints/upper_links.h"

namespace tl {

namespace {

using namespace hint_text_upper;

// Writes a search's explanation, runs the search and reports its deduction; true when the
// search hit (the request is then over).
template <class Find>
bool Search(HintContext &ctx, std::string_view text, Find find)
{
    ctx.Info(text);
    Deduction d;
    if (!find(d))
        return false;
    ctx.Hit(d);
    return true;
}

// A coupler line between positions a and b of line `line` of the orientation.
void LineAlong(HintContext &ctx, const OrientedGrid &g, int line, int a, int b)
{
    const int from = g.index(line, a), to = g.index(line, b);
    ctx.AddCouplerBetween(from / ctx.N, from % ctx.N, to / ctx.N, to % ctx.N);
}

} // namespace

bool Row_Forces_Opposite(const HintContext &ctx, std::int32_t Pos1, std::int32_t Pos2,
                         std::int32_t LineNr, std::int32_t Pattern, std::int32_t Mask)
{
    return ForcesOpposite(ctx.Rows(), Pos1, Pos2, LineNr, Pattern, Mask, ctx.Tables());
}

bool Col_Forces_Opposite(const HintContext &ctx, std::int32_t Pos1, std::int32_t Pos2,
                         std::int32_t LineNr, std::int32_t Pattern, std::int32_t Mask)
{
    return ForcesOpposite(ctx.Cols(), Pos1, Pos2, LineNr, Pattern, Mask, ctx.Tables());
}

void Find_Hint_Couples(const HintContext &ctx, CoupleTables &t)
{
    BuildCouples(ctx.View(), ctx.Tables(), t);
}

void Draw_Couples(HintContext &ctx, const CoupleTables &t)
{
    const int n = ctx.N;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            if (t.RowPartner[r][c] > c)
                ctx.AddCouplerBetween(r, c, r, t.RowPartner[r][c]);
    for (int c = 0; c < n; ++c)
        for (int r = 0; r < n; ++r)
            if (t.ColPartner[r][c] > r)
                ctx.AddCouplerBetween(r, c, t.ColPartner[r][c], c);
}

void Hint_Rectangles(HintContext &ctx)
{
    CoupleTables t;
    Find_Hint_Couples(ctx, t);
    Draw_Couples(ctx, t);

    const OrientedGrid rows = ctx.Rows(), cols = ctx.Cols();
    // The hint examines only the lines 0 .. N - 4 for a rectangle with a leftover cell.
    const int lastExamined = ctx.N - 4;
    if (Search(ctx, kRectangleLeftoverRow,
               [&](Deduction &d) { return FindRectangleLeftover(rows, t, lastExamined, d); }) ||
        Search(ctx, kRectangleLeftoverColumn,
               [&](Deduction &d) { return FindRectangleLeftover(cols, t, lastExamined, d); }))
        return;

    // A forced rectangle also draws the two couples it proves: the pair in the examined line,
    // then the pair in its neighbouring line.
    const struct {
        const OrientedGrid &g;
        std::string_view text;
    } forced[] = {{rows, kForcedRectangleRow}, {cols, kForcedRectangleColumn}};
    for (const auto &form : forced) {
        ctx.Info(form.text);
        Deduction d;
        if (FindForcedRectangle(form.g, t, d)) {
            LineAlong(ctx, form.g, d.line, d.posA, d.posB);
            LineAlong(ctx, form.g, d.otherLine, d.posA, d.posB);
            return ctx.Hit(d);
        }
    }

    // Rectangle with Forcing Cell: pairs of rows three apart mark a cell of a column, so that
    // search carries the column text and runs first.
    if (Search(ctx, kRectangleForcingColumn,
               [&](Deduction &d) { return FindRectangleForcingCell(rows, d); }) ||
        Search(ctx, kRectangleForcingRow,
               [&](Deduction &d) { return FindRectangleForcingCell(cols, d); }))
        return;

    // Avoidable Sandwich: the first search in rows and columns, then the second.
    for (auto find : {FindSandwichFirst, FindSandwichSecond}) {
        if (Search(ctx, kSandwichRows, [&](Deduction &d) { return find(rows, ctx.Tables(), d); }) ||
            Search(ctx, kSandwichColumns,
                   [&](Deduction &d) { return find(cols, ctx.Tables(), d); }))
            return;
    }

    ctx.Window().UnloadCouplers();
    Hint_Chained_Couples(ctx);
}

} // namespace tl
