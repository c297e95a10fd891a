#include "solver/generator.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <utility>

namespace tl {

namespace {

constexpr const char *kApp = "Farrowdel";
constexpr const char *kSection = "Generator";
constexpr int kSetSize = kPuzzlesPerSet;

// The resume count stored under a key. Only 1..99 means an interrupted run; anything else
// (missing, 0, a damaged or out-of-range value) means there is nothing to continue.
std::int16_t ResumeCount(const std::string &text)
{
    std::size_t b = text.find_first_not_of(" \t");
    std::size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos)
        return 0;
    int value = 0;
    const char *first = text.data() + b;
    const char *last = text.data() + e + 1;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || value < 1 || value >= kSetSize)
        return 0;
    return static_cast<std::int16_t>(value);
}

} // namespace

const char *GeneratorLevelName(int level)
{
    static const char *const names[] = {"Easy", "Medium", "Hard", "Insane"};
    return level >= 0 && level < kLevels ? names[level] : "";
}

const char *GeneratorSizeName(int sizeIndex)
{
    static const char *const names[] = {"8x8", "10x10", "12x12", "14x14"};
    return sizeIndex >= 0 && sizeIndex < kSizes ? names[sizeIndex] : "";
}

std::string GeneratorKey(int level, int sizeIndex)
{
    return "L" + std::to_string(level + 1) + "S" + std::to_string(sizeIndex + 1);
}

namespace {

// Boards and passes worked out on the calling thread, each when the run asks for it.
class InlineSource : public PassSource {
public:
    InlineSource(RatingSolver &solver, std::uint64_t seed, std::function<bool(RatingSolver &)> solve)
        : evaluator_(solver), seed_(seed)
    {
        evaluator_.prepare(solver.GenLevel, solver.GenSize);
        evaluator_.solve = std::move(solve);
    }
    const FullBoard *board(long board) override
    {
        return evaluator_.buildBoard(seed_, board, board_) ? &board_ : nullptr;
    }
    const PassResult *pass(long board, int pass) override
    {
        evaluator_.runPass(seed_, board, pass, board_, result_);
        ++evaluated_;
        return &result_;
    }
    void finishBoard(long, int, bool) override {}
    long evaluatedPasses() const override { return evaluated_; }

private:
    PassEvaluator evaluator_;
    std::uint64_t seed_;
    FullBoard board_;
    PassResult result_;
    long evaluated_ = 0;
};

} // namespace

Generator::Generator(RatingSolver &solver, GeneratorThresholds &thresholds, GeneratorHost &host)
    : solver_(solver), thresholds_(thresholds), host_(host)
{
}

void Generator::pump()
{
    if (EventPump *p = solver_.Pump())
        p->pumpEvents();
}

bool Generator::acceptable(const PassResult &r) const
{
    const int s = solver_.GenSize;
    switch (solver_.GenLevel) {
    case 0:
        return true;
    case 1:
        return r.rate == 1;
    case 2:
        return r.duplicates >= thresholds_.DuplicateThreshold[s];
    default:
        return r.duplicates >= 1 && r.heavy >= thresholds_.HeavyThreshold[s];
    }
}

void Generator::onRejected(const PassResult &r)
{
    // A rejection makes the next puzzle of the size easier to accept, never below the floor.
    const int s = solver_.GenSize;
    auto &t = thresholds_;
    if (solver_.GenLevel == 2) {
        t.DuplicateThreshold[s] = std::max<std::int16_t>(t.DuplicateThreshold[s] - 1, t.DuplicateMin[s]);
    } else if (solver_.GenLevel == 3 && r.duplicates >= 1) {
        t.HeavyThreshold[s] = std::max<std::int16_t>(t.HeavyThreshold[s] - 1, t.HeavyMin[s]);
    }
}

void Generator::onAccepted()
{
    // An acceptance makes the next one harder, never above the cap.
    const int s = solver_.GenSize;
    auto &t = thresholds_;
    if (solver_.GenLevel >= 2)
        t.DuplicateThreshold[s] = std::min<std::int16_t>(t.DuplicateThreshold[s] + 1, t.DuplicateMax[s]);
    if (solver_.GenLevel == 3)
        t.HeavyThreshold[s] = std::min<std::int16_t>(t.HeavyThreshold[s] + 1, t.HeavyMax[s]);
}

