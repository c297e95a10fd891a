// The puzzle generator: makes a set of 100 puzzles of one level and one size and stores it.
//
// For every puzzle it builds a random full board, removes clues in a random order as long as
// the rating solver can still finish the board within the set's level, rates the result and
// accepts or rejects it; Hard and Insane acceptance uses thresholds that adapt while the
// program runs. A board whose 20 removal passes are all rejected is dropped for a new one.
//
// The boards and passes are worked out by a PassSource (solver/pass_pool.h): on the calling
// thread, or ahead of time on worker threads, one per core by default. Each has a random stream
// of its own derived from the run's seed (solver/pass_work.h), and the run itself (this class)
// walks them strictly in order, applying the acceptance rules, the threshold moves and the
// pass limit, so the set made from a seed is the same whatever the number of threads.
//
// The run talks to the window that started it only through GeneratorHost: its questions, the
// "Generator" settings key that lets an interrupted run be continued, the progress caption and
// bar, the Stop button and the storing of the finished records. The halt flag is the solver's
// HaltGenerator, which the Stop button sets; window events run through the solver's event pump,
// on the thread that called the run, which is also where the run starts and ends.
#pragma once

#include "game/line_tables.h"
#include "game/puzzle_record.h"
#include "platform/services.h"
#include "solver/pass_pool.h"
#include "solver/pass_work.h"
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
    long trials = 0;          // removal trials
    long secondCompletions = 0; // trials put back on a second completion, without a solve
    // Passes worked out, including those worked out ahead of time and then not needed.
    long evaluatedPasses = 0;
};

// The level and size names shown to the user.
const char *GeneratorLevelName(int level);  // "Easy", "Medium", "Hard", "Insane"
const char *GeneratorSizeName(int sizeIndex); // "8x8", "10x10", "12x12", "14x14"
// The settings key of a level and size: "L1S1" .. "L4S4".
std::string GeneratorKey(int level, int sizeIndex);

class Generator {
public:
    static constexpr int kMaxPasses = kPassesPerBoard;

    // `solver` holds the halt flag and the event pump and rates the puzzles when the run works
    // on its own thread; `thresholds` are the program's acceptance thresholds, adapted by every
    // run. All three must outlive the generator.
    Generator(RatingSolver &solver, GeneratorThresholds &thresholds, GeneratorHost &host);

    // The whole run for one set: questions, progress, puzzles, and storing at completion or
    // halt. Returns when the run is completed, halted or declined.
    void Generate_Puzzle_Set(std::int16_t &Level, std::int16_t &SizeIndex);

    // Threads that work out boards and passes: 1 works on the calling thread alone; more start
    // that many workers for the run. Ignored while `pool` is set.
    int threads = AllCores();
    // A pool shared with other runs (a tool making many sets at once); it must outlive the runs.
    PassPool *pool = nullptr;

    GeneratorStats stats;
    // The solve that the removal trials and the rating call, given the solver that works the
    // pass out; empty means that solver's own Solve_Puzzle. Tests put a scripted solve here.
    std::function<bool(RatingSolver &)> solve;
    const GeneratorThresholds &thresholds() const { return thresholds_; }

private:
    void pump();
    // Applies the threshold change of a rejected pass / an accepted puzzle.
    void onRejected(const PassResult &r);
    void onAccepted();
    bool acceptable(const PassResult &r) const;

    RatingSolver &solver_;
    GeneratorThresholds &thresholds_;
    GeneratorHost &host_;
};

} // namespace tl
