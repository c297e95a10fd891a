#include "solver/generator.h"
#include "solver/pass_pool.h"

#include "game/line_tables.h"
#include "platform/fake/fakes.h"
#include "solver/solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <thread>

using namespace tl;

namespace {

const char *kConfirmEasy8 =
    "Please confirm generating a new puzzle set!\nLevel: Easy\nSize: 8x8\n\n"
    "Note that this will erase the old set including their best times.";

// The game window's side of a run, recorded.
class FakeHost : public GeneratorHost {
public:
    FakeMessageBox boxes;
    MemorySettings store;
    std::vector<std::string> captions;
    std::vector<int> maxima;
    std::vector<int> progress;
    std::vector<bool> haltEnabled;
    struct Stored {
        int level, sizeIndex, from, to;
        std::vector<PuzzleRecord> records;
    };
    std::vector<Stored> stored;
    // The set in "memory", by number, as the window's stock would hold it.
    std::map<int, PuzzleRecord> stock;
    std::uint64_t seed = 20240601;
    int seedRequests = 0;
    std::function<void(int)> onProgress;

    MessageBoxService &messages() override { return boxes; }
    SettingsStore &settings() override { return store; }
    void setProgressCaption(const std::string &c) override { captions.push_back(c); }
    void setProgressMaximum(int m) override { maxima.push_back(m); }
    void setProgressValue(int v) override
    {
        progress.push_back(v);
        if (onProgress)
            onProgress(v);
    }
    void setHaltEnabled(bool e) override { haltEnabled.push_back(e); }
    void storePuzzles(std::int16_t level, std::int16_t sizeIndex, std::int16_t fromNr,
                      std::int16_t toNr, const PuzzleRecord *records) override
    {
        Stored s{level, sizeIndex, fromNr, toNr, {}};
        for (int n = fromNr; n <= toNr; ++n) {
            s.records.push_back(records[n - fromNr]);
            stock[n] = records[n - fromNr];
        }
        stored.push_back(std::move(s));
    }
    std::uint64_t runSeed() override
    {
        ++seedRequests;
        return seed;
    }
};

struct Rig {
    GeneratorThresholds thresholds;
    GeneratorThresholds fresh;
    FakeEventPump pump;
    RatingSolver solver{SharedLineTables(), &pump};
    FakeHost host;
    Generator gen{solver, thresholds, host};

    // The rules of a run, one pass after the other on the test's thread: the pump runs once
    // per trial and per deduction, so a test can stop the run at a chosen moment.
    Rig()
    {
        LineTables unused;
        Init_Line_Tables(unused, thresholds);
        fresh = thresholds;
        gen.threads = 1;
    }
    void run(int level, int sizeIndex)
    {
        std::int16_t l = static_cast<std::int16_t>(level), s = static_cast<std::int16_t>(sizeIndex);
        gen.Generate_Puzzle_Set(l, s);
        EXPECT_EQ(l, level);
        EXPECT_EQ(s, sizeIndex);
    }
    void stopAfterPuzzles(int count)
    {
        host.onProgress = [this, count](int v) {
            if (v == count)
                solver.HaltGenerator = true;
        };
    }
    std::string key(const std::string &k) { return host.store.value("Generator", k); }
    // A scripted rating: every removal succeeds (stops return false as the solver would) and
    // every solve reports the counts `counts` gives.
    void scriptCounts(std::function<std::pair<int, int>()> counts)
    {
        gen.solve = [counts](RatingSolver &s) {
            if (s.HaltGenerator)
                return false;
            auto [dup, heavy] = counts();
            s.DuplicateCount[s.GenSize] = static_cast<std::int16_t>(dup);
            s.HeavyCount[s.GenSize] = static_cast<std::int16_t>(heavy);
            return true;
        };
    }
    // Sets the halt flag as removal trial `trial` of the run begins (the real solver solves).
    void stopAtTrial(long trial)
    {
        gen.solve = [this, trial, calls = 0L](RatingSolver &s) mutable {
            if (++calls == trial)
                s.HaltGenerator = true;
            return s.Solve_Puzzle();
        };
    }
};

bool sameThresholds(const GeneratorThresholds &a, const GeneratorThresholds &b)
{
    return a.DuplicateThreshold == b.DuplicateThreshold && a.HeavyThreshold == b.HeavyThreshold &&
           a.DuplicateMin == b.DuplicateMin && a.DuplicateMax == b.DuplicateMax &&
           a.HeavyMin == b.HeavyMin && a.HeavyMax == b.HeavyMax;
}

} // namespace

