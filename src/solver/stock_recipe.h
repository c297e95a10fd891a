// How the game's pristine stock is made: the stock seed, the seed of each set derived from it,
// and one set made without a window, exactly as the stock tool makes it. The stock tool and the
// test that pins the shipped stock both use these, so the test remakes the very sets the tool
// made.
#pragma once

#include "game/puzzle_record.h"
#include "solver/generator.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace tl {

// The seed the shipped stock was made from.
constexpr std::uint64_t kStockSeed = 20260101;

// The run seed of one set: a fixed mix of the stock seed, the level and the size.
std::uint64_t StockSetSeed(std::uint64_t stockSeed, int level, int sizeIndex);

struct StockSet {
    std::vector<PuzzleRecord> records; // puzzles 1..100 of the set, in order
    GeneratorStats stats;
    bool complete = false;             // all 100 were made
};

// Makes one set of the stock: the generator's whole set run for (level, sizeIndex) from the
// set's own seed, with the starting acceptance thresholds and a solver of its own, its passes
// worked out by `pool` (null: on the calling thread alone). The records are the same either
// way. `progress` (may be empty) hears the number of puzzles done after each one. Safe to call
// from several threads at once.
StockSet MakeStockSet(std::uint64_t stockSeed, int level, int sizeIndex, PassPool *pool = nullptr,
                      const std::function<void(int)> &progress = {});

} // namespace tl
