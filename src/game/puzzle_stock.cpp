#include "game/puzzle_stock.h"

#include "game/global_helpers.h"
#include "platform/file_writes.h"
#include "platform/services.h"
#include "solver/solver.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tl {

// ---- Puzzles ---------------------------------------------------------------------------------

Puzzles::Puzzles() : records_(kStockRecords) {}

bool Puzzles::valid(int level, int sizeIndex, int number)
{
    return level >= 0 && level < kLevels && sizeIndex >= 0 && sizeIndex < kSizes && number >= 1
        && number <= kPuzzlesPerSet;
}

PuzzleRecord *Puzzles::find(int level, int sizeIndex, int number)
{
    return valid(level, sizeIndex, number) ? &records_[RecordNumber(level, sizeIndex, number) - 1]
                                           : nullptr;
}

const PuzzleRecord *Puzzles::find(int level, int sizeIndex, int number) const
{
    return valid(level, sizeIndex, number) ? &records_[RecordNumber(level, sizeIndex, number) - 1]
                                           : nullptr;
}

PuzzleRecord &Puzzles::at(int level, int sizeIndex, int number)
{
    if (PuzzleRecord *r = find(level, sizeIndex, number))
        return *r;
    throw std::out_of_range("no puzzle (" + std::to_string(level) + ", " + std::to_string(sizeIndex)
                            + ", " + std::to_string(number) + ") in the stock");
}

const PuzzleRecord &Puzzles::at(int level, int sizeIndex, int number) const
{
    return const_cast<Puzzles *>(this)->at(level, sizeIndex, number);
}

// ---- The check of a record ---------------------------------------------------------------------

bool IsSoundStockRecord(const PuzzleRecord &record, int level, int sizeIndex, int number)
{
    if (record.Level != level || record.SizeIndex != sizeIndex || record.Number != number
        || !Puzzles::valid(level, sizeIndex, number))
        return false;
    const int n = record.side();
    const int cells = n * n;
    std::array<std::int32_t, kGridCells> solution;
    for (int k = 0; k < cells; ++k) {
        solution[k] = record.SolutionCells[k];
        const int given = CellValueOf(record.StartCells[k]);
        if (given != -1 && given != solution[k])
            return false;
    }
    return IsValidFullBoard(solution.data(), n);
}

// ---- The stock file --------------------------------------------------------------------------

namespace {

// The most a stock file may hold to be read whole (a stock is 1.9 MB): anything larger is no
// stock file, and reading it would only cost memory.
constexpr std::size_t kMaxStockFileBytes = std::size_t{16} << 20;

// How long a writer waits for another running copy of the game that is writing the stock.
constexpr int kLockWaitMs = 2000;

// The lock that running copies of the game take while they read, change and replace the working
// copy, so that neither replaces the file with a content that lacks the other's change.
std::string lockPath(const StockContext &ctx) { return ctx.workingPath() + ".lock"; }

// The slot of a 0-based file index.
int levelOf(int index) { return index / (kSizes * kPuzzlesPerSet); }
int sizeOf(int index) { return index / kPuzzlesPerSet % kSizes; }
int numberOf(int index) { return index % kPuzzlesPerSet + 1; }

bool isSoundAt(const PuzzleRecord &record, int index)
{
    return IsSoundStockRecord(record, levelOf(index), sizeOf(index), numberOf(index));
}

const std::uint8_t *recordBytes(const char *bytes, long index)
{
    return reinterpret_cast<const std::uint8_t *>(bytes) + index * static_cast<long>(kRecordBytes);
}

// True when the first 1600 records of `bytes` are all sound for their slots.
bool wholeStockIsSound(const char *bytes, std::size_t size)
{
    if (size < kStockBytes)
        return false;
    for (int i = 0; i < kStockRecords; ++i)
        if (!isSoundAt(DecodeRecord(recordBytes(bytes, i)), i))
            return false;
    return true;
}

void reportFileError(const StockContext &ctx, const char *text)
{
    ctx.messages.show(kFileErrorTitle, text, MsgIcon::Exclamation, MsgButtons::Ok);
}

// Reads up to `maxRecords` whole records from the start of `path` into `bytes`; returns how many
// whole records were read, or -1 when the file cannot be opened or read.
long readWholeRecords(const std::string &path, std::vector<char> &bytes)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return -1;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return -1;
    bytes.assign(kStockBytes, 0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return -1;
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got < bytes.size() && !in.eof())
        return -1;
    return static_cast<long>(got / kRecordBytes);
}

