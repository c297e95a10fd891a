// The rating solver: finishes a board by logical deduction alone, one deduction at a time, and
// rates it by the highest technique level it needed.
//
// How it fits together
// --------------------
// * RatingSolver is a plain object owned by whoever solves (the game window for the generator
//   and the designer, each of the generator's worker threads, a test, a benchmark); there is no
//   process-wide solver state, so solvers on different threads never meet. Its public
//   members are the solver interface: the caller fills GenLevel, GenSize, GenGridSize,
//   GenLastCell and GenCells, zeroes Rate and the counts at GenSize when it wants a rating,
//   clears HaltGenerator, calls Solve_Puzzle() and reads the result, Rate, DuplicateCount[GenSize],
//   HeavyCount[GenSize] and WorkGrid. On success the solution is also copied into the
//   SolutionCells of the design record given to the constructor (if any).
// * Solve_Puzzle() lets the injected EventPump run once per deduction and gives up as soon as
//   HaltGenerator is set. The game passes a pump that reaches the window system at most every
//   10-20 ms; tests pass a FakeEventPump whose callback sets HaltGenerator on a chosen call.
// * The steps form a chain, one per level: Solve_Step_Basic (level 0) -> Solve_Step_Last_Of_Kind
//   (level 1) -> Solve_Step_Duplicates (level 2, which leads on to level 3). Each step tries its
//   techniques in a fixed order, storing each technique's label in TechniqueName before its
//   search; the first deduction is written into WorkGrid and the step returns true at once.
//   When nothing applies, a step returns false if GenLevel is its own level, and otherwise
//   raises Rate to the next level (never lowers it) and returns the next step's result. Steps
//   never pump events, never read HaltGenerator and never look for a full board.
// * Each technique is a finder (solver/finders.h): a free function that searches a read-only
//   GridView (through the OrientedGrid accessor for row and column forms) and reports a
//   Deduction. A step runs its finders on WorkGrid and writes the deduction with apply(). The
//   hint engine reuses the same finders on its own grid.
// * Adding the upper levels: the level-2 and level-3 finders live in their own files
//   (solver/level2*.cpp, solver/level3*.cpp, ...) next to finders.h-style headers of their
//   own; Solve_Step_Duplicates (solver/solve_step_duplicates.cpp) is the head of that part of
//   the chain and follows the same step convention, counting each level-2 deduction in
//   DuplicateCount[GenSize] and each level-3 deduction in HeavyCount[GenSize].
// * Speed: the generator solves once for every clue it tries to remove, so a solve allocates
//   nothing once WorkGrid has reached its size, and the finders work on the grid in place.
//   While a step runs, the solver keeps a bit summary of WorkGrid (solver/board_bits.h) in step
//   with every cell it writes: the level-0 scans and Avoidable Duplicates run on it, the loop
//   takes its count of empty cells from it, and the level-1 step answers a line from memory
//   when it has met the same cells before (both forms of Uncovered cell(s) depend on the
//   line's own cells alone; so do the couples of a line). Those memos forget by moving to a
//   new generation (solver/stamped_table.h), so a new solver, or one that moves to another
//   side, clears no tables; and the searches over valid lines meet only the lines that fit,
//   through the index that Init_Line_Tables builds with the lines (FittingIndex,
//   game/line_tables.h), which every copy of the tables shares: the window's own tables, the
//   shared ones and the tools' take the same path.
//   During Solve_Puzzle the summary lives for the whole solve, so WorkGrid belongs to the solve:
//   nothing else may write it while the solve runs.
#pragma once

#include "game/line_tables.h"
#include "game/puzzle_record.h"
#include "platform/services.h"
#include "solver/board_bits.h"
#include "solver/finders.h"
#include "solver/upper_finders.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace tl {

