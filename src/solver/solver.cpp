#include "solver/solver.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <typeinfo>

namespace tl {

namespace {

bool supportedSide(int n)
{
    return n == 8 || n == 10 || n == 12 || n == 14;
}

// Clears a flag when it leaves scope, whichever way the solve ends.
struct RunningGuard {
    bool &flag;
    explicit RunningGuard(bool &f) : flag(f) { flag = true; }
    ~RunningGuard() { flag = false; }
};

} // namespace

bool IsValidFullBoard(const std::int32_t *cells, int n)
{
    if (!supportedSide(n))
        return false;
    std::array<std::uint32_t, 14> rowBits{}, colBits{};
    for (int r = 0; r < n; ++r) {
        std::uint32_t row = 0;
        for (int c = 0; c < n; ++c) {
            const std::int32_t v = cells[r * n + c];
            if (static_cast<std::uint32_t>(v) > 1u)
                return false;
            const auto bit = static_cast<std::uint32_t>(v);
            row |= bit << c;
            colBits[c] |= bit << r;
        }
        rowBits[r] = row;
    }
    const std::uint32_t all = (1u << n) - 1;
    auto validLine = [&](std::uint32_t ones) {
        // Half ones (counted without a library call), and no three equal neighbours.
        std::uint32_t count = ones - ((ones >> 1) & 0x5555u);
        count = (count & 0x3333u) + ((count >> 2) & 0x3333u);
        count = (count + (count >> 4)) & 0x0F0Fu;
        count = (count + (count >> 8)) & 0x1Fu;
        const std::uint32_t zeros = ~ones & all;
        return count == static_cast<std::uint32_t>(n / 2) && (ones & (ones >> 1) & (ones >> 2)) == 0 &&
               (zeros & (zeros >> 1) & (zeros >> 2)) == 0;
    };
    for (int a = 0; a < n; ++a) {
        if (!validLine(rowBits[a]) || !validLine(colBits[a]))
            return false;
        for (int b = 0; b < a; ++b) {
            if (rowBits[a] == rowBits[b] || colBits[a] == colBits[b])
                return false;
        }
    }
    return true;
}

RatingSolver::RatingSolver(const LineTables &tables, EventPump *pump, PuzzleRecord *design)
    : DesignPuzzle(design), tables_(tables), pump_(pump)
{
}

bool RatingSolver::WorkGridUsable() const
{
    return supportedSide(GenGridSize) &&
           WorkGrid.size() == static_cast<std::size_t>(GenGridSize) * GenGridSize;
}

// Makes the bit summary of WorkGrid live for as long as it exists, building it first unless a
// solve or an outer step already keeps it.
struct BitsSession {
    RatingSolver &solver;
    const bool owner;
    explicit BitsSession(RatingSolver &s) : solver(s), owner(!s.bitsLive_)
    {
        if (owner) {
            solver.bits_.build(solver.WorkGrid.data(), solver.GenGridSize);
            solver.bitsLive_ = true;
        }
    }
    ~BitsSession()
    {
        if (owner)
            solver.bitsLive_ = false;
    }
    BitsSession(const BitsSession &) = delete;
    BitsSession &operator=(const BitsSession &) = delete;
};

int RatingSolver::Apply(const Deduction &d)
{
    int changed = 0;
    for (int k = 0; k < d.count; ++k) {
        std::int32_t &cell = WorkGrid[d.cells[k]];
        if (cell != d.values[k]) {
            if (bitsLive_)
                bits_.change(d.cells[k], cell, d.values[k]);
            ++changed;
            cell = d.values[k];
        }
    }
    return changed;
}

void RatingSolver::setCell(int index, std::int32_t value)
{
    std::int32_t &cell = WorkGrid[index];
    if (cell != value) {
        if (bitsLive_)
            bits_.change(index, cell, value);
        cell = value;
    }
}

bool RatingSolver::Solve_Puzzle()
{
    // A request made from inside the event processing of a running solve is refused: the
    // running solve owns WorkGrid.
    if (running_)
        return false;
    RunningGuard guard(running_);

    // The grid this solve works on; the interface must describe it consistently.
    const int n = GenGridSize;
    const std::int32_t last = GenLastCell;
    if (!supportedSide(n) || last != n * n - 1 || GenCells.size() < static_cast<std::size_t>(last) + 1)
        return false;
    const std::size_t cellCount = static_cast<std::size_t>(last) + 1;

    WorkGrid.resize(cellCount);
    // Copied in blocks of a fixed length, which the compiler turns into vector moves.
    {
        constexpr std::size_t kBlock = 8;
        std::size_t i = 0;
        for (; i + kBlock <= cellCount; i += kBlock) {
            for (std::size_t k = 0; k < kBlock; ++k)
                WorkGrid[i + k] = GenCells[i + k];
        }
        for (; i < cellCount; ++i)
            WorkGrid[i] = GenCells[i];
    }
    if (HaltGenerator)
        return false;
    // The bit summary follows WorkGrid through every deduction of this solve.
    summariseStart(n);
    RunningGuard live(bitsLive_);

    for (;;) {
        if (pump_)
            pump_->pumpEvents();
        // Event processing may have handed the interface a different board; this solve never
        // reaches past the grid it started with.
        if (GenGridSize != n || GenLastCell != last || WorkGrid.size() != cellCount)
            return false;

        bool full = bits_.emptyCount == 0, checked = false;
        if (!full && KnownFinish && !HaltGenerator) {
            // The earlier solve's board passed the check below when that solve reached it.
            if (const std::int32_t *finished = KnownFinish(bits_)) {
                std::copy(finished, finished + cellCount, WorkGrid.begin());
                full = checked = true;
            }
        }
        if (full) {
            // A full board counts as solved only when it keeps every rule. The grid itself is
            // checked, not its summary, so that the answer holds even if something outside the
            // steps wrote into WorkGrid during event processing.
            if (!checked && !IsValidFullBoard(WorkGrid.data(), n))
                return false;
            if (DesignPuzzle) {
                for (std::size_t i = 0; i < cellCount; ++i)
                    DesignPuzzle->SolutionCells[i] = static_cast<std::int16_t>(WorkGrid[i]);
            }
            return true;
        }

        const int emptyBefore = bits_.emptyCount;
        if (!Solve_Step_Basic())
            return false;
        // Every deduction fills at least one cell; a step that claims one without filling a
        // cell would make this loop run for ever.
        if (WorkGrid.size() != cellCount || bits_.emptyCount >= emptyBefore)
            return false;
        if (HaltGenerator)
            return false;
    }
}

void RatingSolver::summariseStart(int n)
{
    const std::size_t count = static_cast<std::size_t>(n) * n;
    if (startBits_.n != n || startGrid_.size() != count) {
        startGrid_.assign(WorkGrid.begin(), WorkGrid.begin() + count);
        startBits_.build(startGrid_.data(), n);
    } else {
        // A solve's grid differs from the last one's in a cell or two: blocks of eight cells
        // that are equal as a whole are passed over with one comparison.
        auto noteChanges = [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i) {
                if (WorkGrid[i] != startGrid_[i]) {
                    startBits_.change(static_cast<int>(i), startGrid_[i], WorkGrid[i]);
                    startGrid_[i] = WorkGrid[i];
                }
            }
        };
        constexpr std::size_t kBlock = 8;
        std::size_t i = 0;
        for (; i + kBlock <= count; i += kBlock) {
            if (std::memcmp(&WorkGrid[i], &startGrid_[i], kBlock * sizeof(std::int32_t)) != 0)
                noteChanges(i, i + kBlock);
        }
        noteChanges(i, count);
    }
    // The scans' entries depend on the grid alone: worked out once here, they serve every
    // solve that starts from this grid.
    for (auto scan : {BoardBits::kBorderRows, BoardBits::kBorderCols, BoardBits::kCenterRows,
                      BoardBits::kCenterCols})
        startBits_.firstRows(scan);
    bits_ = startBits_;
}

