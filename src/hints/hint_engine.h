// The hint engine: one hint request reports the first wrong cell of the player's board, or marks
// the cell or cells that the first deduction of the easiest applicable technique solves, explains
// the technique in the message line and charges its time penalty, or says that no logical hint
// is left. It never sets a cell of the player's board.
//
// How it fits together
// --------------------
// * The game window owns nothing of the engine. Its Hint button (cmdHint_Click) erases the
//   coupler lines of the previous hint and calls Show_Hint with the puzzle on the board, the
//   valid-line tables and itself as a HintWindow: the narrow interface through which the engine
//   reaches the window (is the pause cover shown, resume the game, colour a cell label, write the
//   message line, load and unload coupler lines, add penalty seconds, play a sound). Tests drive
//   the engine through a recording fake of that interface (tests/support/recording_hint_window.h).
// * Show_Hint copies the board into a HintContext (HintGrid, the request's own copy, made anew
//   for every request) and hands that context from link to link. Every link reads the board only
//   through HintGrid and reaches the window only through the context.
// * The chain of links, each tried in full before the next:
//     Show_Hint            resume a paused game, the wrong-cell check, the six level-0 scans
//     Hint_Uncovered_Cells Uncovered cell(s) (counting form in rows, then columns; valid-line
//                          form), Avoidable Duplicates in rows, then columns
//     Hint_Forcing_Cells   the level-2 and level-3 techniques and the end of the chain
//   A link that finds nothing calls the next link as its last step; the first deduction ends
//   the request (HintContext::Ended() is then true and no later link runs).
// * The searches are the rating solver's finders (solver/finders.h, solver/upper_finders.h), so
//   hint and solver can never disagree about a technique; a link only decides which cells to
//   mark, which text to write and when, and what to charge.
// * Hit mechanics shared by every link, in this order: colour every solved cell RGB(160,127,0)
//   (HintContext::Mark), write the explanation if the technique writes it on the hit
//   (HintContext::Info), then HintContext::Hit(technique), which charges the technique's penalty
//   (10 s level 0, 20 s Uncovered cell(s), 30 s Avoidable Duplicates, 40 s levels 2 and 3) and
//   plays the hint sound. HintContext::Hit(deduction, text) does all of it at once.
// * The end of the chain (HintContext::End_Of_Chain): the chain's coupler lines unloaded, the
//   no-more-hints sound, "No more logical hints...", no penalty.
// * A request runs to its end without handing control to event processing; it keeps nothing
//   between requests.
#pragma once

#include "game/coupler_marks.h"
#include "game/line_tables.h"
#include "game/puzzle_record.h"
#include "game/solving_aids.h"
#include "solver/finders.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

// ---- What the engine reads and drives -----------------------------------------------------

// The puzzle on the board, as the game window holds it.
struct HintPuzzle {
    const CellGrid &Board;    // the player's cells (-1 empty, 0, 1) by CellIndex
    const CellGrid &Solution; // 0 or 1 in every cell 0..LastCell
    int GridSize = 0;         // N
    int LastCell = 0;         // N x N - 1; 0 while no puzzle has been shown
    bool Finished = true;     // no game in progress (before the first puzzle, solved, solution shown)
};

// The game window as the hint engine sees it. The game window implements it; tests fake it.
class HintWindow {
public:
    virtual ~HintWindow() = default;
    // Whether the cover over a paused board (Shield) is visible.
    virtual bool ShieldVisible() const = 0;
    // Resumes a paused game: hides the cover and lets the clock run on.
    virtual void Picture1_Click() = 0;
    // Sets the background colour of the cell label Grid(gridIndex) (row x 14 + column).
    virtual void SetCellColour(int gridIndex, Rgb colour) = 0;
    // Replaces the text of the message line lblInfo.
    virtual void SetInfo(const std::string &text) = 0;
    // Loads the next hint coupler line (element CouplerCount + 1) from (x1, y1) to (x2, y2) in
    // twips of the game window, brought to the front and visible.
    virtual void AddCoupler(const CouplerLine &line) = 0;
    // The number of hint coupler lines now loaded.
    virtual int CouplerCount() const = 0;
    // Unloads every hint coupler line (elements 1 .. CouplerCount) and sets the count to 0.
    virtual void UnloadCouplers() = 0;
    // Adds seconds to the running clock.
    virtual void Penalty(int Strafseconden) = 0;
    // Plays sound MMID (when sounds are on).
    virtual void Speel(int MMID) = 0;
};

// ---- Colours, sounds, penalties, texts ----------------------------------------------------

constexpr Rgb kHintedCellColour = 0xA07F00; // RGB(160, 127, 0)
constexpr Rgb kWrongCellColour = 0xFF0000;  // RGB(255, 0, 0)
constexpr int kHintSound = 7;               // "Hint.wav"
constexpr int kWrongCellSound = 8;          // "Error.wav"
constexpr int kNoMoreHintsSound = 3;        // "ResetCell.wav"

// The penalty in seconds of a hint by technique `t`: 10 (level 0), 20 (Uncovered cell(s)),
// 30 (Avoidable Duplicates), 40 (levels 2 and 3); 0 for None.
int HintPenalty(Technique t);