// Reads the working copy as it is now, for a writer that puts its new content in place: false
// when it is missing (a writer never creates it), is not a regular file of a sane size (a link
// is followed), or cannot be opened for writing. The last check opens the existing file for
// writing without creating or truncating anything: a read-only working copy stays read-only
// even where its folder would let it be replaced.
bool readWorkingCopy(const StockContext &ctx, std::string &bytes)
{
    const std::string path = ctx.workingPath();
    if (ReadRegularFile(path, kMaxStockFileBytes, bytes) != ReadResult::Read)
        return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// Puts record `index` (0-based) as `Puzzles` holds it at its place in `bytes`, which reach that far.
void patchRecord(const StockContext &ctx, std::string &bytes, int index)
{
    EncodeRecord(ctx.puzzles.records()[static_cast<std::size_t>(index)],
                 reinterpret_cast<std::uint8_t *>(bytes.data()) + static_cast<std::size_t>(index) * kRecordBytes);
}

// Writes the records of file indexes first..last (0-based, inclusive) from `Puzzles` into the
// working copy, which must already exist. When the file ends before `first`, the gap is filled
// with the records memory holds for it, so no hole of zero bytes ever appears. The rest of the
// file is kept as it is, and the new content replaces the file whole: on any failure the file
// on disk is still the old one.
bool writeRecords(const StockContext &ctx, int first, int last)
{
    FileLock lock(lockPath(ctx));
    lock.tryLock(kLockWaitMs);
    std::string bytes;
    if (!readWorkingCopy(ctx, bytes))
        return false;
    const int wholeInFile = static_cast<int>(std::min<std::size_t>(bytes.size() / kRecordBytes, kStockRecords));
    const int from = std::min(first, wholeInFile);
    bytes.resize(std::max(bytes.size(), static_cast<std::size_t>(last + 1) * kRecordBytes));
    for (int i = from; i <= last; ++i)
        patchRecord(ctx, bytes, i);
    return ReplaceFile(ctx.workingPath(), bytes);
}

// Writes the records of `indexes` (0-based, each inside the file) from `Puzzles` into their
// places in the working copy, as one replacement of the file; nothing else in it changes.
bool writeRepairs(const StockContext &ctx, const std::vector<int> &indexes)
{
    FileLock lock(lockPath(ctx));
    lock.tryLock(kLockWaitMs);
    std::string bytes;
    if (!readWorkingCopy(ctx, bytes))
        return false;
    for (int i : indexes) {
        if (static_cast<std::size_t>(i + 1) * kRecordBytes > bytes.size())
            return false; // the file was cut short since it was loaded
        patchRecord(ctx, bytes, i);
    }
    return ReplaceFile(ctx.workingPath(), bytes);
}

bool writeOne(const StockContext &ctx, int level, int sizeIndex, int number)
{
    if (!Puzzles::valid(level, sizeIndex, number))
        return false;
    const int index = RecordNumber(level, sizeIndex, number) - 1;
    return writeRecords(ctx, index, index);
}

} // namespace

