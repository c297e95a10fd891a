// A generation run whose boards and passes are worked out by the pool's worker threads: the same
// set as on one thread, runs sharing a pool, Stop reaching the workers, and window events that
// keep running while they work.
#include "solver/generator.h"
#include "solver/pass_pool.h"

#include "game/line_tables.h"
#include "solver/solver.h"
#include "support/generator_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>

using namespace tl;
using tl::test::Rig;
using tl::test::sameThresholds;

namespace {

// What a run left behind that must not depend on the number of threads.
struct RunOutcome {
    std::map<int, PuzzleRecord> stock;
    long boards, passes, rejected;
    GeneratorThresholds thresholds;
    std::string key;
};

RunOutcome RunWith(int threads, int level, int size, int stopAfter, PassPool *pool = nullptr)
{
    Rig rig;
    rig.gen.threads = threads;
    rig.gen.pool = pool;
    if (stopAfter > 0)
        rig.stopAfterPuzzles(stopAfter);
    rig.run(level, size);
    return {rig.host.stock, rig.gen.stats.boards, rig.gen.stats.passes,
            rig.gen.stats.rejectedPasses, rig.thresholds,
            rig.key(GeneratorKey(level, size))};
}

} // namespace

TEST(GeneratorThreads, OneTwoAndEightThreadsMakeTheSameSet)
{
    // Whole Hard and Medium sets, and an Insane set stopped after its 12th puzzle: the same
    // records, the same boards and passes committed and the same thresholds at the end.
    const struct {
        int level, size, stopAfter;
    } cases[] = {{2, 0, 0}, {1, 1, 0}, {3, 0, 12}};
    for (const auto &c : cases) {
        const RunOutcome one = RunWith(1, c.level, c.size, c.stopAfter);
        ASSERT_EQ(one.stock.size(), c.stopAfter ? std::size_t(c.stopAfter) : 100u);
        for (int threads : {2, 8}) {
            SCOPED_TRACE("level " + std::to_string(c.level) + " size " + std::to_string(c.size) +
                         ", " + std::to_string(threads) + " threads");
            const RunOutcome many = RunWith(threads, c.level, c.size, c.stopAfter);
            ASSERT_EQ(many.stock.size(), one.stock.size());
            for (const auto &[n, r] : one.stock)
                EXPECT_EQ(many.stock.at(n), r) << "puzzle " << n;
            EXPECT_EQ(many.boards, one.boards);
            EXPECT_EQ(many.passes, one.passes);
            EXPECT_EQ(many.rejected, one.rejected);
            EXPECT_TRUE(sameThresholds(many.thresholds, one.thresholds));
            EXPECT_EQ(many.key, one.key);
        }
    }
}

TEST(GeneratorThreads, TwoRunsSharingOnePoolEachMakeTheirOneThreadSet)
{
    // Two runs of one level and different sizes at the same time, each on its own thread, on
    // the workers of one pool: a worker that goes from one run to the other must set itself up
    // for the other size, and each run makes the set it makes alone on one thread.
    const struct {
        int level, sizes[2], stopAfter;
    } cases[] = {{2, {0, 1}, 40}, {3, {0, 1}, 15}};
    for (const auto &c : cases) {
        SCOPED_TRACE("level " + std::to_string(c.level));
        RunOutcome one[2], shared[2];
        for (int k = 0; k < 2; ++k)
            one[k] = RunWith(1, c.level, c.sizes[k], c.stopAfter);
        {
            PassPool pool(SharedLineTables(), 4);
            std::thread other([&] { shared[1] = RunWith(1, c.level, c.sizes[1], c.stopAfter, &pool); });
            shared[0] = RunWith(1, c.level, c.sizes[0], c.stopAfter, &pool);
            other.join();
        }
        for (int k = 0; k < 2; ++k) {
            SCOPED_TRACE("size " + std::to_string(c.sizes[k]));
            ASSERT_EQ(shared[k].stock.size(), c.stopAfter ? std::size_t(c.stopAfter) : 100u);
            EXPECT_EQ(shared[k].stock, one[k].stock);
            EXPECT_EQ(shared[k].passes, one[k].passes);
            EXPECT_TRUE(sameThresholds(shared[k].thresholds, one[k].thresholds));
            EXPECT_EQ(shared[k].key, one[k].key);
        }
    }
}

