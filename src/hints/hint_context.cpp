// The state of one hint request and the ways a request ends: a hit, the wrong-cell report and
// the end of the chain.
#include "hints/hint_engine.h"

#include <string>

namespace tl {

int HintPenalty(Technique t)
{
    switch (t) {
    case Technique::None:
        return 0;
    case Technique::UncoveredCells:
        return 20;
    case Technique::AvoidableDuplicates:
        return 30;
    default:
        return TechniqueLevel(t) == 0 ? 10 : 40;
    }
}

HintContext::HintContext(const HintPuzzle &puzzle, const LineTables &tables, HintWindow &window)
    : HintGrid(static_cast<std::size_t>(puzzle.LastCell) + 1, -1), N(puzzle.GridSize),
      LastCell(puzzle.LastCell), tables_(tables), window_(window)
{
}

void HintContext::Info(std::string_view text)
{
    window_.SetInfo(std::string(text));
}

void HintContext::Mark(int cellIndex)
{
    window_.SetCellColour(GridIndexOf(cellIndex), kHintedCellColour);
}

void HintContext::Hit(Technique t)
{
    window_.Penalty(HintPenalty(t));
    window_.Speel(kHintSound);
    outcome_ = {HintResult::Hinted, t};
}

void HintContext::Hit(const Deduction &d, std::string_view textOnHit)
{
    for (int k = 0; k < d.count; ++k)
        Mark(d.cells[k]);
    if (!textOnHit.empty())
        Info(textOnHit);
    Hit(d.technique);
}

void HintContext::AddCouplerBetween(int row1, int col1, int row2, int col2)
{
    auto at = [](int k) { return 1500 + 360 * k; };
    window_.AddCoupler(CouplerLine{at(col1), at(row1), at(col2), at(row2)});
}

void HintContext::End_Of_Chain()
{
    window_.UnloadCouplers();
    window_.Speel(kNoMoreHintsSound);
    Info(hint_text::kNoMoreHints);
    outcome_ = {HintResult::NoMoreHints, Technique::None};
}

void HintContext::Wrong_Cell(int cellIndex)
{
    window_.SetCellColour(GridIndexOf(cellIndex), kWrongCellColour);
    Info(hint_text::kWrongCell);
    window_.Speel(kWrongCellSound);
    outcome_ = {HintResult::WrongCell, Technique::None};
}

} // namespace tl
