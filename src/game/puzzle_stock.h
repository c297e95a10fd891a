// The whole stock of 1600 puzzles in memory, and the stock file that keeps it between runs.
//
// The stock file "DudEzadu.qzk" holds 1600 records of 1192 bytes (see puzzle_record.h), one per
// (level 0..3, size index 0..3, number 1..100), in that nesting order. The pristine copy lies in
// the program folder and is only ever read; the working copy lies in the data folder and is the
// one the game loads and writes. Memory is the master copy during a run: a caller changes a
// record in `Puzzles` first and then asks one of the writers below to bring the file up to date.
// Every operation opens the file, does its work and closes it before it returns; failures are
// reported to the user in a "File Error" box and the operation is given up.
//
// The writers never create the working copy: a missing one, one that is not a regular file (a
// link to one is followed), one larger than any stock file could be (16 MiB) or one that cannot
// be opened for writing is a failure. A writer reads the working copy as it is, puts its records
// into that content and replaces the file whole with it (ReplaceFile, platform/file_writes.h):
// the file on disk is always either the old one or the new one, never one written in part, and
// bytes beyond the records written stay as they were. Writing a record beyond the end of a short
// working copy first fills the gap with the records `Puzzles` holds for it, so the file never
// gains a hole of zero bytes. Record numbers passed to the writers are checked: nothing outside
// the stock is ever written.
//
// Every record is checked as it is loaded (see IsSoundStockRecord): a damaged record would show
// the player a wrong solution, a board that completes at once or a best time filed under another
// puzzle. The pristine copy must be sound throughout to be used at all; a damaged record of the
// working copy is replaced by its pristine record.
#pragma once

#include "game/puzzle_record.h"

#include <string>
#include <vector>

namespace tl {

class MessageBoxService;

inline constexpr const char *kStockFileName = "DudEzadu.qzk";

// The in-memory stock: 1600 records addressed by (level 0..3, size index 0..3, number 1..100).
// Access outside those ranges never touches memory it does not own: `at` throws
// std::out_of_range and `find` gives nullptr.
class Puzzles {
public:
    Puzzles();

    static bool valid(int level, int sizeIndex, int number);

    PuzzleRecord &at(int level, int sizeIndex, int number);
    const PuzzleRecord &at(int level, int sizeIndex, int number) const;
    PuzzleRecord *find(int level, int sizeIndex, int number);
    const PuzzleRecord *find(int level, int sizeIndex, int number) const;

    // All records in file order (record number - 1 is the index).
    std::vector<PuzzleRecord> &records() { return records_; }
    const std::vector<PuzzleRecord> &records() const { return records_; }

private:
    std::vector<PuzzleRecord> records_;
};

// What the stock operations need: where the two copies lie, where to report failures, and the
// stock in memory. The folders end in "/".
struct StockContext {
    std::string ProgramFolder;
    std::string DataFolder;
    MessageBoxService &messages;
    Puzzles &puzzles;

    std::string pristinePath() const { return ProgramFolder + kStockFileName; }
    std::string workingPath() const { return DataFolder + kStockFileName; }
};

// Texts of the "File Error" boxes.
inline constexpr const char *kFileErrorTitle = "File Error";
inline constexpr const char *kReadErrorText = "Error reading binary puzzles from file!";
inline constexpr const char *kWriteErrorText = "Error writing binary puzzles to file!";
inline constexpr const char *kResetErrorText = "Error resetting binary puzzle time to file!";

// True when `record` may stand in the slot (level, sizeIndex, number): its Level, SizeIndex and
// Number name that slot, its solution is a full board of its size by the three rules (no three
// equal neighbours, half of each value per line, no two equal rows or columns), and every given
// cell (a stored 0 or 1) agrees with the solution. Cells beyond the board, the best time and
// the fields that are never interpreted are not looked at.
bool IsSoundStockRecord(const PuzzleRecord &record, int level, int sizeIndex, int number);

// Makes sure a working copy exists. First, what replacements of the working copy interrupted in
// an earlier run left beside it is removed (under the lock the writers take). When there is none, the pristine copy is copied into the
// data folder when it holds all 1600 records, every one of them sound (a shorter or damaged
// pristine copy never becomes a working copy); the copy gets its name only once it is whole on
// disk, and is made writable by its owner. What an old version's interrupted copy left under
// the fixed name "DudEzadu.qzk.part" is removed (a link there goes itself, never its target).
// True when a copy was made just now (a first run); false when a working copy was already
// there, or when the copy failed (then no working copy exists, nothing is left beside it, and
// the load that follows reports the failure). Reports nothing itself.
bool Ensure_Stock_File(const StockContext &ctx);

// Reads the working copy into `Puzzles`. A working copy shorter than 1600 records loads without
// a message; the records it lacks are taken from the pristine copy. A damaged record (one that
// is not IsSoundStockRecord for its slot) is replaced by the pristine record of its slot with
// the best time cleared, as a first run would have made it, and the replacement is written
// back over the damaged record at once (all repairs as one replacement of the file), so the
// repair sticks; nothing else in the file changes.
// A read-only working copy of sound records loads without a write; one that cannot take a
// repair loads all the same after an "Error writing binary puzzles to file!" box.
// False, after a "File Error" box, when the working copy is missing or cannot be read, or when
// it needs records from the pristine copy and that is missing, short or holds a damaged record;
// then nothing is written, and the records read before the failure stay in `Puzzles`.
bool Load_Stock(const StockContext &ctx);

// Writes the records `fromNr`..`toNr` of one level and size as `Puzzles` holds them. The range
// is limited to 1..100; an empty range checks the working copy as a write would and writes
// nothing. Reports "Error writing binary puzzles to file!"; after a failure the file is as it
// was, none of the range written.
void Save_Stock_Range(const StockContext &ctx, int level, int sizeIndex, int fromNr, int toNr);

// Writes all 1600 records as `Puzzles` holds them as one replacement of the working copy (the
// first-run clearing of every best time). Reports nothing: false when the working copy is
// missing or the write fails, and then the file is as it was.
bool Save_Whole_Stock(const StockContext &ctx);

// Writes one record (the puzzle whose best time just changed) as `Puzzles` holds it. Reports
// "Error writing binary puzzles to file!".
void Save_Puzzle(const StockContext &ctx, int level, int sizeIndex, int number);

// Writes one record after its best time was cleared in `Puzzles` (clearing is the caller's
// work). Reports "Error resetting binary puzzle time to file!".
void Reset_Puzzle_Time(const StockContext &ctx, int level, int sizeIndex, int number);

} // namespace tl
