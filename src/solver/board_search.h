// The full-board search of the puzzle generator: a random complete board of N x N cells in
// which every row and column is a valid line and no two rows and no two columns are equal.
// Rows are drawn from the valid-line table of the size in a shuffled order and placed from the
// bottom row upwards by backtracking; a search that takes too many steps starts again with a
// new shuffle.
#pragma once

#include "game/line_tables.h"
#include "game/puzzle_record.h"
#include "platform/services.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tl {

class BoardSearch {
public:
    // Placements after which an attempt is abandoned and the order reshuffled.
    static constexpr int kStepLimit = 2500;

    // `*halt` (the run's halt flag) is read at the top of the search loop and after every
    // rejected candidate; the search ends without a board as soon as it is true. `pump` (may be null) lets window
    // events run once per pass of the search loop. `random` is the run's one random engine.
    BoardSearch(const LineTables &tables, RandomSource &random, EventPump *pump,
                const bool *halt);

    // Prepares the search for side n (8, 10, 12 or 14): the line table, its last index and the
    // number of swaps per shuffle.
    void setSize(int n);

    // Builds one full board into `board` (N x N cells, CellIndex order). Returns false, with
    // every cell -1, when the halt flag ended the search first.
    bool Build_Full_Board(std::vector<std::int32_t> &board);

    // Whether the candidate that RowChoice(row) designates may stand in `row` above the rows
    // already placed below it; records it in RowBits and updates ColumnBits.
    bool Row_Fits(int row);

    int gridSize() const { return n_; }
    std::int32_t GenLastLine = -1;
    int swapsPerShuffle() const { return swaps_; }

    // Working state, visible to tests.
    std::vector<std::int32_t> LineOrder;
    std::array<std::int32_t, kMaxSide> RowChoice{};
    std::array<std::int32_t, kMaxSide> RowBits{};
    std::array<std::int32_t, kMaxSide> ColumnBits{};

    // Attempts started by the last Build_Full_Board (1 when the first attempt succeeded).
    int attempts() const { return attempts_; }

    // Shuffles LineOrder in place with the size's number of swaps (each swap exchanges the
    // entries at two indexes drawn below GenLastLine + 1, the first index drawn first).
    void shuffle();

private:
    const LineTables &tables_;
    RandomSource &random_;
    EventPump *pump_;
    const bool *halt_;
    const std::vector<std::int32_t> *bits_ = nullptr;
    // The index of the order, per attempt. The columns are taken in groups of three (the last
    // group may be shorter); a pattern of a group asks each of its columns for a 0, a 1 or
    // anything (base-3 digits 1, 2, 0, the group's first column lowest), and bit k % 64 of
    // index_[((k / 64) * groups_ + g) * 27 + pattern] tells whether candidate k meets it.
    std::vector<std::uint64_t> index_;
    int groups_ = 0;
    int words_ = 0; // words of 64 candidates in the order
    // What the columns force on a candidate of the row being filled, as index entries of one
    // word (groups without a constraint left out), and whether they allow no candidate at all.
    std::array<int, (kMaxSide + 2) / 3> patternAt_{};
    int patterns_ = 0;
    bool noneAllowed_ = false;

    // Starts the index of the order LineOrder holds.
    void indexOrder();
    // Takes the values that the columns force on a candidate of the row being filled.
    void useForced(std::int32_t mustBeZero, std::int32_t mustBeOne);
    // The first candidate at or after `k` that holds every forced value, and GenLastLine when
    // no candidate below GenLastLine does.
    std::int32_t nextAllowed(std::int32_t k) const;
    // The candidates of word w (bit j = candidate 64 w + j) that hold every forced value.
    std::uint64_t allowedWord(int w) const;
    int n_ = 0;
    int swaps_ = 0;
    std::int32_t allOnes_ = 0;
    // Row_Fits's marks of the column values met (bit v % 64 of word v / 64), all clear between
    // calls.
    std::array<std::uint64_t, (1 << kMaxSide) / 64> columnSeen_{};
    int attempts_ = 0;
};

} // namespace tl