namespace hint_text {
inline constexpr std::string_view kWrongCell = "The value of the marked cell is wrong...";
inline constexpr std::string_view kNoMoreHints = "No more logical hints...";
inline constexpr std::string_view kBorderingRow =
    "Bordering in row: Whenever two cells next to each other have the same value, then the "
    "bordering cells must have the opposite value. The marked cell can be solved...";
inline constexpr std::string_view kBorderingColumn =
    "Bordering in column: Whenever two cells next to each other have the same value, then the "
    "bordering cells must have the opposite value. The marked cell can be solved...";
inline constexpr std::string_view kCenteringRow =
    "Centering in row: Whenever two cells on both sides of an empty cell have the same value, "
    "then the empty cell must have the opposite value. The marked cell can be solved...";
inline constexpr std::string_view kCenteringColumn =
    "Centering in column: Whenever two cells on both sides of an empty cell have the same value, "
    "then the empty cell must have the opposite value. The marked cell can be solved...";
inline constexpr std::string_view kOneKindLeftRow =
    "One kind left in row: Whenever one value appears in half of the cells of the same row, all "
    "empty cells in that row must be the opposite value. The marked cell can be solved...";
inline constexpr std::string_view kOneKindLeftColumn =
    "One kind left in column: Whenever one value appears in half of the cells of the same "
    "column, all empty cells in that column must be the opposite value. The marked cell can be "
    "solved...";
inline constexpr std::string_view kUncoveredRow =
    "Uncovered cell(s) in row: Whenever the last possible placements of a value is not covering "
    "all empty cells in a row, then the uncovered empty cells in that row must be the opposite "
    "value. The marked cell(s) can be solved...";
inline constexpr std::string_view kUncoveredColumn =
    "Uncovered cell(s) in column: Whenever the last possible placements of a value is not "
    "covering all empty cells in a column, then the uncovered empty cells in that column must be "
    "the opposite value. The marked cell(s) can be solved...";
inline constexpr std::string_view kAvoidableDuplicatesRows =
    "Avoidable Duplicates: The marked cell needs a value to avoid duplicate rows...";
inline constexpr std::string_view kAvoidableDuplicatesColumns =
    "Avoidable Duplicates: The marked cell needs a value to avoid duplicate columns...";
} // namespace hint_text

// ---- One request --------------------------------------------------------------------------

// How a request ended.
enum class HintResult : std::int8_t {
    Nothing,    // no puzzle in play: nothing was changed
    WrongCell,  // a filled cell differs from the solution
    Hinted,     // a deduction was marked and charged
    NoMoreHints // no technique applies
};

struct HintOutcome {
    HintResult result = HintResult::Nothing;
    Technique technique = Technique::None; // the technique of a Hinted outcome
    bool operator==(const HintOutcome &) const = default;
};

// The state of one request, handed from link to link.
class HintContext {
public:
    HintContext(const HintPuzzle &puzzle, const LineTables &tables, HintWindow &window);

    // The request's copy of the player's board, 0..LastCell by CellIndex (-1 empty, 0, 1).
    // Filled by Show_Hint before any technique runs; the links only read it.
    std::vector<std::int32_t> HintGrid;
    const int N;        // GridSize
    const int LastCell; // N x N - 1

    const LineTables &Tables() const { return tables_; }
    HintWindow &Window() { return window_; }
    // HintGrid as a view, and as rows or columns for the finders.
    GridView View() const { return GridView{HintGrid.data(), N}; }
    OrientedGrid Rows() const { return OrientedGrid(View(), Orientation::Rows); }
    OrientedGrid Cols() const { return OrientedGrid(View(), Orientation::Columns); }
    OrientedGrid Lines(Orientation o) const { return OrientedGrid(View(), o); }

    // The cell label of a CellIndex: row x 14 + column.
    int GridIndexOf(int cellIndex) const { return (cellIndex / N) * kMaxSide + cellIndex % N; }

    // Writes the message line.
    void Info(std::string_view text);
    // Colours the label of a solved cell in the hint colour.
    void Mark(int cellIndex);
    // Charges technique `t`'s penalty, plays the hint sound and ends the request.
    void Hit(Technique t);
    // The whole hit of a finder's deduction: its cells marked in the order the deduction lists
    // them, `textOnHit` written when it is not empty, then Hit(d.technique).
    void Hit(const Deduction &d, std::string_view textOnHit = {});
    // Loads a coupler line between the centres of cells (row1, col1) and (row2, col2): each end
    // 180 twips right of and below the top-left corner of the cell's label, at
    // (1500 + 360 x column, 1500 + 360 x row) twips.
    void AddCouplerBetween(int row1, int col1, int row2, int col2);
    // The end of the chain: the chain's coupler lines unloaded, the no-more-hints sound,
    // "No more logical hints..." in the message line, no penalty; ends the request.
    void End_Of_Chain();
    // Reports the wrong cell `cellIndex` (red, the wrong-cell text and sound, no penalty) and
    // ends the request.
    void Wrong_Cell(int cellIndex);

    // True once a hit, the wrong-cell report or the end of the chain has ended the request.
    bool Ended() const { return outcome_.result != HintResult::Nothing; }
    const HintOutcome &Outcome() const { return outcome_; }

private:
    const LineTables &tables_;
    HintWindow &window_;
    HintOutcome outcome_;
};

// ---- The chain --------------------------------------------------------------------------

// The entry: one hint request on the puzzle on the board. A request without a puzzle in play
// (no puzzle shown yet, a finished one, or a board whose size the engine does not know)
// changes nothing and returns Nothing.
HintOutcome Show_Hint(const HintPuzzle &puzzle, const LineTables &tables, HintWindow &window);

// The second link: Uncovered cell(s) and Avoidable Duplicates; calls Hint_Forcing_Cells when
// none of its blocks finds a deduction.
void Hint_Uncovered_Cells(HintContext &ctx);

// The third link: the level-2 and level-3 techniques, through the links that follow it, and the
// end of the chain (hints/hint_forcing_cells.cpp).
void Hint_Forcing_Cells(HintContext &ctx);

} // namespace tl
