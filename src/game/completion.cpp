#include "game/completion.h"

namespace tl {

bool IsSolved(const CellGrid &board, const CellGrid &solution, int lastCell)
{
    if (lastCell <= 0 || lastCell >= kGridCells)
        return false;
    for (int i = 0; i <= lastCell; ++i)
        if (board[static_cast<std::size_t>(i)] != solution[static_cast<std::size_t>(i)])
            return false;
    return true;
}

bool SlotHoldsPuzzle(const PuzzleRecord &slot, int level, int sizeIndex, const CellGrid &startBoard,
                     const CellGrid &solution)
{
    if (slot.Level != level || slot.SizeIndex != sizeIndex)
        return false;
    const int n = SideOfSizeIndex(sizeIndex);
    if (n == 0)
        return false;
    // The board holds the record's cells as read for play.
    const CellGrid start = CellValuesOf(slot.StartCells), sol = CellValuesOf(slot.SolutionCells);
    for (int i = 0; i < n * n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (start[k] != startBoard[k] || sol[k] != solution[k])
            return false;
    }
    return true;
}

BestTimeChoice DecideBestTime(bool playingDesign, int currentPlayer, std::int16_t bestMin,
                              std::int16_t bestSec, std::int32_t elapsed)
{
    BestTimeChoice c;
    if (playingDesign || currentPlayer <= 0 || elapsed < 0)
        return c;
    const std::int32_t stored = bestMin * 60 + bestSec;
    if (stored != 0 && elapsed >= stored)
        return c;
    c.record = true;
    c.minutes = static_cast<std::int16_t>(elapsed / 60);
    c.seconds = static_cast<std::int16_t>(elapsed % 60);
    return c;
}

namespace {
// The last two characters of the decimal text of v + 100: 5 gives "05", 125 gives "25". A
// field of a damaged stock record can make that text shorter than two characters; it is then
// padded with zeros rather than cut out of range.
std::string TwoDigits(int v)
{
    std::string s = std::to_string(v + 100);
    if (s.size() < 2)
        s.insert(0, 2 - s.size(), '0');
    return s.substr(s.size() - 2);
}
} // namespace

std::string BestTimeText(std::int16_t bestMin, std::int16_t bestSec, int bestPlayer, int playerCount,
                         const std::string &holderName)
{
    if ((bestMin > 0 || bestSec > 0) && bestPlayer >= 1 && bestPlayer <= playerCount)
        return "Best Time: " + TwoDigits(bestMin) + ":" + TwoDigits(bestSec) + " by " + holderName;
    return "Best Time: 00:00 (No Best Time Yet)";
}

} // namespace tl
