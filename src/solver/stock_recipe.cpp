#include "solver/stock_recipe.h"

#include "game/line_tables.h"
#include "platform/seeded_random.h"
#include "solver/solver.h"

#include <map>
#include <string>
#include <tuple>

namespace tl {

namespace {

class AlwaysYes : public MessageBoxService {
public:
    MsgAnswer show(const std::string &, const std::string &, MsgIcon, MsgButtons buttons) override
    {
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                                   : MsgAnswer::Ok;
    }
};

class MapSettings : public SettingsStore {
public:
    std::string get(const std::string &a, const std::string &s, const std::string &k,
                    const std::string &d) override
    {
        auto it = values_.find({a, s, k});
        return it == values_.end() ? d : it->second;
    }
    void set(const std::string &a, const std::string &s, const std::string &k,
             const std::string &v) override
    {
        values_[{a, s, k}] = v;
    }

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

// The window's side of a set run, for a run without a window: every question answered Yes, a
// settings store of its own that starts empty, and the records kept in memory.
class ToolHost : public GeneratorHost {
public:
    ToolHost(std::uint64_t seed, const std::function<void(int)> &progress)
        : seed_(seed), progress_(progress)
    {
    }
    std::vector<PuzzleRecord> records = std::vector<PuzzleRecord>(kPuzzlesPerSet);
    int stored = 0;

    MessageBoxService &messages() override { return boxes_; }
    SettingsStore &settings() override { return settings_; }
    void setProgressCaption(const std::string &) override {}
    void setProgressMaximum(int) override {}
    void setProgressValue(int value) override
    {
        if (value > 0 && progress_)
            progress_(value);
    }
    void setHaltEnabled(bool) override {}
    void storePuzzles(std::int16_t, std::int16_t, std::int16_t fromNr, std::int16_t toNr,
                      const PuzzleRecord *r) override
    {
        for (int n = fromNr; n <= toNr; ++n)
            records[n - 1] = r[n - fromNr];
        stored += toNr - fromNr + 1;
    }
    std::uint64_t runSeed() override { return seed_; }

private:
    std::uint64_t seed_;
    const std::function<void(int)> &progress_;
    AlwaysYes boxes_;
    MapSettings settings_;
};

} // namespace

std::uint64_t StockSetSeed(std::uint64_t stockSeed, int level, int sizeIndex)
{
    return SplitMix64(SplitMix64(stockSeed) ^ static_cast<std::uint64_t>(level * kSizes + sizeIndex + 1));
}

StockSet MakeStockSet(std::uint64_t stockSeed, int level, int sizeIndex, PassPool *pool,
                      const std::function<void(int)> &progress)
{
    LineTables unused;
    GeneratorThresholds thresholds;
    Init_Line_Tables(unused, thresholds); // fresh starting thresholds for this set
    RatingSolver solver(SharedLineTables());
    ToolHost host(StockSetSeed(stockSeed, level, sizeIndex), progress);
    Generator generator(solver, thresholds, host);
    generator.pool = pool;
    generator.threads = 1;
    std::int16_t l = static_cast<std::int16_t>(level), s = static_cast<std::int16_t>(sizeIndex);
    generator.Generate_Puzzle_Set(l, s);
    StockSet set;
    set.records = std::move(host.records);
    set.stats = generator.stats;
    set.complete = host.stored == kPuzzlesPerSet;
    return set;
}

} // namespace tl