TEST(GeneratorThreads, AfterStopTheWorkersSolvesEndAtOnce)
{
    // The one worker of the pool is held inside removal trial `trial` of an Easy pass while
    // Stop is pressed. The worker builds board 0 and then runs that board's first pass, the
    // one the run waits for, so its first solves are that pass's trials. Once it goes on, the
    // stop must have reached it: no solve begins after the stop with its halt flag clear, and
    // the pass comes back cut short at that trial, neither run on nor empty. So the run stores
    // the puzzle that the run on one thread, stopped as the same trial begins, stores.
    // Stop is pressed at the second pump after the worker was held, by then from the run's
    // wait for the held pass (the first may be the run's pump before it asks for board 0); the
    // worker is let go at the pump after that, which comes once that wait has seen the stop.
    for (const long trial : {2L, 11L, 40L}) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        Rig alone;
        alone.stopAtTrial(trial);
        alone.run(0, 0);
        ASSERT_EQ(alone.host.stock.size(), 1u);

        std::atomic<long> solves{0};
        std::atomic<bool> held{false}, stopPressed{false}, released{false}, timedOut{false};
        std::atomic<int> ranOn{0};
        Rig rig;
        auto pool = std::make_unique<PassPool>(SharedLineTables(), 1);
        rig.gen.pool = pool.get();
        rig.gen.solve = [&](RatingSolver &s) {
            if (stopPressed && !s.HaltGenerator)
                ++ranOn;
            if (++solves == trial) {
                held = true;
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
                while (!released) {
                    if (std::chrono::steady_clock::now() > deadline) {
                        timedOut = true;
                        break;
                    }
                    std::this_thread::yield();
                }
            }
            return s.Solve_Puzzle();
        };
        long heldCall = 0, haltCall = 0;
        rig.pump.onPump = [&](long call) {
            if (held && heldCall == 0) {
                heldCall = call;
            } else if (heldCall > 0 && haltCall == 0) {
                rig.solver.HaltGenerator = true;
                stopPressed = true;
                haltCall = call;
            } else if (haltCall > 0) {
                released = true;
            }
        };
        rig.run(0, 0);
        released = true;
        pool.reset(); // the held worker has finished its pass
        ASSERT_TRUE(held);
        EXPECT_FALSE(timedOut);
        EXPECT_EQ(ranOn, 0);
        EXPECT_EQ(rig.host.stock, alone.host.stock);
        EXPECT_EQ(rig.key("L1S1"), "1");
        EXPECT_TRUE(rig.solver.HaltGenerator);
    }
}