bool RatingSolver::Solve_Step_Basic()
{
    if (!WorkGridUsable())
        return false;
    const BitsSession session(*this);
    // The bit searches hold for grids of -1, 0 and 1; anything else goes to the finders.
    if (bits_.odd == 0) {
        CellSetting s;
        const LevelZeroFind found = BitsLevelZero(bits_, s);
        switch (found) {
        case LevelZeroFind::BorderingCentering:
            TechniqueName = labels::kBorderingCentering;
            break;
        case LevelZeroFind::OneKindLeftRow:
            TechniqueName = labels::kOneKindLeftRow;
            break;
        case LevelZeroFind::OneKindLeftColumn:
        case LevelZeroFind::None: // the label of the last step tried
            TechniqueName = labels::kOneKindLeftColumn;
            break;
        }
        if (found != LevelZeroFind::None) {
            setCell(s.index, s.value);
            return true;
        }
        return basicFoundNothing();
    }
    const GridView view = WorkView();
    const OrientedGrid rows(view, Orientation::Rows);
    const OrientedGrid cols(view, Orientation::Columns);
    Deduction d;
    auto found = [&](bool (*onGrid)(const OrientedGrid &, Deduction &), bool columns) {
        if (!onGrid(columns ? cols : rows, d))
            return false;
        Apply(d);
        return true;
    };

    TechniqueName = labels::kBorderingCentering;
    if (found(FindBordering, false) || found(FindBordering, true) || found(FindCentering, false) ||
        found(FindCentering, true))
        return true;
    TechniqueName = labels::kOneKindLeftRow;
    if (found(FindOneKindLeft, false))
        return true;
    TechniqueName = labels::kOneKindLeftColumn;
    if (found(FindOneKindLeft, true))
        return true;
    return basicFoundNothing();
}

