// A generation run's surroundings for tests: the game window's side recorded, and a run on the
// test's thread with a fake event pump, so that a test can stop it at a chosen moment.
#pragma once

#include "game/line_tables.h"
#include "platform/fake/fakes.h"
#include "solver/generator.h"
#include "solver/solver.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tl::test {

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

inline bool sameThresholds(const GeneratorThresholds &a, const GeneratorThresholds &b)
{
    return a.DuplicateThreshold == b.DuplicateThreshold && a.HeavyThreshold == b.HeavyThreshold &&
           a.DuplicateMin == b.DuplicateMin && a.DuplicateMax == b.DuplicateMax &&
           a.HeavyMin == b.HeavyMin && a.HeavyMax == b.HeavyMax;
}

} // namespace tl::test
