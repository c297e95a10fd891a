#include "designer/design_model.h"

#include <string>

namespace tl {

namespace {

constexpr char kValidateTitle[] = "Validate Result";
// The solver's counter slot of a validation, whatever the size of the design.
constexpr std::int16_t kValidationSlot = 3;

std::string CaptionOf(std::int16_t value)
{
    return value == 0 ? "0" : value == 1 ? "1" : "";
}

} // namespace

DesignModel::DesignModel(PuzzleRecord &design, bool &playingDesign, const LineTables &tables,
                         MessageBoxService &messages, EventPump *pump)
    : design_(design), playingDesign_(playingDesign), messages_(messages),
      solver_(tables, pump, &design)
{
}

bool DesignModel::Choose_Size(int index)
{
    if (Busy() || index < 0 || index >= kSizes)
        return false;
    OptionSize = index;
    return true;
}

bool DesignModel::Init_Design()
{
    if (Busy())
        return false;
    DesignSizeIndex = OptionSize;
    DesignGridSize = SideOfSizeIndex(DesignSizeIndex);
    const int n = DesignGridSize;
    solver_.GenLastCell = n * n - 1;

    for (CellView &cell : Grid)
        cell = CellView{};
    // A smaller board is framed by a black row and column just past its last cell.
    if (n < kMaxSide) {
        for (int k = 0; k <= n; ++k) {
            Grid[n * kMaxSide + k].back = colour::DesignBorder;
            Grid[k * kMaxSide + n].back = colour::DesignBorder;
        }
    }

    design_.StartCells.fill(-1);
    design_.SolutionCells.fill(-1);
    design_.ExtraCells.fill(-1);
    design_.HeavyCount = design_.BestSec = design_.BestMin = design_.Level = design_.Number =
        design_.BestPlayer = design_.Reserved = 0;
    design_.SizeIndex = static_cast<std::int16_t>(DesignSizeIndex);
    state_ = DesignState::Editing;
    return true;
}

void DesignModel::Show_Cell(int cellIndex)
{
    const int n = DesignGridSize;
    Grid[(cellIndex / n) * kMaxSide + cellIndex % n].caption =
        CaptionOf(design_.StartCells[cellIndex]);
}

void DesignModel::Back_To_Editing()
{
    const int n = DesignGridSize;
    for (int i = 0; i < n * n; ++i) {
        Grid[(i / n) * kMaxSide + i % n].back = colour::WindowBack;
        Show_Cell(i);
    }
    design_.SolutionCells.fill(-1);
    design_.Level = 0;
    state_ = DesignState::Editing;
}

bool DesignModel::Grid_MouseUp(int gridIndex)
{
    if (Busy() || gridIndex < 0 || gridIndex >= kGridCells)
        return false;
    const int n = DesignGridSize;
    const int row = gridIndex / kMaxSide, column = gridIndex % kMaxSide;
    if (row >= n || column >= n)
        return false;
    const int i = row * n + column;
    std::int16_t &cell = design_.StartCells[i];
    if (cell < -1 || cell > 1)
        return false;
    if (state_ == DesignState::Validated)
        Back_To_Editing();
    cell = cell == -1 ? 0 : cell == 0 ? 1 : -1;
    Show_Cell(i);
    return true;
}

bool DesignModel::Command1_Click()
{
    if (Busy())
        return false;
    if (messages_.show("Start New Design",
                       "Are you sure to abandon current design and start a new?", MsgIcon::None,
                       MsgButtons::YesNo) == MsgAnswer::Yes)
        Init_Design();
    return true;
}

bool DesignModel::Command2_Click()
{
    if (state_ != DesignState::Editing)
        return false;
    state_ = DesignState::Validating;
    Changed();

    const int n = DesignGridSize;
    solver_.GenLastCell = n * n - 1;
    solver_.GenCells.assign(design_.StartCells.begin(), design_.StartCells.begin() + n * n);
    solver_.Rate = 0;
    solver_.GenSize = kValidationSlot;
    solver_.DuplicateCount[kValidationSlot] = 0;
    solver_.HeavyCount[kValidationSlot] = 0;
    solver_.HaltGenerator = false;
    solver_.GenGridSize = static_cast<std::int16_t>(n);
    solver_.GenLevel = 3;
    // The solver refuses a full board that breaks the rules, and givens that it can only
    // complete into a board that breaks them: a true result is the one solution.
    const bool solved = solver_.Solve_Puzzle();
    solver_.HaltGenerator = true;
    // The solve is over: the result is reported over the designer as it stood before it, and
    // only a design that passed moves on to Validated once the report is acknowledged.
    state_ = DesignState::Editing;

    if (!solved) {
        Changed();
        messages_.show(kValidateTitle, "Your design has no unique solution.", MsgIcon::None,
                       MsgButtons::Ok);
        return true;
    }

    for (int i = 0; i < n * n; ++i) {
        CellView &label = Grid[(i / n) * kMaxSide + i % n];
        if (design_.StartCells[i] == -1)
            label.caption = CaptionOf(design_.SolutionCells[i]);
        else
            label.back = colour::ValidatedGiven;
    }
    Changed();
    messages_.show(kValidateTitle,
                   "Your design has one unique solution.\n \nRate = " +
                       std::to_string(solver_.Rate) + "\nDuplicate = " +
                       std::to_string(solver_.DuplicateCount[kValidationSlot]) + "\nHeavy = " +
                       std::to_string(solver_.HeavyCount[kValidationSlot]),
                   MsgIcon::None, MsgButtons::Ok);
    design_.Level = solver_.Rate;
    state_ = DesignState::Validated;
    return true;
}

bool DesignModel::Command3_Click()
{
    if (!SolveEnabled())
        return false;
    playingDesign_ = true;
    return true;
}

bool DesignModel::Command4_Click()
{
    if (Busy())
        return false;
    playingDesign_ = false;
    return true;
}

} // namespace tl
