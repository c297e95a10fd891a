#include "game/puzzle_stock.h"

#include "game/global_helpers.h"
#include "platform/services.h"

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

// ---- The stock file --------------------------------------------------------------------------

namespace {

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
    std::array<std::uint8_t, kRecordBytes> buffer;
    file.seekp(static_cast<std::streamoff>(from) * static_cast<std::streamoff>(kRecordBytes));
    for (int i = from; i <= last && file; ++i) {
        EncodeRecord(ctx.puzzles.records()[static_cast<std::size_t>(i)], buffer.data());
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

    // Copy under a temporary name first: only a complete copy is ever renamed into place, so an
    // interrupted copy can never be taken for a working copy at the next start.
    const std::string temporary = working + ".part";
    std::error_code ec;
    bool ok = false;
    {
        std::ifstream in(ctx.pristinePath(), std::ios::binary);
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (in.is_open() && out.is_open()) {
            std::array<char, 65536> chunk;
            while (in) {
                in.read(chunk.data(), chunk.size());
                if (in.gcount() > 0)
                    out.write(chunk.data(), in.gcount());
            }
            ok = !in.bad() && in.eof() && static_cast<bool>(out);
            // Only a whole stock may become the working copy: a short one would be completed
            // with puzzles that do not exist.
            ok = ok && out.tellp() >= static_cast<std::streamoff>(kStockBytes);
            out.close();
            ok = ok && !out.fail();
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
    for (long i = 0; i < whole; ++i)
        records[static_cast<std::size_t>(i)]
            = DecodeRecord(reinterpret_cast<const std::uint8_t *>(bytes.data()) + i * kRecordBytes);
    if (whole < kStockRecords) {
        // A short working copy: take what it lacks from the pristine copy. When that cannot
        // supply every missing record the stock cannot be loaded.
        std::vector<char> pristine;
        if (readWholeRecords(ctx.pristinePath(), pristine) < kStockRecords) {
            reportFileError(ctx, kReadErrorText);
            return false;
        }
        for (long i = whole; i < kStockRecords; ++i)
            records[static_cast<std::size_t>(i)] = DecodeRecord(
                reinterpret_cast<const std::uint8_t *>(pristine.data()) + i * kRecordBytes);
    }
    return true;
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
