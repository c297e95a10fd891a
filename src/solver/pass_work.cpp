#include "solver/pass_work.h"

#include <cstring>
#include <utility>

namespace tl {

std::uint64_t StreamSeed(std::uint64_t runSeed, long board, int pass)
{
    return SplitMix64(SplitMix64(SplitMix64(runSeed) ^ static_cast<std::uint64_t>(board)) ^
                      static_cast<std::uint64_t>(pass + 1));
}

void FinishedGrids::useBoard(const std::vector<std::int32_t> &board, int n, int level)
{
    if (n == n_ && level == level_ && board == board_)
        return;
    board_ = board;
    n_ = n;
    level_ = level;
    have_.fill(false);
    noted_.fill(Rows{});
    pendingCount_ = 0;
}

const std::int32_t *FinishedGrids::lookup(const BoardBits &bits)
{
    const int empty = bits.emptyCount;
    if (empty < 0 || empty >= kCounts || bits.n != n_ || bits.odd != 0 ||
        pendingCount_ >= kCounts)
        return nullptr;
    // Row keys tell lines apart exactly (zeros in the low 14 bits, ones above), so two grids
    // are equal exactly when all their keys are. Four rows are worked out and compared at once.
    static_assert(std::tuple_size_v<decltype(bits.rowZero)> == 14 &&
                  std::tuple_size_v<decltype(bits.rowOne)> == 14);
    const std::uint32_t *zero = bits.rowZero.data(), *one = bits.rowOne.data();
    auto quad = [](const std::uint32_t *p) {
        Quad q;
        std::memcpy(&q, p, sizeof q);
        return q;
    };
    Rows &rows = noted_[empty];
    rows[0] = quad(zero) | (quad(one) << 14);
    rows[1] = quad(zero + 4) | (quad(one + 4) << 14);
    rows[2] = quad(zero + 8) | (quad(one + 8) << 14);
    rows[3] = Quad{zero[12], zero[13], 0, 0} | (Quad{one[12], one[13], 0, 0} << 14);
    if (have_[empty]) {
        const Rows &known = known_[empty];
        const Quad differ = (rows[0] ^ known[0]) | (rows[1] ^ known[1]) |
                            (rows[2] ^ known[2]) | (rows[3] ^ known[3]);
        if ((differ[0] | differ[1] | differ[2] | differ[3]) == 0)
            return board_.data();
    }
    pending_[pendingCount_++] = static_cast<std::int16_t>(empty);
    return nullptr;
}

void FinishedGrids::solved()
{
    for (int k = 0; k < pendingCount_; ++k) {
        const int empty = pending_[k];
        known_[empty] = noted_[empty];
        have_[empty] = true;
    }
    pendingCount_ = 0;
}

PassEvaluator::PassEvaluator(RatingSolver &solver)
    : solver_(solver), search_(solver.Tables(), random_, solver.Pump(), &solver.HaltGenerator)
{
}

void PassEvaluator::prepare(std::int16_t level, std::int16_t sizeIndex)
{
    const int n = SideOfSizeIndex(sizeIndex);
    solver_.GenLevel = level;
    solver_.GenSize = sizeIndex;
    solver_.GenGridSize = static_cast<std::int16_t>(n);
    solver_.GenLastCell = n * n - 1;
    solver_.GenCells.assign(static_cast<std::size_t>(n) * n, -1);
    search_.setSize(n);
    order_.resize(static_cast<std::size_t>(n) * n);
}

bool PassEvaluator::buildBoard(std::uint64_t runSeed, long board, FullBoard &out)
{
    random_.reseed(StreamSeed(runSeed, board, -1));
    const bool built = search_.Build_Full_Board(out.cells);
    out.attempts = search_.attempts();
    return built;
}

void PassEvaluator::runPass(std::uint64_t runSeed, long board, int pass, const FullBoard &full,
                            PassResult &out)
{
    RatingSolver &s = solver_;
    const int size = s.GenSize;
    const auto cells = static_cast<std::uint32_t>(s.GenLastCell + 1);
    // Every pass starts again from the full board, with a removal order of its own.
    for (std::uint32_t i = 0; i < cells; ++i) {
        s.GenCells[i] = static_cast<std::int16_t>(full.cells[i]);
        order_[i] = static_cast<std::int32_t>(i);
    }
    random_.reseed(StreamSeed(runSeed, board, pass));
    const int swaps = s.GenLastCell * 10;
    const BoundedDraw draw(cells);
    for (int k = 0; k < swaps; ++k) {
        const std::uint32_t a = draw(random_);
        const std::uint32_t b = draw(random_);
        std::swap(order_[a], order_[b]);
    }
    // Remove each clue in turn; keep it out only if the solver still finishes the board.
    //
    // Before solving, a trial looks for a second completion: flipping a rectangle of empty
    // cells with a corner at x into another valid full board that agrees with every clue. When
    // there is one, the solve would fail, so x goes back at once. Why: every technique of every
    // level writes only values that every completion of the grid holds. Levels 0 and 1 and the
    // level-2 forms use the rules alone (three equal neighbours, half of each kind, two equal
    // lines, valid-line tables); the couples, rectangles and chains of level 3 only join pairs
    // that must differ in every completion, and the sandwich forms avoid a copy of complete
    // lines, or of two lines equal but for a pair that must take one 0 and one 1 - all rules
    // of the puzzle, none an argument that the solution is unique. (The soundness tests check
    // each finder against every completion counted by brute force.) So both completions agree
    // with WorkGrid after every deduction, the grid can never be filled, and Solve_Puzzle, which
    // reports success only for a filled grid, returns false whatever the level limit. A halted
    // solve returns false as well. What the skipped solve would have changed is not read: the
    // counts are zeroed before each trial and before the rating, Rate is zeroed before the
    // rating, WorkGrid and the design record change only on success, and the solver's memos and
    // bit summary only speed up later solves without changing their answers. Only the event
    // pump runs fewer times (once per deduction of the skipped solve).
    //
    // A trial's solve also ends early when it meets a grid that an earlier trial's solve on
    // this board went through and then finished (FinishedGrids). Solve_Puzzle's course from a
    // grid depends on that grid alone (and on GenLevel and the side, fixed for the pass): each
    // step reads WorkGrid and writes one deduction; Rate and the counts are only raised, never
    // read by a step; the memos and bit summary answer as the grid itself would. So from that
    // grid this solve makes the deductions the earlier one made and reaches the same full
    // board, which passed the full-board check then: it succeeds, with the same WorkGrid. Only
    // solves that finished are noted, and the rating solve, whose Rate and counts are read,
    // always runs in full. The pump runs fewer times, and a stop asked for after the meeting
    // point (a moment chosen by a timer) is taken at the next trial instead.
    out.trials = 0;
    out.secondCompletions = 0;
    const bool quick = shortcuts && !solve;
    const int n = SideOfSizeIndex(s.GenSize);
    if (quick) {
        completion_.setSolution(full.cells.data(), n);
        finished_.useBoard(full.cells, n, s.GenLevel);
        s.KnownFinish = [this](const BoardBits &bits) { return finished_.lookup(bits); };
    }
    for (std::uint32_t k = 0; k < cells; ++k) {
        if (EventPump *p = s.Pump())
            p->pumpEvents();
        s.DuplicateCount[size] = 0;
        s.HeavyCount[size] = 0;
        const std::int32_t x = order_[k];
        s.GenCells[x] = -1;
        ++out.trials;
        if (quick) {
            completion_.setEmpty(x, true);
            if (completion_.rectangleFlip(x)) {
                ++out.secondCompletions;
                s.GenCells[x] = static_cast<std::int16_t>(full.cells[x]);
                completion_.setEmpty(x, false);
                continue;
            }
        }
        finished_.beginSolve();
        if (runSolve()) {
            if (quick)
                finished_.solved();
        } else {
            s.GenCells[x] = static_cast<std::int16_t>(full.cells[x]);
            if (quick)
                completion_.setEmpty(x, false);
        }
    }
    s.KnownFinish = nullptr;
    // Rate what is left.
    s.Rate = 0;
    s.DuplicateCount[size] = 0;
    s.HeavyCount[size] = 0;
    runSolve();
    out.cells.assign(s.GenCells.begin(), s.GenCells.end());
    out.rate = s.Rate;
    out.duplicates = s.DuplicateCount[size];
    out.heavy = s.HeavyCount[size];
    out.halted = s.HaltGenerator;
}

} // namespace tl