// ---- Questions and the resume key -------------------------------------------------------------

TEST(GeneratorRun, DecliningChangesNothing)
{
    Rig rig;
    rig.host.boxes.answers = {MsgAnswer::No};
    rig.run(0, 0);
    ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.host.boxes.shown[0].title, "Confirm Generator");
    EXPECT_EQ(rig.host.boxes.shown[0].text, kConfirmEasy8);
    EXPECT_EQ(rig.host.boxes.shown[0].icon, MsgIcon::None);
    EXPECT_EQ(rig.host.boxes.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(rig.host.captions.empty());
    EXPECT_TRUE(rig.host.progress.empty());
    EXPECT_TRUE(rig.host.haltEnabled.empty());
    EXPECT_TRUE(rig.host.stored.empty());
    EXPECT_TRUE(rig.host.store.writes.empty());
    EXPECT_TRUE(rig.solver.HaltGenerator);
    EXPECT_EQ(rig.pump.calls, 0);

    // Declining both the continuation and a new set keeps the interrupted run's count.
    Rig resumed;
    resumed.host.store.set("Farrowdel", "Generator", "L3S2", "37");
    resumed.host.store.writes.clear();
    resumed.host.boxes.answers = {MsgAnswer::No, MsgAnswer::No};
    resumed.run(2, 1);
    ASSERT_EQ(resumed.host.boxes.shown.size(), 2u);
    EXPECT_EQ(resumed.host.boxes.shown[0].title, "Continue previous task?");
    EXPECT_EQ(resumed.host.boxes.shown[0].text,
              "Previous Generator task was not completed.\nWould you like to continue?");
    EXPECT_EQ(resumed.host.boxes.shown[0].icon, MsgIcon::Question);
    EXPECT_EQ(resumed.host.boxes.shown[1].text,
              "Please confirm generating a new puzzle set!\nLevel: Hard\nSize: 10x10\n\n"
              "Note that this will erase the old set including their best times.");
    EXPECT_TRUE(resumed.host.store.writes.empty());
    EXPECT_EQ(resumed.key("L3S2"), "37");
    EXPECT_TRUE(resumed.host.stored.empty());
    EXPECT_TRUE(sameThresholds(resumed.thresholds, resumed.fresh));
}

TEST(GeneratorRun, ContinuingThirtySevenMakesPuzzles38To100)
{
    Rig rig;
    rig.host.store.set("Farrowdel", "Generator", "L1S1", "37");
    rig.host.boxes.answers = {MsgAnswer::Yes};
    rig.run(0, 0);
    ASSERT_EQ(rig.host.boxes.shown.size(), 1u); // no confirmation after continuing
    EXPECT_EQ(rig.host.captions, std::vector<std::string>{"Generating Easy 8x8"});
    EXPECT_EQ(rig.host.maxima, std::vector<int>{100});
    ASSERT_EQ(rig.host.progress.size(), 1u + 63u + 1u);
    EXPECT_EQ(rig.host.progress.front(), 37);
    EXPECT_EQ(rig.host.progress[1], 38);
    EXPECT_EQ(rig.host.progress[63], 100);
    EXPECT_EQ(rig.host.progress.back(), 0);
    EXPECT_EQ(rig.host.haltEnabled, (std::vector<bool>{true, false}));
    ASSERT_EQ(rig.host.stored.size(), 1u);
    const auto &s = rig.host.stored[0];
    EXPECT_EQ(s.level, 0);
    EXPECT_EQ(s.sizeIndex, 0);
    EXPECT_EQ(s.from, 38);
    EXPECT_EQ(s.to, 100);
    for (int n = 38; n <= 100; ++n) {
        EXPECT_EQ(s.records[n - 38].Number, n);
        EXPECT_EQ(s.records[n - 38].Level, 0);
        EXPECT_EQ(s.records[n - 38].SizeIndex, 0);
    }
    EXPECT_EQ(rig.key("L1S1"), "0");
    EXPECT_TRUE(rig.solver.HaltGenerator);
    EXPECT_EQ(rig.host.seedRequests, 1);
}

