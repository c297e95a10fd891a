// Playing a puzzle by hints alone, as a player who follows every hint would: ask for a hint,
// fill the marked cells with the solution's values, and ask again until the board is full or
// the chain has nothing more to say.
#pragma once

#include "hints/hint_engine.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tl::test {

struct HintPlay {
    bool finished = false; // the board was filled
    int hints = 0;         // requests that marked cells
    std::array<int, 13> perTechnique{}; // hits by Technique (Bordering = 0 ...)
    // The board on which the chain said "No more logical hints..." (or marked no empty cell).
    std::vector<std::int32_t> stuck;
    // Upper-level (level 2 and 3) hints whose marked cells were checked by `check`.
    int upperChecked = 0;
};

// Called with the board of a request and the CellIndex of every cell it marked.
using MarkCheck = void (*)(const std::vector<std::int32_t> &board, int n, int cellIndex,
                           void *user);

// Plays `start` (n x n, -1 empty) towards `solution` by hints. When `check` is given it is called
// for every cell marked by a level-2 or level-3 hint, with the board the hint was given on.
HintPlay PlayByHints(const std::vector<std::int32_t> &start, const std::vector<std::int32_t> &solution,
                     int n, MarkCheck check = nullptr, void *user = nullptr);

} // namespace tl::test
