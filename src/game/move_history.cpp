#include "game/move_history.h"

namespace tl {

void MoveHistory::clear()
{
    Moves.assign(1, 0);
    MovePos = 0;
    MoveTop = 0;
}

void MoveHistory::record(std::int32_t cell)
{
    MovePos += 1;
    MoveTop = MovePos;
    Moves.resize(static_cast<std::size_t>(MovePos) + 1);
    Moves[static_cast<std::size_t>(MovePos)] = cell;
}

MoveHistory::Run MoveHistory::undoRun()
{
    Run run;
    if (MovePos < 1)
        return run;
    run.cell = Moves[static_cast<std::size_t>(MovePos)];
    while (MovePos >= 1 && Moves[static_cast<std::size_t>(MovePos)] == run.cell) {
        --MovePos;
        ++run.steps;
    }
    return run;
}

MoveHistory::Run MoveHistory::redoRun()
{
    Run run;
    if (MovePos >= MoveTop)
        return run;
    run.cell = Moves[static_cast<std::size_t>(MovePos) + 1];
    do {
        ++MovePos;
        ++run.steps;
    } while (MovePos < MoveTop && Moves[static_cast<std::size_t>(MovePos) + 1] == run.cell);
    return run;
}

} // namespace tl
