// The third link of the hint chain: the level-2 techniques. Avoidable Duplicates with Forcing
// Cell in its first form (a complete balanced line against a partial one) and its second form
// (a line with four empty cells against a complete one), then Almost Duplicates with Forcing
// Cell; each in rows, then in columns, with its explanation written before it searches.
#include "hints/upper_links.h"

namespace tl {

namespace {

struct ForcingSearch {
    bool (*find)(const OrientedGrid &, const LineTables &, Deduction &);
    Orientation orientation;
    std::string_view text;
};

bool findAlmostDuplicates(const OrientedGrid &g, const LineTables &, Deduction &d)
{
    return FindAlmostDuplicates(g, d);
}

constexpr ForcingSearch kForcingSearches[] = {
    {FindAvoidableForcingCell1, Orientation::Rows, hint_text_upper::kForcingCellRows1},
    {FindAvoidableForcingCell1, Orientation::Columns, hint_text_upper::kForcingCellColumns1},
    {FindAvoidableForcingCell2, Orientation::Rows, hint_text_upper::kForcingCellRows2},
    {FindAvoidableForcingCell2, Orientation::Columns, hint_text_upper::kForcingCellColumns2},
    {findAlmostDuplicates, Orientation::Rows, hint_text_upper::kAlmostDuplicatesRows},
    {findAlmostDuplicates, Orientation::Columns, hint_text_upper::kAlmostDuplicatesColumns},
};

} // namespace

void Hint_Forcing_Cells(HintContext &ctx)
{
    Deduction d;
    for (const ForcingSearch &search : kForcingSearches) {
        ctx.Info(search.text);
        if (search.find(ctx.Lines(search.orientation), ctx.Tables(), d))
            return ctx.Hit(d);
    }
    Hint_Rectangles(ctx);
}

} // namespace tl
