// The game window's state as plain data: the puzzle on the board, what every control of the
// window shows (captions, colours, enabled states, check marks) and the operations that change
// them. The Qt window only draws this model and forwards clicks to it, so the game's behaviour
// is tested without widgets.
#pragma once

#include "game/coupler_marks.h"
#include "game/game_clock.h"
#include "game/move_history.h"
#include "game/puzzle_record.h"
#include "game/roster.h"
#include "game/solving_aids.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tl {

namespace colour {
// The colours of the game window beyond the console colours of the solving aids (the hint
// engine owns the colours of its marks: kHintedCellColour and kWrongCellColour).
constexpr Rgb GivenCell = 0x3280FF;
constexpr Rgb SelectedCell = 0xC8C8C8;
constexpr Rgb WindowBack = 0x10D0D0;   // the game window's own background
constexpr Rgb WindowText = 0x000000;   // the game window's own text colour
constexpr Rgb SystemWindow = 0xFFFFFF; // background of the count legends "0" and "1"
} // namespace colour

// Commands of the window. Where a button and a menu item do the same thing they share one
// entry, so they can never be enabled differently.
enum class Command : int {
    Next,          // cmdNext, mnu_puzzle_next
    Open,          // cmdOpen, mnu_puzzle_open
    Players,       // cmdPlayers, mnu_puzzle_players
    Exit,          // cmdExit, mnu_puzzle_exit
    Restart,       // cmdRestart, mnu_solve_restart
    Undo,          // cmdUndo, mnu_solve_undo
    Redo,          // cmdRedo, mnu_solve_redo
    Hint,          // cmdHint, mnu_solve_hint
    Solution,      // cmdSolution, mnu_solve_solution
    Help,          // cmdHelp, mnu_help_contents
    Pause,         // cmdPauze (no menu item)
    HaltGenerator, // cmdHaltGenerator (no menu item)
    Design,        // mnu_puzzle_design (no button)
    Print,         // mnu_puzzle_print (no button)
    Count
};

constexpr int kLineCount = kMaxSide; // count labels and markers exist for 14 lines

struct CellView {
    std::string caption;              // "", "0" or "1"
    Rgb back = colour::WindowBack;
    Rgb fore = colour::WindowText;
};

struct CountView {
    std::string caption = "-";
    Rgb back = colour::SystemWindow;
};

// "Level: Easy" ... "Level: Insane"; "" for an index outside 0..3.
std::string LevelPanelText(int level);
// "Size: 8x8" ... "Size: 14x14"; "" for an index outside 0..3.
std::string SizePanelText(int sizeIndex);
// The window caption for the roster's current player.
std::string WindowCaption(const Roster &roster);

// Reads an answer to "Vivere Puzzle number" the way the game always has: leading blanks skipped,
// the leading number taken (sign, digits, decimal point, exponent) and rounded to a whole
// number, halves to the even neighbour. No leading number, or a value beyond the 16-bit range,
// reads as 0.
int ReadPuzzleNumber(const std::string &answer);

class GameModel {
public:
    explicit GameModel(ClockService &clock);

    // ---- The puzzle on the board ----------------------------------------------------------
    CellGrid StartBoard{};
    CellGrid Solution{};
    CellGrid Board{};
    std::int16_t BestMin = 0, BestSec = 0, BestPlayer = 0;
    int GridSize = 0;   // N of the board on show (8, 10, 12 or 14)
    int LastCell = 0;   // N x N - 1; 0 while no puzzle has been shown
    std::int16_t PairMinCount = 0;
    std::int16_t ShownLevel = 0, ShownSize = 0;
    std::int16_t SelectedLevel = 0, SelectedSize = 0;
    std::array<std::array<std::int16_t, kSizes>, kLevels> PuzzleNr{}; // last number per set
    std::array<int, kLineCount> RowZeros{}, RowOnes{}, ColZeros{}, ColOnes{};
    MoveHistory History;
    GameClock Clock;        // Clock.Running: the window's timer is enabled
    SolvingAids Aids;       // pair markers, uniqueness marks and the colour swatch
    CouplerMarks Couplers;  // the player's coupler marks and the hint's coupler lines
    bool ShieldVisible = false; // the cover over a paused board
    // The pending right-click selection of a cell (row, column).
    bool SelectionPending = false;
    int SelRow = 0, SelCol = 0;
    bool Finished = true;
    bool PlayingDesign = false;
    bool ShowingDesign = false; // the puzzle on the board came from the designer

    // ---- Options --------------------------------------------------------------------------
    bool WellsOn = true, DuplicatesOn = true, UniquenessOn = true;
    bool SoundsOn = true;
    bool SoundsItemEnabled = true; // false when no audio output exists
    bool LoadingOptions = false;