TEST(GeneratorRun, AResumedRunHaltedAgainStoresTheCountItReached)
{
    // Continued from 37 and stopped once puzzle 40 is done: puzzles 38 to 40 are written and
    // the key holds 40, the count reached (not the 3 made by this run).
    Rig rig;
    rig.host.store.set("Farrowdel", "Generator", "L1S1", "37");
    rig.host.boxes.answers = {MsgAnswer::Yes};
    rig.stopAfterPuzzles(40);
    rig.run(0, 0);
    ASSERT_EQ(rig.host.stored.size(), 1u);
    EXPECT_EQ(rig.host.stored[0].from, 38);
    EXPECT_EQ(rig.host.stored[0].to, 40);
    EXPECT_EQ(rig.host.stock.size(), 3u);
    EXPECT_EQ(rig.key("L1S1"), "40");
    EXPECT_EQ(rig.host.progress.front(), 37);
    EXPECT_EQ(rig.host.progress.back(), 0);
}

TEST(GeneratorRun, ResumeValueOutsideOneTo99MeansNoResume)
{
    for (const char *bad : {"-5", "0", "100", "250", "abc", "12x", "", "-32768"}) {
        Rig rig;
        rig.host.store.set("Farrowdel", "Generator", "L1S1", bad);
        rig.host.boxes.answers = {MsgAnswer::No};
        rig.run(0, 0);
        ASSERT_EQ(rig.host.boxes.shown.size(), 1u) << bad;
        EXPECT_EQ(rig.host.boxes.shown[0].title, "Confirm Generator") << bad;
        EXPECT_TRUE(rig.host.stored.empty()) << bad;
    }
    // A negative count neither skips the questions nor numbers puzzles from 0 or below.
    Rig rig;
    rig.host.store.set("Farrowdel", "Generator", "L1S1", "-5");
    rig.stopAfterPuzzles(2);
    rig.run(0, 0);
    ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.host.progress.front(), 0);
    ASSERT_EQ(rig.host.stored.size(), 1u);
    EXPECT_EQ(rig.host.stored[0].from, 1);
    EXPECT_EQ(rig.host.stored[0].to, 2);
    EXPECT_EQ(rig.host.stored[0].records[0].Number, 1);
    EXPECT_EQ(rig.key("L1S1"), "2");
}

// ---- Stop and the two endings -----------------------------------------------------------------

TEST(GeneratorRun, StopBeforeTheFirstNewPuzzleWritesNothingAndKeepsTheKey)
{
    Rig rig;
    rig.host.store.set("Farrowdel", "Generator", "L2S3", "37");
    rig.host.store.writes.clear();
    rig.host.boxes.answers = {MsgAnswer::Yes};
    rig.pump.onPump = [&](long call) {
        if (call == 30)
            rig.solver.HaltGenerator = true;
    };
    rig.run(1, 2);
    EXPECT_TRUE(rig.host.stored.empty());
    EXPECT_TRUE(rig.host.store.writes.empty());
    EXPECT_EQ(rig.key("L2S3"), "37");
    EXPECT_EQ(rig.host.haltEnabled, (std::vector<bool>{true, false}));
    EXPECT_EQ(rig.host.progress.back(), 0);
    EXPECT_TRUE(rig.solver.HaltGenerator);
}

TEST(GeneratorRun, StopAfterTwelveWritesThemAndStoresTwelve)
{
    Rig rig;
    rig.stopAfterPuzzles(12);
    rig.run(0, 0);
    ASSERT_EQ(rig.host.stored.size(), 1u);
    EXPECT_EQ(rig.host.stored[0].from, 1);
    EXPECT_EQ(rig.host.stored[0].to, 12);
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(rig.host.stock.at(n).Number, n);
    EXPECT_EQ(rig.host.stock.size(), 12u);
    EXPECT_EQ(rig.key("L1S1"), "12");
    EXPECT_EQ(rig.host.haltEnabled, (std::vector<bool>{true, false}));
    EXPECT_EQ(rig.host.progress.back(), 0);
    EXPECT_TRUE(rig.solver.HaltGenerator);
}

