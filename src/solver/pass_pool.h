// Worker threads that build the boards and run the removal passes of one or more set runs
// ahead of their committers.
//
// How it fits together
// --------------------
// * A set run's committer (Generator::Generate_Puzzle_Set) walks its boards and passes in
//   order and decides on each pass result by the acceptance rules; it asks a PassSource for
//   them. On one thread the source works each one out when asked (see generator.cpp); with a
//   pool the source is a run opened here, and the pool's workers have usually worked the
//   result out already.
// * Every board and pass depends only on the run's seed and its own indexes (pass_work.h), so
//   a worker may take any of them, and its result is the one the committer would have made
//   itself. Workers guess which ones the committer will need: a board's first pass whenever
//   the run still needs puzzles when it gets there, a later pass with the chance that all the
//   passes before it on that board are rejected, estimated from the run's passes so far. Each
//   takes the piece of work most likely to be needed, of any open run, looking a few boards
//   ahead of each committer; among equals the one its committer needs first, and the run
//   opened first. Work needed with a chance below one in ten is left alone.
// * The committer's waits let the window's events run (the run's event pump, every couple of
//   milliseconds) and watch its halt flag. It waits for results holding no lock, and never
//   waits for the pool's lock without pumping either: a worker that the system stops while it
//   holds the lock must not stop the window with it. Once the halt flag is set the run's
//   workers stop: the board or pass that the committer needs next comes back cut short by the
//   stop, exactly as it would have on one thread, and one that had not begun never begins.
// * Work that the committer no longer needs (the passes after an accepted one, the boards after
//   the last puzzle) is dropped, and a running piece of it stops at its next step.
#pragma once

#include "game/line_tables.h"
#include "platform/services.h"
#include "solver/pass_work.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tl {

// Where a set run's committer gets its boards and pass results from.
class PassSource {
public:
    virtual ~PassSource() = default;
    // Board `board`; null when the halt flag stopped the run before it was built.
    virtual const FullBoard *board(long board) = 0;
    // Pass `pass` of board `board`, asked in order after board(board); null when the halt flag
    // stopped the run before the pass began. A pass under way when the stop came returns cut
    // short.
    virtual const PassResult *pass(long board, int pass) = 0;
    // The committer is done with `board` after `passes` passes, the last one accepted or not.
    virtual void finishBoard(long board, int passes, bool accepted) = 0;
    // Passes worked out so far, dropped ones included.
    virtual long evaluatedPasses() const = 0;
};

// The number of threads a run uses unless told otherwise: one per core.
int AllCores();

class PassPool {
public:
    // `workers` threads (at least one), each with a solver on `tables`, which must outlive the
    // pool.
    PassPool(const LineTables &tables, int workers);
    ~PassPool();
    PassPool(const PassPool &) = delete;
    PassPool &operator=(const PassPool &) = delete;

    int workers() const { return static_cast<int>(workers_.size()); }

    struct RunSpec {
        std::int16_t level = 0;
        std::int16_t sizeIndex = 0;
        std::uint64_t seed = 0;
        int puzzles = 100; // puzzles the run still has to make
        std::function<bool(RatingSolver &)> solve; // see PassEvaluator::solve
        EventPump *pump = nullptr;   // run by the committer's waits (may be null)
        const bool *halt = nullptr;  // the committer's halt flag, read after each pump
    };
    // Opens a run. Its source must be used from one thread (the committer's) and be destroyed
    // before the pool; destroying it stops the run's work without waiting for it: a worker
    // that was in the middle of a piece of it stops at its next step, and until then it may
    // still call the run's `solve` (with the halt flag set), so whatever `solve` uses must live
    // as long as the pool.
    std::unique_ptr<PassSource> open(const RunSpec &request);

private:
    class Run;
    class Source;
    struct Board;
    struct Worker;
    struct Task;

    bool pickTask(Task &task);
    void work(Worker &w);

    // The committer, on the window's thread, never waits for it without letting window events
    // run (see Run::lockForCommitter).
    std::mutex mutex_;
    std::condition_variable workCv_; // workers wait here for work
    std::vector<std::shared_ptr<Run>> runs_; // open runs, oldest first
    std::vector<std::unique_ptr<Worker>> workers_;
    bool shutdown_ = false;
    int window_ = 0; // boards looked ahead of a committer
};

} // namespace tl
