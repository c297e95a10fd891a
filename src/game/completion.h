// Whether the board is solved, and whether its time is a new best time for the record of the
// puzzle that was played.
#pragma once

#include "game/puzzle_record.h"

#include <cstdint>
#include <string>

namespace tl {

// True when board[i] equals solution[i] for every i in 0..lastCell (and a puzzle is shown).
bool IsSolved(const CellGrid &board, const CellGrid &solution, int lastCell);

// True when `slot` still holds the puzzle that was put on the board: same level, size, given
// cells and solution on the N x N cells. A generation run may have replaced the record in the
// meantime; its new puzzle must not receive the time of the old one.
bool SlotHoldsPuzzle(const PuzzleRecord &slot, int level, int sizeIndex, const CellGrid &startBoard,
                     const CellGrid &solution);

struct BestTimeChoice {
    bool record = false;
    std::int16_t minutes = 0;
    std::int16_t seconds = 0;
};

// A finished game's time becomes the best time only for a named player on a stock puzzle, when
// there is no best time yet (0:00) or the time is strictly shorter than the stored one.
BestTimeChoice DecideBestTime(bool playingDesign, int currentPlayer, std::int16_t bestMin,
                              std::int16_t bestSec, std::int32_t elapsed);

// "Best Time: mm:ss by name" when the time is set and its holder 1..playerCount is on the roster,
// otherwise "Best Time: 00:00 (No Best Time Yet)". `holderName` is the trimmed name.
std::string BestTimeText(std::int16_t bestMin, std::int16_t bestSec, int bestPlayer, int playerCount,
                         const std::string &holderName);

} // namespace tl