TEST(GeneratorRun, DecliningToContinueStartsAtOneAndKeepsTheOldKeyUntilTheEnd)
{
    Rig rig;
    rig.host.store.set("Farrowdel", "Generator", "L1S1", "37");
    rig.host.boxes.answers = {MsgAnswer::No, MsgAnswer::Yes};
    bool keyKept = true;
    rig.pump.onPump = [&](long) { keyKept = keyKept && rig.key("L1S1") == "37"; };
    rig.stopAfterPuzzles(3);
    rig.run(0, 0);
    EXPECT_TRUE(keyKept);
    ASSERT_EQ(rig.host.stored.size(), 1u);
    EXPECT_EQ(rig.host.stored[0].from, 1);
    EXPECT_EQ(rig.host.stored[0].to, 3);
    EXPECT_EQ(rig.key("L1S1"), "3");
}

TEST(GeneratorRun, RecordsAreHeldBackUntilTheRunEnds)
{
    // Nothing of the new set reaches the stock while the run goes on (a game or a best-time
    // reset meanwhile must not write into a half-made set); at the end the whole range goes in
    // one piece.
    Rig rig;
    bool storedEarly = false;
    rig.pump.onPump = [&](long) { storedEarly = storedEarly || !rig.host.stored.empty(); };
    rig.host.onProgress = [&](int v) {
        storedEarly = storedEarly || (v > 0 && !rig.host.stored.empty());
    };
    rig.run(0, 0);
    EXPECT_FALSE(storedEarly);
    ASSERT_EQ(rig.host.stored.size(), 1u);
    EXPECT_EQ(rig.host.stored[0].from, 1);
    EXPECT_EQ(rig.host.stored[0].to, 100);
    EXPECT_EQ(rig.host.stock.size(), 100u);
}

TEST(GeneratorRun, StopDuringTheRemovalOfAnEasyPassKeepsTheUntriedClues)
{
    Rig rig;
    rig.stopAtTrial(11);
    rig.run(0, 0);
    ASSERT_EQ(rig.host.stored.size(), 1u);
    const PuzzleRecord &r = rig.host.stored[0].records[0];
    int clues = 0;
    for (int i = 0; i < 64; ++i) {
        if (r.StartCells[i] != -1) {
            ++clues;
            EXPECT_EQ(r.StartCells[i], r.SolutionCells[i]);
        }
    }
    EXPECT_GE(clues, 54);
    EXPECT_EQ(rig.key("L1S1"), "1");
}

// ---- Acceptance and thresholds ----------------------------------------------------------------

TEST(GeneratorThresholdRules, InsaneRejectionWithoutLevelTwoChangesNothing)
{
    Rig rig;
    rig.scriptCounts([] { return std::pair{0, 5}; });
    rig.pump.onPump = [&](long) {
        if (rig.gen.stats.passes == 45)
            rig.solver.HaltGenerator = true;
    };
    rig.run(3, 1);
    EXPECT_GE(rig.gen.stats.rejectedPasses, 44);
    EXPECT_EQ(rig.gen.stats.accepted, 0);
    EXPECT_GE(rig.gen.stats.boards, 3); // 20 rejected passes drop a board for a new one
    EXPECT_TRUE(sameThresholds(rig.thresholds, rig.fresh));
    EXPECT_TRUE(rig.host.stored.empty());
}

TEST(GeneratorThresholdRules, ABoardGetsExactlyTwentyPassesBeforeANewOne)
{
    // Every pass rejected: each board takes exactly 20 passes, then a new board is built.
    Rig rig;
    rig.scriptCounts([] { return std::pair{0, 0}; });
    std::vector<long> passesAtNewBoard;
    long boards = 0;
    rig.pump.onPump = [&](long) {
        if (rig.gen.stats.boards != boards) {
            boards = rig.gen.stats.boards;
            passesAtNewBoard.push_back(rig.gen.stats.passes);
        }
        if (boards == 4)
            rig.solver.HaltGenerator = true;
    };
    rig.run(3, 0);
    ASSERT_EQ(passesAtNewBoard.size(), 4u);
    for (std::size_t b = 1; b < passesAtNewBoard.size(); ++b)
        EXPECT_EQ(passesAtNewBoard[b] - passesAtNewBoard[b - 1], 20) << "board " << b;
    EXPECT_EQ(rig.gen.stats.accepted, 0);
}