// The labels the solver stores in TechniqueName while it tries a technique.
namespace labels {
constexpr std::string_view kBorderingCentering = "Bordering and Centering";
constexpr std::string_view kOneKindLeftRow = "One kind left in row";
constexpr std::string_view kOneKindLeftColumn = "One kind left in column";
constexpr std::string_view kUncoveredRow = "Last of a kind in row (uncovered cells)";
constexpr std::string_view kUncoveredColumn = "Last of a kind in column (uncovered cells)";
constexpr std::string_view kAvoidableLastOfKind = "Avoidable last of a kind";
constexpr std::string_view kAvoidableForcingCell = "Avoidable forcing cell";
constexpr std::string_view kAlmostDuplicates = "Almost duplicates with in-between forcing cell";
constexpr std::string_view kRectangleLeftover = "Rectangle leading to leftover cell";
constexpr std::string_view kForcedRectangle = "Forced rectangle leading to leftover cell";
constexpr std::string_view kRectangleForcingCell = "Rectangle with in-between forcing cell";
constexpr std::string_view kAvoidableSandwich = "Avoidable sandwich";
constexpr std::string_view kChainedForcingCell = "Chained couples leading to in-between forcing cell";
constexpr std::string_view kChainedLeftover = "Chained couples leading to leftover cell";
} // namespace labels

// True when a full board of side n holds only 0s and 1s, every row and column holds n/2 of
// each with no three equal neighbours, and no two rows and no two columns are equal.
bool IsValidFullBoard(const std::int32_t *cells, int n);

class RatingSolver {
public:
    // `tables` must outlive the solver. `pump` (may be null) runs pending window events once per
    // deduction. `design` (may be null) receives the solution of every successful solve.
    RatingSolver(const LineTables &tables, EventPump *pump = nullptr, PuzzleRecord *design = nullptr);
    virtual ~RatingSolver() = default;
    RatingSolver(const RatingSolver &) = delete;
    RatingSolver &operator=(const RatingSolver &) = delete;

    // ---- The solver interface -------------------------------------------------------------
    std::int16_t GenLevel = 0;      // technique limit 0..3
    std::int16_t GenSize = 0;       // SizeIndex 0..3: the slot of the counts
    std::int16_t GenGridSize = 8;   // N
    std::int32_t GenLastCell = 63;  // N x N - 1
    std::vector<std::int16_t> GenCells;  // the clue grid, 0..GenLastCell; never changed here
    std::vector<std::int32_t> WorkGrid;  // the working grid, remade from GenCells every solve
    std::int16_t Rate = 0;               // highest level needed; only ever raised by the steps
    std::array<std::int16_t, 4> DuplicateCount{}; // level-2 deductions per SizeIndex
    std::array<std::int16_t, 4> HeavyCount{};     // level-3 deductions per SizeIndex
    bool HaltGenerator = true;           // true while no run is active or a stop was asked
    std::string_view TechniqueName;      // label of the technique being tried

    // Where the solution of a successful solve is copied (SolutionCells 0..GenLastCell).
    PuzzleRecord *DesignPuzzle = nullptr;

    // Optional (the generator's removal trials set it): asked once per deduction, before the
    // next one, with the bit summary of WorkGrid as it stands, unless HaltGenerator is set.
    // A board it returns is the full board that an earlier solve at this GenLevel reached from
    // this very grid; the solve then ends as that one did, with that board in WorkGrid (see
    // PassEvaluator::runPass for why that is the same end).
    std::function<const std::int32_t *(const BoardBits &)> KnownFinish;

    // Solves GenCells into WorkGrid within GenLevel. True when the board is filled and valid
    // (and then copied into DesignPuzzle). False when no technique up to GenLevel applies, when
    // HaltGenerator is (or becomes) set, when the interface does not describe a board of side
    // 8, 10, 12 or 14, when the filled board breaks the rules, when a step claims a deduction
    // without filling a cell, when the grid is changed under it during event processing, and
    // at once when it is entered again while it runs.
    bool Solve_Puzzle();