bool Ensure_Stock_File(const StockContext &ctx)
{
    const std::string working = ctx.workingPath();
    {
        // Replacements interrupted in an earlier run may have left their new files beside the
        // working copy; while the lock is held no other copy of the game is writing one.
        FileLock lock(lockPath(ctx));
        if (lock.tryLock(kLockWaitMs))
            RemoveLeftoverTemporaries(working);
    }
    if (File_Exists(working))
        return false;

    // Earlier versions copied under this fixed name first. What an interrupted copy left there
    // goes; a link planted there is removed itself, and what it points at is never touched.
    (void)::unlink((working + ".part").c_str());

    // Only a whole, sound stock may become the working copy: a short one would be completed
    // with puzzles that do not exist, a damaged one would hand the player wrong puzzles.
    std::string pristine;
    if (ReadRegularFile(ctx.pristinePath(), kMaxStockFileBytes, pristine) != ReadResult::Read
        || !wholeStockIsSound(pristine.data(), pristine.size()))
        return false;

    // Only a complete copy on disk ever gets the working copy's name, so an interrupted copy
    // can never be taken for a working copy at the next start.
    if (!ReplaceFile(working, pristine))
        return false;
    // The copy is made with the usual permissions whatever the pristine copy's are; an odd
    // umask must not keep its owner from writing it.
    std::error_code ec;
    fs::permissions(working, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    return true;
}

bool Load_Stock(const StockContext &ctx)
{
    std::vector<char> bytes;
    const long whole = readWholeRecords(ctx.workingPath(), bytes);
    if (whole < 0) {
        reportFileError(ctx, kReadErrorText);
        return false;
    }
    auto &records = ctx.puzzles.records();
    std::vector<int> damaged;
    for (long i = 0; i < whole; ++i) {
        PuzzleRecord &r = records[static_cast<std::size_t>(i)];
        r = DecodeRecord(recordBytes(bytes.data(), i));
        if (!isSoundAt(r, static_cast<int>(i)))
            damaged.push_back(static_cast<int>(i));
    }
    if (whole == kStockRecords && damaged.empty())
        return true;

    // The pristine copy supplies what the working copy lacks or holds damaged; it must be whole
    // and sound to supply anything.
    std::vector<char> pristine;
    if (readWholeRecords(ctx.pristinePath(), pristine) < kStockRecords
        || !wholeStockIsSound(pristine.data(), pristine.size())) {
        reportFileError(ctx, kReadErrorText);
        return false;
    }
    for (long i = whole; i < kStockRecords; ++i)
        records[static_cast<std::size_t>(i)] = DecodeRecord(recordBytes(pristine.data(), i));
    for (int i : damaged) {
        PuzzleRecord &r = records[static_cast<std::size_t>(i)];
        r = DecodeRecord(recordBytes(pristine.data(), i));
        r.BestMin = r.BestSec = r.BestPlayer = 0;
    }
    if (!damaged.empty() && !writeRepairs(ctx, damaged))
        reportFileError(ctx, kWriteErrorText);
    return true;
}

bool Save_Whole_Stock(const StockContext &ctx)
{
    return writeRecords(ctx, 0, kStockRecords - 1);
}

void Save_Stock_Range(const StockContext &ctx, int level, int sizeIndex, int fromNr, int toNr)
{
    fromNr = std::max(fromNr, 1);
    toNr = std::min(toNr, kPuzzlesPerSet);
    bool ok;
    if (!Puzzles::valid(level, sizeIndex, 1)) {
        ok = false;
    } else if (fromNr > toNr) {
        // Nothing to write; the working copy is still looked at, so a missing or locked one is
        // reported as for any other write.
        std::string bytes;
        ok = readWorkingCopy(ctx, bytes);
    } else {
        ok = writeRecords(ctx, RecordNumber(level, sizeIndex, fromNr) - 1,
                          RecordNumber(level, sizeIndex, toNr) - 1);
    }
    if (!ok)
        reportFileError(ctx, kWriteErrorText);
}

void Save_Puzzle(const StockContext &ctx, int level, int sizeIndex, int number)
{
    if (!writeOne(ctx, level, sizeIndex, number))
        reportFileError(ctx, kWriteErrorText);
}

void Reset_Puzzle_Time(const StockContext &ctx, int level, int sizeIndex, int number)
{
    if (!writeOne(ctx, level, sizeIndex, number))
        reportFileError(ctx, kResetErrorText);
}

} // namespace tl