TEST(GeneratorThresholdRules, RejectionsLowerAndAcceptancesRaiseWithinFloorAndCap)
{
    // Hard 14 x 14 starts at 3: a rejected pass lowers it to the floor 2 and no further.
    Rig hard;
    hard.scriptCounts([] { return std::pair{0, 0}; });
    std::vector<int> seen;
    hard.pump.onPump = [&](long) {
        seen.push_back(hard.thresholds.DuplicateThreshold[3]);
        if (hard.gen.stats.passes == 4)
            hard.solver.HaltGenerator = true;
    };
    hard.run(2, 3);
    EXPECT_EQ(hard.thresholds.DuplicateThreshold[3], 2);
    EXPECT_EQ(*std::min_element(seen.begin(), seen.end()), 2);
    EXPECT_EQ(hard.thresholds.HeavyThreshold, hard.fresh.HeavyThreshold);

    // Insane accepted every time: both thresholds climb to their caps and stay there.
    Rig insane;
    insane.scriptCounts([] { return std::pair{9, 9}; });
    insane.stopAfterPuzzles(5);
    insane.run(3, 3);
    EXPECT_EQ(insane.thresholds.DuplicateThreshold[3], 4);
    EXPECT_EQ(insane.thresholds.HeavyThreshold[3], 4);
    EXPECT_EQ(insane.gen.stats.accepted, 5);
    // Only the slot of the size being generated moves.
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(insane.thresholds.DuplicateThreshold[s], insane.fresh.DuplicateThreshold[s]);
        EXPECT_EQ(insane.thresholds.HeavyThreshold[s], insane.fresh.HeavyThreshold[s]);
    }
    EXPECT_EQ(insane.host.stored[0].records[4].HeavyCount, 9);

    // Random ratings: every threshold stays between its floor and its cap after every pass.
    for (int level : {2, 3}) {
        for (int size = 0; size < 4; ++size) {
            Rig rig;
            SeededRandom counts(level * 10 + size);
            rig.scriptCounts([&] {
                return std::pair{static_cast<int>(counts.below(6)), static_cast<int>(counts.below(6))};
            });
            bool inRange = true;
            rig.pump.onPump = [&](long) {
                const auto &t = rig.thresholds;
                inRange = inRange && t.DuplicateThreshold[size] >= t.DuplicateMin[size] &&
                          t.DuplicateThreshold[size] <= t.DuplicateMax[size] &&
                          t.HeavyThreshold[size] >= t.HeavyMin[size] &&
                          t.HeavyThreshold[size] <= t.HeavyMax[size];
                if (rig.gen.stats.passes == 30)
                    rig.solver.HaltGenerator = true;
            };
            rig.run(level, size);
            EXPECT_TRUE(inRange) << "level " << level << " size " << size;
            EXPECT_GT(rig.gen.stats.accepted, 0);
            EXPECT_GT(rig.gen.stats.rejectedPasses, 0);
            // Floors and caps never move.
            EXPECT_EQ(rig.thresholds.DuplicateMin, rig.fresh.DuplicateMin);
            EXPECT_EQ(rig.thresholds.DuplicateMax, rig.fresh.DuplicateMax);
            EXPECT_EQ(rig.thresholds.HeavyMin, rig.fresh.HeavyMin);
            EXPECT_EQ(rig.thresholds.HeavyMax, rig.fresh.HeavyMax);
        }
    }
}

