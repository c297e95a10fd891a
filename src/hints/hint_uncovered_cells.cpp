// The second link of the hint chain: Uncovered cell(s) in its counting form (rows, then
// columns) and its valid-line form, then Avoidable Duplicates (rows, then columns). The
// counting form and Avoidable Duplicates write their explanation before they search, the
// valid-line form only on its hit; the message line therefore always holds the explanation of
// the technique that made the deduction.
#include "hints/hint_engine.h"

namespace tl {

void Hint_Uncovered_Cells(HintContext &ctx)
{
    Deduction d;
    const OrientedGrid rows = ctx.Rows();
    const OrientedGrid cols = ctx.Cols();

    // Counting form: the census of each line, its covered pairs and the gap scans.
    ctx.Info(hint_text::kUncoveredRow);
    if (FindUncoveredByCounting(rows, d))
        return ctx.Hit(d);
    ctx.Info(hint_text::kUncoveredColumn);
    if (FindUncoveredByCounting(cols, d))
        return ctx.Hit(d);

    // Valid-line form: rows in order, then columns in the order a row-by-row walk meets their
    // first empty cell.
    if (FindUncoveredByValidLines(rows, ctx.Tables(), d))
        return ctx.Hit(d, hint_text::kUncoveredRow);
    if (FindUncoveredByValidLines(cols, ctx.Tables(), d))
        return ctx.Hit(d, hint_text::kUncoveredColumn);

    ctx.Info(hint_text::kAvoidableDuplicatesRows);
    if (FindAvoidableDuplicates(rows, d))
        return ctx.Hit(d);
    ctx.Info(hint_text::kAvoidableDuplicatesColumns);
    if (FindAvoidableDuplicates(cols, d))
        return ctx.Hit(d);

    Hint_Forcing_Cells(ctx);
}

} // namespace tl
