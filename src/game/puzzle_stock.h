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
// The writers open the working copy for update and never create it: a missing working copy is a
// failure. Writing a record beyond the end of a short working copy first fills the gap with the
// records `Puzzles` holds for it, so the file never gains a hole of zero bytes. Record numbers
// passed to the writers are checked: nothing outside the stock is ever written.
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

// Makes sure a working copy exists. When there is none, the pristine copy is copied into the
// data folder under a temporary name and renamed only once it is complete and holds all 1600
// records (a shorter pristine copy never becomes a working copy), and the new working copy is
// made writable by its owner. True when a copy was made just now (a first run); false
// when a working copy was already there, or when the copy failed (then no working copy exists,
// and the load that follows reports the failure). Reports nothing itself.
bool Ensure_Stock_File(const StockContext &ctx);

// Reads the working copy into `Puzzles`. The file is opened for reading only, so a read-only
// working copy loads. Fields are taken as they are stored. A working copy shorter than 1600
// records loads without a message; the records it lacks are taken from the pristine copy.
// False, after a "File Error" box, when the working copy is missing or cannot be read, or when
// it is short and the pristine copy cannot supply all it lacks; the records read before the
// failure stay in `Puzzles`.
bool Load_Stock(const StockContext &ctx);

// Writes the records `fromNr`..`toNr` of one level and size as `Puzzles` holds them. The range
// is limited to 1..100; an empty range opens and closes the file and writes nothing. Reports
// "Error writing binary puzzles to file!"; the records before a failure stay written.
void Save_Stock_Range(const StockContext &ctx, int level, int sizeIndex, int fromNr, int toNr);

// Writes one record (the puzzle whose best time just changed) as `Puzzles` holds it. Reports
// "Error writing binary puzzles to file!".
void Save_Puzzle(const StockContext &ctx, int level, int sizeIndex, int number);

// Writes one record after its best time was cleared in `Puzzles` (clearing is the caller's
// work). Reports "Error resetting binary puzzle time to file!".
void Reset_Puzzle_Time(const StockContext &ctx, int level, int sizeIndex, int number);

} // namespace tl