TEST(GeneratorThreads, StopDuringAParallelRunStoresThePuzzlesAcceptedBeforeItInOrder)
{
    // Stop pressed (in the run's event pump, as the Stop button does) while eight workers are
    // in the middle of passes: the stored records are the first ones of the same run left to
    // finish, numbered from 1, and the key holds their count. A pass cut short by the stop is
    // a rejected Hard pass, so only a pass that had finished before it may still be taken.
    const RunOutcome whole = RunWith(1, 2, 1, 0);
    for (int stopAt : {1, 6, 40}) {
        SCOPED_TRACE("stop after " + std::to_string(stopAt));
        Rig rig;
        rig.gen.threads = 8;
        int doneAtStop = -1;
        int pumpsAfter = 0;
        rig.pump.onPump = [&](long) {
            const int done = rig.host.progress.back();
            if (doneAtStop < 0 && done >= stopAt && ++pumpsAfter == 3) {
                doneAtStop = done;
                rig.solver.HaltGenerator = true;
            }
        };
        rig.run(2, 1);
        ASSERT_GE(doneAtStop, stopAt);
        ASSERT_EQ(rig.host.stored.size(), 1u);
        const auto &s = rig.host.stored[0];
        EXPECT_EQ(s.from, 1);
        EXPECT_GE(s.to, doneAtStop);
        EXPECT_LE(s.to, doneAtStop + 1);
        for (int n = 1; n <= s.to; ++n)
            EXPECT_EQ(s.records[n - 1], whole.stock.at(n)) << "puzzle " << n;
        EXPECT_EQ(rig.key("L3S2"), std::to_string(s.to));
        EXPECT_EQ(rig.host.progress.back(), 0);
        EXPECT_TRUE(rig.solver.HaltGenerator);
    }
}

TEST(GeneratorThreads, WindowEventsRunWhileTheWorkersWork)
{
    // Every solve on a worker waits for the run's event pump to run once more: the run can
    // only finish if its waits keep letting window events run.
    Rig rig;
    rig.gen.threads = 2;
    std::atomic<long> pumps{0};
    std::atomic<bool> starved{false}, stopped{false};
    rig.pump.onPump = [&](long) { ++pumps; };
    rig.gen.solve = [&](RatingSolver &s) {
        const long seen = pumps.load();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        // (Once the run is stopped it no longer waits for its workers: neither do they.)
        while (pumps.load() == seen && !starved && !stopped) {
            if (std::chrono::steady_clock::now() > deadline)
                starved = true;
            std::this_thread::yield();
        }
        return s.Solve_Puzzle();
    };
    rig.host.onProgress = [&](int v) {
        if (v == 2) {
            rig.solver.HaltGenerator = true;
            stopped = true;
        }
    };
    rig.run(0, 0);
    EXPECT_FALSE(starved);
    EXPECT_EQ(rig.host.stock.size(), 2u);

    // A worker may hold the pool's lock for long (the system can stop it there). One does so
    // here while it ends a run that was closed, for that run's `solve` goes with the run under
    // the lock: what the solve holds waits, as it goes, for three more pumps of the other run,
    // which is stopped once that wait is over. That run's committer wants the lock meanwhile;
    // it must keep letting events run while it looks for it, or the wait would run out.
    {
        struct WaitForPumps {
            WaitForPumps(std::atomic<long> &p, std::atomic<bool> &w, std::atomic<bool> &t)
                : pumps(p), waited(w), timedOut(t) {}
            WaitForPumps(const WaitForPumps &) = delete;
            std::atomic<long> &pumps;
            std::atomic<bool> &waited, &timedOut;
            ~WaitForPumps()
            {
                const long seen = pumps.load();
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
                while (pumps.load() < seen + 3 && !timedOut) {
                    if (std::chrono::steady_clock::now() > deadline)
                        timedOut = true;
                    std::this_thread::yield();
                }
                waited = true;
            }
        };
        PassPool pool(SharedLineTables(), 1);
        std::atomic<long> pumps{0};
        std::atomic<bool> waited{false}, timedOut{false};
        auto waiting = std::make_shared<WaitForPumps>(pumps, waited, timedOut);
        std::unique_ptr<PassSource> closing = pool.open(
            {0, 0, 1, 100, [waiting](RatingSolver &s) { return s.Solve_Puzzle(); }, nullptr, nullptr});
        waiting.reset(); // the run holds the last copy
        Rig other;
        other.gen.pool = &pool;
        other.pump.onPump = [&](long) {
            ++pumps;
            closing.reset(); // at the first pump, once the other run is open
            if (waited)
                other.solver.HaltGenerator = true;
        };
        other.run(0, 0);
        EXPECT_TRUE(waited);
        EXPECT_FALSE(timedOut);
    }
}
