// A generation run on one thread: its questions and the resume key, Stop and the two endings,
// acceptance and the thresholds, and the puzzles it makes. (Runs on several threads:
// generator_threads_test.cpp.)
#include "solver/generator.h"

#include "game/line_tables.h"
#include "platform/fake/fakes.h"
#include "solver/solver.h"
#include "support/generator_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace tl;
using tl::test::Rig;
using tl::test::sameThresholds;

namespace {

const char *kConfirmEasy8 =
    "Please confirm generating a new puzzle set!\nLevel: Easy\nSize: 8x8\n\n"
    "Note that this will erase the old set including their best times.";

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
