// The last link of the hint chain: Chained Couples with Forcing Cell, Chained Couples with
// Leftover Cell, and the end of the chain when neither applies.
#include "hints/upper_links.h"

namespace tl {

void Hint_Chained_Couples(HintContext &ctx)
{
    using namespace hint_text_upper;
    CoupleTables t;
    Find_Hint_Couples(ctx, t);
    Draw_Couples(ctx, t);

    // The chain search may derive couples into the tables; its explanation is written only on
    // a hit, and names the line that holds the marked cell and the cell next to it. The lines
    // on the board are then those of the couples found, without the derived ones.
    Deduction d;
    if (FindChainedForcing(ctx.View(), t, d)) {
        const bool inColumn = d.orientation == Orientation::Columns;
        ctx.Info(inColumn ? kChainedForcingColumn : kChainedForcingRow);
        return ctx.Hit(d);
    }

    // Every couple again, the derived ones included, for the leftover search.
    ctx.Window().UnloadCouplers();
    Draw_Couples(ctx, t);

    ctx.Info(kChainedLeftoverRow);
    if (FindChainedLeftover(ctx.Rows(), t, d))
        return ctx.Hit(d);
    ctx.Info(kChainedLeftoverColumn);
    if (FindChainedLeftover(ctx.Cols(), t, d))
        return ctx.Hit(d);

    ctx.End_Of_Chain();
}

} // namespace tl