    // The chain of steps, each making at most one deduction on WorkGrid (see above). They
    // work on WorkGrid, which must hold GenGridSize x GenGridSize cells (else they return
    // false).
    bool Solve_Step_Basic();
    bool Solve_Step_Last_Of_Kind();
    // Level 2 (solver/solve_step_duplicates.cpp), handing over to level 3.
    virtual bool Solve_Step_Duplicates();
    // Level 3: rectangles and the avoidable sandwich, then chained couples, the end of the
    // chain. The hand-over between them stays within level 3 (no limit test, Rate untouched).
    bool Solve_Step_Rectangles();
    bool Solve_Step_Chained_Couples();
    // The forces-opposite tests on WorkGrid (row lineNr, or column lineNr, supplies the trial
    // value at pos1); false on a side without a table or arguments off the board.
    bool Gen_Row_Forces_Opposite(std::int32_t pos1, std::int32_t pos2, std::int32_t lineNr,
                                 std::int32_t pattern, std::int32_t mask) const;
    bool Gen_Col_Forces_Opposite(std::int32_t pos1, std::int32_t pos2, std::int32_t lineNr,
                                 std::int32_t pattern, std::int32_t mask) const;
    // The couple tables of the last level-3 call (RowPartner, ColPartner and their counts).
    const CoupleTables &Couples() const { return couples_; }

    const LineTables &Tables() const { return tables_; }
    EventPump *Pump() const { return pump_; }
    // True while Solve_Puzzle is running.
    bool Running() const { return running_; }

protected:
    // A view of WorkGrid as it stands.
    GridView WorkView() const { return GridView{WorkGrid.data(), GenGridSize}; }
    // True when WorkGrid holds a board of a supported side that agrees with GenGridSize.
    bool WorkGridUsable() const;
    // Writes a deduction into WorkGrid; returns the number of cells that changed.
    int Apply(const Deduction &d);

private:
    friend struct BitsSession;
    // Writes a level-2 or level-3 deduction and counts it in `counts`[GenSize].
    bool applyCounted(const Deduction &d, std::array<std::int16_t, 4> &counts);
    // Writes one cell of WorkGrid.
    void setCell(int index, std::int32_t value);
    // The end of the level-0 step when none of its techniques applies: on to level 1 if the
    // limit allows.
    bool basicFoundNothing();
    // The summaries of every row and every column of WorkGrid as it stands, for the upper
    // levels' finders (from the bit summary while it is live).
    struct LineScans {
        std::array<LineScan, 14> rows, cols;
    };
    void scanLines(LineScans &out) const;
    // The two forms of Uncovered cell(s) in one orientation, each line answered from the
    // memo of its form when it has met the same cells before.
    bool uncoveredByCounting(const OrientedGrid &g, Deduction &d);
    bool uncoveredByValidLines(const OrientedGrid &g, Deduction &d);
    bool examineRemembered(const OrientedGrid &g, int line, LineMemo &memo,
                           bool (*examine)(const OrientedGrid &, int, std::uint32_t, const LineTables &,
                                           Deduction &),
                           Deduction &d);

    const LineTables &tables_;
    EventPump *pump_;
    bool running_ = false;
    CoupleTables couples_{};
    CoupleMemo coupleMemo_{};
    // Set by the rectangles step when it hands over: the couple tables it built on entry are
    // those of the unchanged grid, so the chained-couples step need not build them again.
    bool couplesCurrent_ = false;

    // The bit summary of WorkGrid; valid while bitsLive_ is set (during Solve_Puzzle, or during
    // a step called on its own).
    BoardBits bits_{};
    bool bitsLive_ = false;
    // The grid the last solve started from and its summary, scans brought up to date: the
    // next solve's grid mostly differs from it in a cell or two (the generator removes one clue
    // per solve), so its summary is made from this one by those changes.
    std::vector<std::int32_t> startGrid_;
    BoardBits startBits_{};
    // Makes bits_ the summary of WorkGrid, a grid of side n, through startBits_.
    void summariseStart(int n);
    // What each form of Uncovered cell(s) decided for the lines met so far.
    LineMemo countingMemo_, validMemo_;
};

} // namespace tl