    // ---- What the controls show -----------------------------------------------------------
    std::array<CellView, kGridCells> Grid{};
    std::array<CountView, kLineCount> lblRowNull{}, lblRowOne{}, lblColNull{}, lblColOne{};
    Rgb lblNullBack = colour::SystemWindow, lblOneBack = colour::SystemWindow;
    std::array<std::string, 4> StatusPanels{};
    std::string lblInfo = "Select Size and Level and press \"Next\"";
    std::string LabelTijd = "00:00";
    bool LabelSolvedVisible = false;
    std::string LabelSolvedText = "CONGRATULATIONS";
    std::string lblProgress = "Generating none";
    int ProgressValue = 0; // ProgressBar1, maximum 100

    // ---- Menus and buttons ------------------------------------------------------------------
    std::array<bool, static_cast<int>(Command::Count)> Enabled{};
    bool GenerateMenuEnabled = true;                 // false while a generation run is active
    std::array<bool, kLevels> LevelItemEnabled{};
    std::array<bool, kSizes> SizeItemEnabled{};
    std::array<std::array<bool, kSizes>, kLevels> GenerateItemEnabled{};
    std::int16_t GenLevel = 0, GenSize = 0;          // the set of an active generation run

    bool enabled(Command c) const { return Enabled[static_cast<int>(c)]; }
    void setEnabled(Command c, bool on) { Enabled[static_cast<int>(c)] = on; }

    // ---- Operations ------------------------------------------------------------------------
    // The empty board of the selected size: every cell blank in the window's colours and, when
    // N < 14, the row below and the column right of the board black; level and size in the
    // status bar. Run once at start-up after the options have been applied.
    void Prepare_Empty_Board();

    // The Level and Size menus. Each returns true when the options must be saved (that is,
    // unless they are being applied at start-up). An index outside 0..3 changes nothing.
    bool mnu_level_n_Click(int index);
    bool mnu_size_n_Click(int index);
    // Every Level, Size and Generate item enabled, except the Generate item of the selection.
    void Update_Generate_Menus();

    // First half of Next: the shown level and size become the selected ones and the set's
    // number steps on (100 is followed by 1; a number outside 0..100 counts as 0). Returns the
    // new number; the caller saves the numbers and fetches the record.
    int Step_Puzzle_Number();
    // Second half of Next: puts `record` on the board as puzzle `number` of the shown set.
    void Show_Puzzle(const PuzzleRecord &record, const Roster &roster);

    // Starts the clock from 00:00.
    void Start_Clock();
    // One tick of the window's timer: the clock's text follows the elapsed time.
    void Timer1_Timer();
    // ---- Play (game_play.cpp) -------------------------------------------------------------
    // Pause: covers the board and freezes the clock. Resume: uncovers it and counts on from
    // the frozen time. Penalty: adds seconds to the running clock.
    void cmdPauze_Click();
    void Picture1_Click();
    void Penalty(int Strafseconden);
    // The window changed its state: minimising it during play pauses the game.
    void Form_Resize(bool minimised);

    // A mouse button released over cell label `index` (a GridIndex): 1 left, 2 right, any
    // other value another button.
    struct ClickOutcome {
        bool assigned = false; // a cell changed (the assign sound plays)
        bool solved = false;   // the board now equals the solution
    };
    ClickOutcome Grid_MouseUp(int index, int button);
    // Completion, first half: the clock stops.
    void Stop_Clock_For_Completion() { Clock.stop(); }
    // End of a game by completion or by the solution: banner, message line, commands.
    void End_Game();
    // The banner is clicked away.
    void LabelSolved_Click() { LabelSolvedVisible = false; }

    // Undo and redo walk one run of moves on one cell; a paused game is resumed first.
    void cmdUndo_Click();
    void cmdRedo_Click();
    // Restart: back to the given cells, empty history, clock from 00:00.
    void cmdRestart_Click();
    // Solution: the solution's digits on the board; the game ends without a best time.
    void cmdSolution_Click();
    // Puts an accepted design on the board as Next puts a stock puzzle there, shown as
    // "Design" and never given a best time.
    void Load_Design(const PuzzleRecord &design, const Roster &roster);

    // What the solving aids need of the board.
    AidsBoard Aids_Board() const { return {Board, GridSize, LastCell, Finished}; }

    // Redraws the count labels of lines 0 .. N - 1 from the counts (Wells on) or as "-".
    void Show_Wells();

    // Option toggles that only change a flag here; the window saves the options.
    void Toggle_Duplicates() { DuplicatesOn = !DuplicatesOn; }
    void Toggle_Uniqueness() { UniquenessOn = !UniquenessOn; }
    void Toggle_Sounds() { SoundsOn = !SoundsOn; }

    // The platform clock the game clock reads.
    ClockService &clockService() { return clock_; }

private:
    ClockService &clock_;
    void Step_Cell(int cell, bool forward, bool byClick);
    void Show_Count(CountView &label, int count, Rgb legend, bool byClick);
    void Refresh_Aids();
    void Drop_Selection();
    Rgb Own_Colour(int row, int col) const;
    void Set_Game_Over_Commands();
    void Clear_Board_Labels(int n, bool wholeGrid);
    void Reset_Counts();
    // Paints the given cells of StartBoard, blanks the other cells of the board and counts the
    // givens per line into the (reset) counts and their labels.
    void Draw_Start_Board();
};

} // namespace tl