TEST(GeneratorThresholdRules, StopDuringAHardSweepLowersTheThresholdOnce)
{
    // The rating solve of a stopped pass finds no level-2 deduction, so the pass is rejected.
    Rig rig;
    rig.scriptCounts([] { return std::pair{3, 0}; });
    auto scripted = rig.gen.solve;
    long trials = 0;
    rig.gen.solve = [&](RatingSolver &s) {
        if (++trials == 20)
            s.HaltGenerator = true;
        return scripted(s);
    };
    rig.run(2, 1); // Hard 10 x 10 starts at 2, floor 1
    EXPECT_EQ(rig.thresholds.DuplicateThreshold[1], 1);
    EXPECT_EQ(rig.gen.stats.passes, 1);
    EXPECT_TRUE(rig.host.stored.empty());
}

// ---- The puzzles themselves -------------------------------------------------------------------

namespace {

bool validBoard(const PuzzleRecord &r, int n)
{
    std::vector<std::int32_t> cells(r.SolutionCells.begin(), r.SolutionCells.begin() + n * n);
    return IsValidFullBoard(cells.data(), n);
}

} // namespace

TEST(GeneratorPuzzles, AWholeEasySetIsSoundAndHasNoTwoEqualPuzzles)
{
    Rig rig;
    rig.run(0, 0);
    ASSERT_EQ(rig.host.stock.size(), 100u);
    std::set<std::vector<std::int16_t>> starts;
    RatingSolver check(SharedLineTables());
    for (const auto &[n, r] : rig.host.stock) {
        EXPECT_EQ(r.Number, n);
        EXPECT_EQ(r.Level, 0);
        EXPECT_EQ(r.Reserved, 0);
        EXPECT_EQ(r.BestMin, 0);
        EXPECT_EQ(r.BestSec, 0);
        EXPECT_EQ(r.BestPlayer, 0);
        EXPECT_EQ(r.HeavyCount, 0);
        EXPECT_TRUE(validBoard(r, 8));
        for (int i = 64; i < kGridCells; ++i) {
            EXPECT_EQ(r.StartCells[i], 0);
            EXPECT_EQ(r.SolutionCells[i], 0);
        }
        for (auto x : r.ExtraCells)
            EXPECT_EQ(x, 0);
        // Level 0 alone finishes it, to its own solution.
        check.GenLevel = 0;
        check.GenSize = 0;
        check.GenGridSize = 8;
        check.GenLastCell = 63;
        check.GenCells.assign(r.StartCells.begin(), r.StartCells.begin() + 64);
        check.HaltGenerator = false;
        ASSERT_TRUE(check.Solve_Puzzle()) << "puzzle " << n;
        for (int i = 0; i < 64; ++i)
            EXPECT_EQ(check.WorkGrid[i], r.SolutionCells[i]);
        starts.insert(std::vector<std::int16_t>(r.StartCells.begin(), r.StartCells.begin() + 64));
    }
    EXPECT_EQ(starts.size(), 100u);
}

TEST(GeneratorPuzzles, MediumPuzzlesRateExactlyOne)
{
    Rig rig;
    rig.stopAfterPuzzles(15);
    rig.run(1, 0);
    ASSERT_EQ(rig.host.stock.size(), 15u);
    RatingSolver check(SharedLineTables());
    for (const auto &[n, r] : rig.host.stock) {
        check.GenLevel = 1;
        check.GenSize = 0;
        check.GenGridSize = 8;
        check.GenLastCell = 63;
        check.GenCells.assign(r.StartCells.begin(), r.StartCells.begin() + 64);
        check.Rate = 0;
        check.HaltGenerator = false;
        ASSERT_TRUE(check.Solve_Puzzle());
        EXPECT_EQ(check.Rate, 1) << "puzzle " << n;
    }
}

TEST(GeneratorPuzzles, TheSameSeedMakesTheSameSet)
{
    Rig a, b, c;
    c.host.seed = a.host.seed + 1;
    for (Rig *r : {&a, &b, &c}) {
        r->stopAfterPuzzles(10);
        r->run(1, 1);
    }
    ASSERT_EQ(a.host.stock.size(), 10u);
    EXPECT_EQ(a.host.stock, b.host.stock);
    EXPECT_EQ(a.gen.stats.passes, b.gen.stats.passes);
    EXPECT_NE(a.host.stock, c.host.stock);
}

// ---- Work on several threads ------------------------------------------------------------------

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
