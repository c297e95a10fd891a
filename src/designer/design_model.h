// The puzzle designer's state and rules as plain data: the design being edited, what each of
// its 196 cell labels shows, which buttons are usable, and the validation by the rating solver.
//
// How it fits together
// --------------------
// * The game window owns the record (`DesignPuzzle`) and the accepted flag (`PlayingDesign`);
//   the model edits them in place, so the game window finds the design there when the designer
//   is hidden again.
// * The model owns a RatingSolver of its own. Validate hands the given cells to it at the top
//   technique level; the solver lets window events run once per deduction through the event
//   pump, so handlers of the designer can be called in the middle of a validation. While a
//   validation runs the model is Validating and refuses every request (cell clicks, New,
//   Validate, Solve, Close, another size), so nothing can re-enter or disturb the solver.
// * States: Editing (Validate usable, Solve not), Validating (nothing usable), Validated (Solve
//   usable, Validate not). Changing a cell of a validated design returns it to Editing and
//   clears the solution shown and stored: only a design validated as it stands can be played.
// * `onChange` is called where the view must be redrawn in the middle of an operation: when a
//   validation starts, and before its result is reported.
#pragma once

#include "game/game_model.h"
#include "game/line_tables.h"
#include "game/puzzle_record.h"
#include "platform/services.h"
#include "solver/solver.h"

#include <array>
#include <functional>

namespace tl {

namespace colour {
constexpr Rgb DesignBorder = 0x000000;         // the border row and column of a smaller board
constexpr Rgb ValidatedGiven = 0x2F5FFF;       // a given cell after a successful validation
constexpr Rgb DesignerBack = 0xC0C000;         // the designer's own background
constexpr Rgb SystemWindowText = 0x000000;     // text on the system window colour (headings)
} // namespace colour

enum class DesignState { Editing, Validating, Validated };

class DesignModel {
public:
    DesignModel(PuzzleRecord &design, bool &playingDesign, const LineTables &tables,
                MessageBoxService &messages, EventPump *pump);

    // ---- What the controls show -----------------------------------------------------------
    std::array<CellView, kGridCells> Grid{}; // by GridIndex, row x 14 + column
    int OptionSize = 0;       // the size option chosen (0..3); used at the next Init_Design
    int DesignSizeIndex = 0;  // the size of the design on show
    int DesignGridSize = 8;
    DesignState State() const { return state_; }
    bool Busy() const { return state_ == DesignState::Validating; }
    bool ValidateEnabled() const { return state_ == DesignState::Editing; }
    bool SolveEnabled() const { return state_ == DesignState::Validated; }
    // New, Close and the size options: usable except during a validation.
    bool IdleEnabled() const { return !Busy(); }

    std::function<void()> onChange;

    // ---- Operations; each returns false when it was refused --------------------------------
    // Chooses the size used by the next Init_Design.
    bool Choose_Size(int index);
    // An empty design of the chosen size, with the record reset (creation, each showing, New).
    bool Init_Design();
    // A click with any button on the label `gridIndex`: cycles a cell of the board empty, 0, 1.
    bool Grid_MouseUp(int gridIndex);
    // New: asks, and on Yes starts an empty design of the chosen size.
    bool Command1_Click();
    // Validate: runs the solver on the design and reports the result in a message box.
    bool Command2_Click();
    // Solve and Close: set PlayingDesign; true when the designer is to be hidden.
    bool Command3_Click();
    bool Command4_Click();

    RatingSolver &Solver() { return solver_; }
    const PuzzleRecord &Design() const { return design_; }

private:
    void Show_Cell(int cellIndex);
    // Back from Validated to Editing: the solution is no longer shown nor kept.
    void Back_To_Editing();
    void Changed()
    {
        if (onChange)
            onChange();
    }

    PuzzleRecord &design_;
    bool &playingDesign_;
    MessageBoxService &messages_;
    RatingSolver solver_;
    DesignState state_ = DesignState::Editing;
};

} // namespace tl
