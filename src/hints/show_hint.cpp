// The entry of the hint chain: resume a paused game, check the board against the solution, and
// try the six level-0 scans before handing over to the second link.
#include "hints/hint_engine.h"

namespace tl {

namespace {

bool supportedSide(int n)
{
    return n == 8 || n == 10 || n == 12 || n == 14;
}

// The level-0 scans in the order a request tries them: each technique in rows, then in
// columns, before the next technique. So a Bordering deduction in a column anywhere on the
// board wins over a Centering deduction in a row at a lower cell.
struct LevelZeroScan {
    bool (*find)(const OrientedGrid &, Deduction &);
    Orientation orientation;
    std::string_view text;
};

constexpr LevelZeroScan kLevelZeroScans[] = {
    {FindBordering, Orientation::Rows, hint_text::kBorderingRow},
    {FindBordering, Orientation::Columns, hint_text::kBorderingColumn},
    {FindCentering, Orientation::Rows, hint_text::kCenteringRow},
    {FindCentering, Orientation::Columns, hint_text::kCenteringColumn},
    {FindOneKindLeft, Orientation::Rows, hint_text::kOneKindLeftRow},
    {FindOneKindLeft, Orientation::Columns, hint_text::kOneKindLeftColumn},
};

} // namespace

HintOutcome Show_Hint(const HintPuzzle &puzzle, const LineTables &tables, HintWindow &window)
{
    // A request needs a game in progress on a board the engine knows; otherwise the request
    // leaves the window exactly as it was (the Hint button is disabled then anyway).
    const int n = puzzle.GridSize;
    if (puzzle.Finished || puzzle.LastCell == 0 || !supportedSide(n) ||
        puzzle.LastCell != n * n - 1)
        return {};

    if (window.ShieldVisible())
        window.Picture1_Click();

    // The copy and the board check in one pass: the first filled cell that differs from the
    // solution is reported, and no technique is tried.
    HintContext ctx(puzzle, tables, window);
    for (int i = 0; i <= ctx.LastCell; ++i) {
        const std::int16_t v = puzzle.Board[i];
        ctx.HintGrid[i] = v;
        if (v != -1 && v != puzzle.Solution[i]) {
            ctx.Wrong_Cell(i);
            return ctx.Outcome();
        }
    }

    Deduction d;
    for (const LevelZeroScan &scan : kLevelZeroScans) {
        if (scan.find(ctx.Lines(scan.orientation), d)) {
            ctx.Hit(d, scan.text);
            return ctx.Outcome();
        }
    }
    Hint_Uncovered_Cells(ctx);
    return ctx.Outcome();
}

} // namespace tl
