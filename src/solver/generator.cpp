#include "solver/generator.h"

#include <algorithm>
#include <charconv>
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

Generator::Generator(RatingSolver &solver, GeneratorThresholds &thresholds, GeneratorHost &host)
    : solver_(solver), thresholds_(thresholds), host_(host),
      search_(solver.Tables(), random_, solver.Pump(), &solver.HaltGenerator)
{
}

void Generator::pump()
{
    if (EventPump *p = solver_.Pump())
        p->pumpEvents();
}

bool Generator::runSolve()
{
    return solve ? solve() : solver_.Solve_Puzzle();
}

void Generator::prepare(std::int16_t level, std::int16_t sizeIndex)
{
    const int n = SideOfSizeIndex(sizeIndex);
    solver_.GenLevel = level;
    solver_.GenSize = sizeIndex;
    solver_.GenGridSize = static_cast<std::int16_t>(n);
    solver_.GenLastCell = n * n - 1;
    solver_.GenCells.assign(static_cast<std::size_t>(n) * n, -1);
    search_.setSize(n);
    board_.assign(static_cast<std::size_t>(n) * n, -1);
    cellOrder_.resize(static_cast<std::size_t>(n) * n);
}

bool Generator::acceptable() const
{
    const int s = solver_.GenSize;
    switch (solver_.GenLevel) {
    case 0:
        return true;
    case 1:
        return solver_.Rate == 1;
    case 2:
        return solver_.DuplicateCount[s] >= thresholds_.DuplicateThreshold[s];
    default:
        return solver_.DuplicateCount[s] >= 1 &&
               solver_.HeavyCount[s] >= thresholds_.HeavyThreshold[s];
    }
}

void Generator::onRejected()
{
    // A rejection makes the next puzzle of the size easier to accept, never below the floor.
    const int s = solver_.GenSize;
    auto &t = thresholds_;
    if (solver_.GenLevel == 2) {
        t.DuplicateThreshold[s] = std::max<std::int16_t>(t.DuplicateThreshold[s] - 1, t.DuplicateMin[s]);
    } else if (solver_.GenLevel == 3 && solver_.DuplicateCount[s] >= 1) {
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

void Generator::fillRecord(PuzzleRecord &record, std::int16_t number) const
{
    record = PuzzleRecord{};
    record.Level = solver_.GenLevel;
    record.SizeIndex = solver_.GenSize;
    record.Number = number;
    const std::size_t cells = board_.size();
    for (std::size_t i = 0; i < cells; ++i) {
        record.StartCells[i] = solver_.GenCells[i];
        record.SolutionCells[i] = static_cast<std::int16_t>(board_[i]);
    }
    record.HeavyCount = solver_.HeavyCount[solver_.GenSize];
}

bool Generator::makePuzzle(PuzzleRecord &record, std::int16_t number)
{
    RatingSolver &s = solver_;
    const int size = s.GenSize;
    const auto cells = static_cast<std::uint32_t>(s.GenLastCell + 1);

    if (!search_.Build_Full_Board(board_)) {
        stats.boardAttempts += search_.attempts();
        return false; // stopped during the search: no board, no passes
    }
    ++stats.boards;
    stats.boardAttempts += search_.attempts();

    for (int pass = 0; pass < kMaxPasses && !s.HaltGenerator; ++pass) {
        ++stats.passes;
        // Every pass starts again from the full board, with a new random removal order.
        for (std::uint32_t i = 0; i < cells; ++i) {
            s.GenCells[i] = static_cast<std::int16_t>(board_[i]);
            cellOrder_[i] = static_cast<std::int32_t>(i);
        }
        const int swaps = s.GenLastCell * 10;
        for (int k = 0; k < swaps; ++k) {
            const std::uint32_t a = random_.below(cells);
            const std::uint32_t b = random_.below(cells);
            std::swap(cellOrder_[a], cellOrder_[b]);
        }
        // Remove each clue in turn; keep it out only if the solver still finishes the board.
        for (std::uint32_t k = 0; k < cells; ++k) {
            pump();
            s.DuplicateCount[size] = 0;
            s.HeavyCount[size] = 0;
            const std::int32_t x = cellOrder_[k];
            s.GenCells[x] = -1;
            ++stats.trials;
            if (!runSolve())
                s.GenCells[x] = static_cast<std::int16_t>(board_[x]);
        }
        // Rate what is left.
        s.Rate = 0;
        s.DuplicateCount[size] = 0;
        s.HeavyCount[size] = 0;
        runSolve();
        if (acceptable()) {
            fillRecord(record, number);
            onAccepted();
            ++stats.accepted;
            return true;
        }
        onRejected();
        ++stats.rejectedPasses;
    }
    return false;
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

    random_.reseed(host_.runSeed());
    prepare(level, sizeIndex);
    std::int16_t done = start;
    host_.setProgressMaximum(kSetSize);
    host_.setProgressValue(done);

    // The new records stay here until the run ends, so that nothing else (a best time of a
    // game of this set finished meanwhile, a best-time reset) can write into a half-made set:
    // the stock in memory and the file receive the whole new range together.
    std::vector<PuzzleRecord> made(kSetSize);
    PuzzleRecord record;
    bool halted = false;
    while (done < kSetSize) {
        pump();
        if (solver_.HaltGenerator) {
            halted = true;
            break;
        }
        if (makePuzzle(record, static_cast<std::int16_t>(done + 1))) {
            made[done] = record;
            ++done;
            host_.setProgressValue(done);
        }
    }

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