bool RatingSolver::basicFoundNothing()
{
    if (GenLevel <= 0)
        return false;
    if (Rate < 1)
        Rate = 1;
    return Solve_Step_Last_Of_Kind();
}

namespace {

// `key` is the line's BoardBits key: its zeros in the low 14 bits, its ones above them.
bool examineByCounting(const OrientedGrid &g, int line, std::uint32_t key, const LineTables &, Deduction &d)
{
    return ExamineLineBitsByCounting(g, line, key & 0x3FFFu, key >> 14, d);
}

bool examineByValidLines(const OrientedGrid &g, int line, std::uint32_t, const LineTables &tables,
                         Deduction &d)
{
    return ExamineLineByValidLines(g, line, tables, d);
}

} // namespace

bool RatingSolver::examineRemembered(const OrientedGrid &g, int line, LineMemo &memo,
                                     bool (*examine)(const OrientedGrid &, int, std::uint32_t,
                                                     const LineTables &, Deduction &),
                                     Deduction &d)
{
    const bool columns = IsColumns(g);
    const std::uint32_t key = columns ? bits_.colKey(line) : bits_.rowKey(line);
    if (memo.quiet(columns, line, key))
        return false;
    std::uint16_t zeros = 0, ones = 0;
    if (!memo.find(key, zeros, ones)) {
        const bool yields = examine(g, line, key, tables_, d);
        if (yields) {
            for (int k = 0; k < d.count; ++k)
                (d.values[k] ? ones : zeros) |= static_cast<std::uint16_t>(1u << g.posOf(d.cells[k]));
        } else {
            memo.setQuiet(columns, line, key);
        }
        memo.store(key, zeros, ones);
        return yields;
    }
    if ((zeros | ones) == 0) {
        memo.setQuiet(columns, line, key);
        return false;
    }
    // The remembered deduction, cells from the lowest position up as the forms report them.
    d.clear(Technique::UncoveredCells, g.orientation(), line);
    for (int p = 0; p < g.n(); ++p) {
        if ((zeros >> p) & 1u)
            d.add(g.index(line, p), 0);
        else if ((ones >> p) & 1u)
            d.add(g.index(line, p), 1);
    }
    return true;
}

