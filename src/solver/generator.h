// The puzzle generator: makes a set of 100 puzzles of one level and one size and stores it.
//
// For every puzzle it builds a random full board (BoardSearch), removes clues in a random order
// as long as the rating solver can still finish the board within the set's level, rates the
// result and accepts or rejects it; Hard and Insane acceptance uses thresholds that adapt while
// the program runs. A board whose 20 removal passes are all rejected is dropped for a new one.
//
// The run talks to the window that started it only through GeneratorHost: its questions, the
// "Generator" settings key that lets an interrupted run be continued, the progress caption and
// bar, the Stop button and the storing of the finished records. The halt flag is the solver's
// HaltGenerator, which the Stop button sets; window events run through the solver's event pump.
// One random engine serves the whole run, seeded once at its start from the host.
#pragma once

#include "game/line_tables.h"
#include "game/puzzle_record.h"
#include "platform/seeded_random.h"
#include "platform/services.h"
#include "solver/board_search.h"
#include "solver/solver.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tl {

// What a generation run needs of the window that starts it.
class GeneratorHost {
public:
    virtual ~GeneratorHost() = default;
    // Modal questions of the run.
    virtual MessageBoxService &messages() = 0;
    // The settings store that keeps the resume key (application "Farrowdel", section
    // "Generator").
    virtual SettingsStore &settings() = 0;
    // The caption of the progress label (lblProgress).
    virtual void setProgressCaption(const std::string &caption) = 0;
    // The progress bar (ProgressBar1).
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    // Enables or disables the Stop button (cmdHaltGenerator).
    virtual void setHaltEnabled(bool enabled) = 0;
    // Copies records[0 .. toNr - fromNr] over puzzles fromNr..toNr of (level, sizeIndex) in the
    // stock in memory and writes that range to the stock file (Save_Stock_Range).
    virtual void storePuzzles(std::int16_t level, std::int16_t sizeIndex, std::int16_t fromNr,
                              std::int16_t toNr, const PuzzleRecord *records) = 0;
    // The seed of the run's random engine: a high-resolution clock in the game, a fixed value
    // in tools and tests.
    virtual std::uint64_t runSeed() = 0;
};

// Counts of the work done, for benchmarks and the stock tool.
struct GeneratorStats {
    long boards = 0;          // full boards built
    long boardAttempts = 0;   // board-search attempts (restarts included)
    long passes = 0;          // removal passes
    long rejectedPasses = 0;  // passes whose puzzle was rejected
    long accepted = 0;        // puzzles accepted
    long trials = 0;          // removal trials (one solve each)
};

// The level and size names shown to the user.
const char *GeneratorLevelName(int level);  // "Easy", "Medium", "Hard", "Insane"
const char *GeneratorSizeName(int sizeIndex); // "8x8", "10x10", "12x12", "14x14"
// The settings key of a level and size: "L1S1" .. "L4S4".
std::string GeneratorKey(int level, int sizeIndex);

class Generator {
public:
    static constexpr int kMaxPasses = 20;

    // `solver` rates the puzzles (it must know every level up to the sets' levels) and holds
    // the halt flag and the event pump; `thresholds` are the program's acceptance thresholds,
    // adapted by every run. All three must outlive the generator.
    Generator(RatingSolver &solver, GeneratorThresholds &thresholds, GeneratorHost &host);

    // The whole run for one set: questions, progress, puzzles, and storing at completion or
    // halt. Returns when the run is completed, halted or declined.
    void Generate_Puzzle_Set(std::int16_t &Level, std::int16_t &SizeIndex);

    // ---- Pieces of the run, also used by benchmarks ----------------------------------------
    // Sets the solver interface and the board search up for (level, sizeIndex).
    void prepare(std::int16_t level, std::int16_t sizeIndex);
    // Seeds the run's random engine.
    void seed(std::uint64_t seed) { random_.reseed(seed); }
    // One full board and up to 20 removal passes on it. True when a puzzle was accepted: then
    // `record` holds it with the given number and the thresholds have been moved on. False
    // when every pass was rejected or the halt flag ended the work.
    bool makePuzzle(PuzzleRecord &record, std::int16_t number);

    GeneratorStats stats;
    // The solve that the removal trials and the rating call; empty means the solver's own
    // Solve_Puzzle. Tests put a scripted solve here to steer ratings.
    std::function<bool()> solve;
    const GeneratorThresholds &thresholds() const { return thresholds_; }
    // The full board of the last puzzle attempt (CellIndex order, N x N cells).
    const std::vector<std::int32_t> &fullBoard() const { return board_; }

private:
    void pump();
    bool runSolve();
    // Applies the threshold change of a rejected pass / an accepted puzzle.
    void onRejected();
    void onAccepted();
    bool acceptable() const;
    void fillRecord(PuzzleRecord &record, std::int16_t number) const;

    RatingSolver &solver_;
    GeneratorThresholds &thresholds_;
    GeneratorHost &host_;
    SeededRandom random_{0};
    BoardSearch search_;
    std::vector<std::int32_t> board_;
    std::vector<std::int32_t> cellOrder_;
};

} // namespace tl
