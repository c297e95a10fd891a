#include "support/hint_play.h"

#include "support/hint_boards.h"
#include "support/recording_hint_window.h"

namespace tl::test {

HintPlay PlayByHints(const std::vector<std::int32_t> &start, const std::vector<std::int32_t> &solution,
                     int n, MarkCheck check, void *user)
{
    HintPlay play;
    HintBoard b = HintBoardFrom(start, solution, n);
    CellGrid &board = b.board;
    const CellGrid &sol = b.solution;
    const HintPuzzle puzzle = b.Puzzle();
    for (;;) {
        int empty = 0;
        for (int i = 0; i < n * n; ++i)
            empty += board[i] == -1;
        if (empty == 0) {
            play.finished = true;
            return play;
        }
        RecordingHintWindow window;
        const HintOutcome o = Show_Hint(puzzle, SharedLineTables(), window);
        if (o.result != HintResult::Hinted) {
            play.stuck.assign(board.begin(), board.begin() + n * n);
            return play;
        }
        ++play.hints;
        ++play.perTechnique[static_cast<int>(o.technique)];
        const std::vector<int> marked = window.Coloured(kHintedCellColour);
        const bool upper = TechniqueLevel(o.technique) >= 2;
        if (check && upper) {
            const std::vector<std::int32_t> before(board.begin(), board.begin() + n * n);
            for (const int gridIndex : marked)
                check(before, n, (gridIndex / kMaxSide) * n + gridIndex % kMaxSide, user);
            ++play.upperChecked;
        }
        int filled = 0;
        for (const int gridIndex : marked) {
            const int i = (gridIndex / kMaxSide) * n + gridIndex % kMaxSide;
            filled += board[i] == -1;
            board[i] = sol[i];
        }
        if (filled == 0) { // a hint that solves nothing would be asked for again forever
            play.stuck.assign(board.begin(), board.begin() + n * n);
            return play;
        }
    }
}

} // namespace tl::test