bool RatingSolver::uncoveredByCounting(const OrientedGrid &g, Deduction &d)
{
    if (bits_.odd)
        return FindUncoveredByCounting(g, d);
    const bool columns = IsColumns(g);
    for (int line = 0; line < g.n(); ++line) {
        // Lines that yielded nothing with the cells they hold are passed over without a call.
        if (countingMemo_.quiet(columns, line, columns ? bits_.colKey(line) : bits_.rowKey(line)))
            continue;
        if (examineRemembered(g, line, countingMemo_, examineByCounting, d))
            return true;
    }
    return false;
}

bool RatingSolver::uncoveredByValidLines(const OrientedGrid &g, Deduction &d)
{
    if (bits_.odd)
        return FindUncoveredByValidLines(g, tables_, d);
    const int n = g.n();
    if (tables_.codes(n).empty())
        return false;
    // Lines are examined in the order in which a row-by-row walk meets their first empty cell.
    if (!IsColumns(g)) {
        for (int r = 0; r < n; ++r)
            if (bits_.rowEmpty[r] && !validMemo_.quiet(false, r, bits_.rowKey(r)) &&
                examineRemembered(g, r, validMemo_, examineByValidLines, d))
                return true;
        return false;
    }
    std::uint32_t examined = 0;
    for (int r = 0; r < n; ++r) {
        for (std::uint32_t m = bits_.rowEmpty[r] & ~examined; m; m &= m - 1) {
            const int c = std::countr_zero(m);
            examined |= 1u << c;
            if (!validMemo_.quiet(true, c, bits_.colKey(c)) &&
                examineRemembered(g, c, validMemo_, examineByValidLines, d))
                return true;
        }
    }
    return false;
}

bool RatingSolver::Solve_Step_Last_Of_Kind()
{
    if (!WorkGridUsable())
        return false;
    const BitsSession session(*this);
    const int n = GenGridSize;
    countingMemo_.prepare(n);
    validMemo_.prepare(n);
    const GridView view = WorkView();
    const OrientedGrid rows(view, Orientation::Rows);
    const OrientedGrid cols(view, Orientation::Columns);
    Deduction d;

    TechniqueName = labels::kUncoveredRow;
    if (uncoveredByCounting(rows, d)) {
        Apply(d);
        return true;
    }
    // The valid-line form runs on under the column label.
    TechniqueName = labels::kUncoveredColumn;
    if (uncoveredByCounting(cols, d) || uncoveredByValidLines(rows, d) ||
        uncoveredByValidLines(cols, d)) {
        Apply(d);
        return true;
    }
    TechniqueName = labels::kAvoidableLastOfKind;
    if (bits_.odd == 0) {
        CellSetting s;
        if (BitsAvoidableDuplicates(bits_, false, s) || BitsAvoidableDuplicates(bits_, true, s)) {
            setCell(s.index, s.value);
            return true;
        }
    } else if (FindAvoidableDuplicates(rows, d) || FindAvoidableDuplicates(cols, d)) {
        Apply(d);
        return true;
    }

    if (GenLevel <= 1)
        return false;
    if (Rate < 2)
        Rate = 2;
    const bool result = Solve_Step_Duplicates();
    // A level-2 step of a derived solver may write WorkGrid without going through Apply: the
    // summary that outlives this step is made again from the grid. This class's own steps
    // write through Apply, which keeps the summary in step.
    if (!session.owner && typeid(*this) != typeid(RatingSolver))
        bits_.build(WorkGrid.data(), n);
    return result;
}

} // namespace tl
