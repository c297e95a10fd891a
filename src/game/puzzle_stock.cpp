#include "game/puzzle_stock.h"

#include "game/global_helpers.h"
#include "platform/services.h"
#include "solver/solver.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

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

// The slot of a 0-based file index.
int levelOf(int index) { return index / (kSizes * kPuzzlesPerSet); }
int sizeOf(int index) { return index / kPuzzlesPerSet % kSizes; }
int numberOf(int index) { return index % kPuzzlesPerSet + 1; }

bool isSoundAt(const PuzzleRecord &record, int index)
{
    return IsSoundStockRecord(record, levelOf(index), sizeOf(index), numberOf(index));
}

const std::uint8_t *recordBytes(const std::vector<char> &bytes, long index)
{
    return reinterpret_cast<const std::uint8_t *>(bytes.data()) + index * static_cast<long>(kRecordBytes);
}

// True when the first 1600 records of `bytes` are all sound for their slots.
bool wholeStockIsSound(const std::vector<char> &bytes)
{
    if (bytes.size() < kStockBytes)
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

// Reads the whole content of the regular file `path`; false when it cannot be read.
bool readWholeFile(const std::string &path, std::vector<char> &bytes)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    const auto size = fs::file_size(path, ec);
    if (ec)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return false;
    bytes.assign(static_cast<std::size_t>(size), 0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    // A file that grew meanwhile is read as far as it was; one that shrank fails.
    return !in.bad() && static_cast<std::size_t>(in.gcount()) == bytes.size();
}

// Writes the records of file indexes first..last (0-based, inclusive) from `Puzzles` into the
// working copy, which must already exist. When the file ends before `first`, the gap is filled
// with the records memory holds for it, so no hole of zero bytes ever appears. Returns false on
// any failure to open, seek or write.
bool writeRecords(const StockContext &ctx, int first, int last)
{
    const std::string path = ctx.workingPath();
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false; // never create the working copy, and never write into something else
    const auto size = fs::file_size(path, ec);
    if (ec)
        return false;
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file.is_open())
        return false;
    const int wholeInFile = static_cast<int>(std::min<std::uintmax_t>(size / kRecordBytes, kStockRecords));
    const int from = std::min(first, wholeInFile);
    // The records go out in one write: the first run writes the whole stock this way.
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(last - from + 1) * kRecordBytes);
    for (int i = from; i <= last; ++i)
        EncodeRecord(ctx.puzzles.records()[static_cast<std::size_t>(i)],
                     buffer.data() + static_cast<std::size_t>(i - from) * kRecordBytes);
    file.seekp(static_cast<std::streamoff>(from) * static_cast<std::streamoff>(kRecordBytes));
    file.write(reinterpret_cast<const char *>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
    file.flush();
    const bool ok = static_cast<bool>(file);
    file.close();
    return ok && !file.fail();
}

// Writes the records of `indexes` (0-based, each inside the file) from `Puzzles` into their
// places in the working copy with one open and close; nothing else in the file is written.
bool writeRepairs(const StockContext &ctx, const std::vector<int> &indexes)
{
    std::fstream file(ctx.workingPath(), std::ios::in | std::ios::out | std::ios::binary);
    if (!file.is_open())
        return false;
    std::array<std::uint8_t, kRecordBytes> buffer;
    for (int i : indexes) {
        EncodeRecord(ctx.puzzles.records()[static_cast<std::size_t>(i)], buffer.data());
        file.seekp(static_cast<std::streamoff>(i) * static_cast<std::streamoff>(kRecordBytes));
        file.write(reinterpret_cast<const char *>(buffer.data()), kRecordBytes);
    }
    file.flush();
    const bool ok = static_cast<bool>(file);
    file.close();
    return ok && !file.fail();
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
    if (File_Exists(working))
        return false;

    // Only a whole, sound stock may become the working copy: a short one would be completed
    // with puzzles that do not exist, a damaged one would hand the player wrong puzzles.
    std::vector<char> pristine;
    if (!readWholeFile(ctx.pristinePath(), pristine) || !wholeStockIsSound(pristine))
        return false;

    // Write under a temporary name first: only a complete copy is ever renamed into place, so an
    // interrupted copy can never be taken for a working copy at the next start.
    const std::string temporary = working + ".part";
    std::error_code ec;
    bool ok = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out.is_open()) {
            out.write(pristine.data(), static_cast<std::streamsize>(pristine.size()));
            out.close();
            ok = !out.fail();
        }
    }
    if (ok) {
        // The pristine copy may be installed read-only; the working copy must be writable.
        fs::permissions(temporary, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add, ec);
        fs::rename(temporary, working, ec);
        ok = !ec;
    }
    if (!ok)
        fs::remove(temporary, ec);
    return ok;
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
        r = DecodeRecord(recordBytes(bytes, i));
        if (!isSoundAt(r, static_cast<int>(i)))
            damaged.push_back(static_cast<int>(i));
    }
    if (whole == kStockRecords && damaged.empty())
        return true;

    // The pristine copy supplies what the working copy lacks or holds damaged; it must be whole
    // and sound to supply anything.
    std::vector<char> pristine;
    if (readWholeRecords(ctx.pristinePath(), pristine) < kStockRecords || !wholeStockIsSound(pristine)) {
        reportFileError(ctx, kReadErrorText);
        return false;
    }
    for (long i = whole; i < kStockRecords; ++i)
        records[static_cast<std::size_t>(i)] = DecodeRecord(recordBytes(pristine, i));
    for (int i : damaged) {
        PuzzleRecord &r = records[static_cast<std::size_t>(i)];
        r = DecodeRecord(recordBytes(pristine, i));
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
        // Nothing to write; the file is still opened and closed, so a missing or locked working
        // copy is reported as for any other write.
        std::error_code ec;
        ok = fs::is_regular_file(ctx.workingPath(), ec)
            && std::fstream(ctx.workingPath(), std::ios::in | std::ios::out | std::ios::binary).is_open();
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
