#include "game/best_time_reset.h"

#include "platform/services.h"

namespace tl {

const char *const kResetTitle = "Confirm Time Reset";
const char *const kResetWriteError = "Error resetting binary puzzle time to file!";
const char *const kResetWriteErrorTitle = "File Error";

namespace {
const char *const kLevelPart[kLevels] = {"Easy, with size ", "Medium, with size ",
                                         "Hard, with size ", "Insane, with size "};
const char *const kLevelOnlyPart[kLevels] = {"Easy, all sizes ?", "Medium, all sizes ?",
                                             "Hard, all sizes ?", "Insane, all sizes ?"};
const char *const kSizePart[kSizes] = {"8x8 ?", "10x10 ?", "12x12 ?", "14x14 ?"};

int Clamp(int v, int hi)
{
    return v < 0 ? 0 : (v >= hi ? hi - 1 : v);
}
} // namespace

std::string ResetQuestion(ResetScope scope, int shownLevel, int shownSize)
{
    const int l = Clamp(shownLevel, kLevels), s = Clamp(shownSize, kSizes);
    switch (scope) {
    case ResetScope::Selection:
        return std::string("Are you sure to reset Best Times for level ") + kLevelPart[l] +
               kSizePart[s];
    case ResetScope::Level:
        return std::string("Are you sure to reset Best Times for level ") + kLevelOnlyPart[l];
    case ResetScope::All:
        break;
    }
    return "Are you sure to reset all Best Times ?";
}

std::vector<StockSlot> ResetRange(ResetScope scope, int shownLevel, int shownSize)
{
    const int l = Clamp(shownLevel, kLevels), s = Clamp(shownSize, kSizes);
    const int firstLevel = scope == ResetScope::All ? 0 : l;
    const int lastLevel = scope == ResetScope::All ? kLevels - 1 : l;
    const int firstSize = scope == ResetScope::Selection ? s : 0;
    const int lastSize = scope == ResetScope::Selection ? s : kSizes - 1;
    std::vector<StockSlot> range;
    for (int level = firstLevel; level <= lastLevel; ++level)
        for (int size = firstSize; size <= lastSize; ++size)
            for (int n = 1; n <= kPuzzlesPerSet; ++n)
                range.push_back({level, size, n});
    return range;
}

int ClearBestTimes(const std::vector<StockSlot> &range,
                   const std::function<PuzzleRecord &(const StockSlot &)> &recordAt,
                   const std::function<bool(int level, int sizeIndex)> &writeSet)
{
    int failures = 0;
    for (std::size_t i = 0; i < range.size();) {
        // The run of slots of one set.
        const StockSlot &first = range[i];
        std::size_t end = i;
        for (; end < range.size() && range[end].level == first.level
               && range[end].sizeIndex == first.sizeIndex;
             ++end) {
            PuzzleRecord &r = recordAt(range[end]);
            r.BestMin = 0;
            r.BestSec = 0;
            r.BestPlayer = 0;
        }
        if (!writeSet(first.level, first.sizeIndex))
            failures += static_cast<int>(end - i);
        i = end;
    }
    return failures;
}

namespace {
// Collects the boxes of the set writer instead of showing them.
class CollectedBoxes : public MessageBoxService {
public:
    int count = 0;
    MsgAnswer show(const std::string &, const std::string &, MsgIcon, MsgButtons) override
    {
        ++count;
        return MsgAnswer::Ok;
    }
};
} // namespace

int Reset_Best_Times(const StockContext &ctx, ResetScope scope, int shownLevel, int shownSize)
{
    CollectedBoxes collected;
    const StockContext quiet{ctx.ProgramFolder, ctx.DataFolder, collected, ctx.puzzles};
    const int failures = ClearBestTimes(
        ResetRange(scope, shownLevel, shownSize),
        [&](const StockSlot &s) -> PuzzleRecord & {
            return ctx.puzzles.at(s.level, s.sizeIndex, s.number);
        },
        [&](int level, int sizeIndex) {
            const int before = collected.count;
            Save_Stock_Range(quiet, level, sizeIndex, 1, kPuzzlesPerSet);
            return collected.count == before;
        });
    if (failures > 0)
        ctx.messages.show(kResetWriteErrorTitle, kResetWriteError, MsgIcon::Exclamation,
                          MsgButtons::Ok);
    return failures;
}

int Clear_All_Best_Times(const StockContext &ctx)
{
    // Every record changes, so the whole stock goes out in one write instead of 1600.
    for (PuzzleRecord &r : ctx.puzzles.records())
        r.BestMin = r.BestSec = r.BestPlayer = 0;
    if (Save_Whole_Stock(ctx))
        return 0;
    ctx.messages.show(kResetWriteErrorTitle, kResetWriteError, MsgIcon::Exclamation,
                      MsgButtons::Ok);
    return kStockRecords;
}

} // namespace tl
