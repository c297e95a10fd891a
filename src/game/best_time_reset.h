// Clearing recorded best times for one set, one level or the whole stock.
#pragma once

#include "game/puzzle_record.h"
#include "game/puzzle_stock.h"

#include <functional>
#include <string>
#include <vector>

namespace tl {

enum class ResetScope { Selection, Level, All };

// A record's place in the stock.
struct StockSlot {
    int level, sizeIndex, number;
    bool operator==(const StockSlot &) const = default;
};

// The confirmation question for a reset of `scope` while (shownLevel, shownSize) is the puzzle
// on the board (or the selection at start-up).
std::string ResetQuestion(ResetScope scope, int shownLevel, int shownSize);
extern const char *const kResetTitle;          // title of the question
extern const char *const kResetWriteError;     // text of the failure box
extern const char *const kResetWriteErrorTitle; // its title

// The records a reset clears, in the order they are written: level, then size, then number.
std::vector<StockSlot> ResetRange(ResetScope scope, int shownLevel, int shownSize);

// Clears BestMin, BestSec and BestPlayer of every record of `range` in memory, and writes each
// set (level and size) of the range with `writeSet` once all its records in the range are
// cleared, in the order of the range. A failed write does not stop the batch: the cleared times
// stay in memory. Returns the number of records whose set could not be written.
int ClearBestTimes(const std::vector<StockSlot> &range,
                   const std::function<PuzzleRecord &(const StockSlot &)> &recordAt,
                   const std::function<bool(int level, int sizeIndex)> &writeSet);

// The whole reset on the stock: clears the records of `scope` in memory and writes each set of
// them to the stock file as one replacement of it (a replacement of the whole file for every
// record would take seconds for a reset of everything). A batch whose writes fail is reported in
// ONE "File Error" box, however many records failed (a read-only stock file would otherwise mean
// a box per set); the cleared times stay in memory either way. Returns the number of records not
// written.
int Reset_Best_Times(const StockContext &ctx, ResetScope scope, int shownLevel, int shownSize);

// The first-run clearing: the best time of every record is cleared in memory and the whole stock
// is written back as one replacement of the working copy. A failing write is
// reported in one box, as for a reset of everything, and the cleared times stay in memory.
// Returns the number of records not written (0 or 1600).
int Clear_All_Best_Times(const StockContext &ctx);

} // namespace tl
