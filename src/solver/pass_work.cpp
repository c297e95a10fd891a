#include "solver/pass_work.h"

#include <utility>

namespace tl {

std::uint64_t StreamSeed(std::uint64_t runSeed, long board, int pass)
{
    return SplitMix64(SplitMix64(SplitMix64(runSeed) ^ static_cast<std::uint64_t>(board)) ^
                      static_cast<std::uint64_t>(pass + 1));
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
    for (int k = 0; k < swaps; ++k) {
        const std::uint32_t a = random_.below(cells);
        const std::uint32_t b = random_.below(cells);
        std::swap(order_[a], order_[b]);
    }
    // Remove each clue in turn; keep it out only if the solver still finishes the board.
    out.trials = 0;
    for (std::uint32_t k = 0; k < cells; ++k) {
        if (EventPump *p = s.Pump())
            p->pumpEvents();
        s.DuplicateCount[size] = 0;
        s.HeavyCount[size] = 0;
        const std::int32_t x = order_[k];
        s.GenCells[x] = -1;
        ++out.trials;
        if (!runSolve())
            s.GenCells[x] = static_cast<std::int16_t>(full.cells[x]);
    }
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