void Generator::Generate_Puzzle_Set(std::int16_t &Level, std::int16_t &SizeIndex)
{
    if (Level < 0 || Level >= kLevels || SizeIndex < 0 || SizeIndex >= kSizes)
        return;
    const std::int16_t level = Level;
    const std::int16_t sizeIndex = SizeIndex;
    const std::string key = GeneratorKey(level, sizeIndex);
    const std::string levelName = GeneratorLevelName(level);
    const std::string sizeName = GeneratorSizeName(sizeIndex);
    SettingsStore &settings = host_.settings();
    MessageBoxService &boxes = host_.messages();
    solver_.GenLevel = level;
    solver_.GenSize = sizeIndex;

    std::int16_t start = ResumeCount(settings.get(kApp, kSection, key, "0"));
    if (start > 0) {
        const MsgAnswer a = boxes.show("Continue previous task?",
                                       "Previous Generator task was not completed.\n"
                                       "Would you like to continue?",
                                       MsgIcon::Question, MsgButtons::YesNo);
        if (a != MsgAnswer::Yes)
            start = 0;
    }
    if (start == 0) {
        const MsgAnswer a = boxes.show(
            "Confirm Generator",
            "Please confirm generating a new puzzle set!\nLevel: " + levelName + "\nSize: " +
                sizeName + "\n\nNote that this will erase the old set including their best times.",
            MsgIcon::None, MsgButtons::YesNo);
        if (a != MsgAnswer::Yes)
            return;
    }

    host_.setProgressCaption("Generating " + levelName + " " + sizeName);
    solver_.HaltGenerator = false;
    host_.setHaltEnabled(true);

    const std::uint64_t seed = host_.runSeed();
    const int n = SideOfSizeIndex(sizeIndex);
    solver_.GenGridSize = static_cast<std::int16_t>(n);
    solver_.GenLastCell = n * n - 1;
    std::int16_t done = start;
    host_.setProgressMaximum(kSetSize);
    host_.setProgressValue(done);

    // Where the boards and passes come from; the pool of a run that has its own goes last.
    std::unique_ptr<PassPool> ownPool;
    std::unique_ptr<PassSource> source;
    if (pool || threads > 1) {
        if (!pool)
            ownPool = std::make_unique<PassPool>(solver_.Tables(), threads);
        source = (pool ? pool : ownPool.get())
                     ->open({level, sizeIndex, seed, kSetSize - start, solve, solver_.Pump(),
                             &solver_.HaltGenerator});
    } else {
        source = std::make_unique<InlineSource>(solver_, seed, solve);
    }

    // The new records stay here until the run ends, so that nothing else (a best time of a
    // game of this set finished meanwhile, a best-time reset) can write into a half-made set:
    // the stock in memory and the file receive the whole new range together.
    std::vector<PuzzleRecord> made(kSetSize);
    bool halted = false;
    for (long board = 0; done < kSetSize; ++board) {
        pump();
        if (solver_.HaltGenerator) {
            halted = true;
            break;
        }
        const FullBoard *full = source->board(board);
        if (!full)
            continue; // stopped during the search: no board, no passes
        ++stats.boards;
        stats.boardAttempts += full->attempts;
        bool accepted = false;
        int passes = 0;
        while (passes < kMaxPasses && !solver_.HaltGenerator) {
            const PassResult *r = source->pass(board, passes);
            if (!r)
                break; // stopped before the pass began
            ++passes;
            ++stats.passes;
            stats.trials += r->trials;
            stats.secondCompletions += r->secondCompletions;
            if (acceptable(*r)) {
                PuzzleRecord &record = made[done];
                record = PuzzleRecord{};
                record.Level = level;
                record.SizeIndex = sizeIndex;
                record.Number = static_cast<std::int16_t>(done + 1);
                for (std::size_t i = 0; i < full->cells.size(); ++i) {
                    record.StartCells[i] = r->cells[i];
                    record.SolutionCells[i] = static_cast<std::int16_t>(full->cells[i]);
                }
                record.HeavyCount = r->heavy;
                onAccepted();
                ++stats.accepted;
                accepted = true;
                break;
            }
            onRejected(*r);
            ++stats.rejectedPasses;
        }
        source->finishBoard(board, passes, accepted);
        if (accepted) {
            ++done;
            host_.setProgressValue(done);
        }
    }
    stats.evaluatedPasses += source->evaluatedPasses();
    source.reset(); // stops the workers' remaining work
    ownPool.reset();

    if (!halted) {
        host_.storePuzzles(level, sizeIndex, static_cast<std::int16_t>(start + 1), done,
                           &made[start]);
        settings.set(kApp, kSection, key, "0");
        host_.setHaltEnabled(false);
        solver_.HaltGenerator = true;
        host_.setProgressValue(0);
        return;
    }
    if (done > start) {
        host_.storePuzzles(level, sizeIndex, static_cast<std::int16_t>(start + 1), done,
                           &made[start]);
        settings.set(kApp, kSection, key, std::to_string(done));
    }
    host_.setHaltEnabled(false);
    host_.setProgressValue(0);
}

} // namespace tl
