// One puzzle of the stock: 596 signed 16-bit little-endian integers, 1192 bytes, no padding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tl {

constexpr int kLevels = 4;        // Easy, Medium, Hard, Insane
constexpr int kSizes = 4;         // 8, 10, 12, 14 cells a side
constexpr int kPuzzlesPerSet = 100;
constexpr int kStockRecords = kLevels * kSizes * kPuzzlesPerSet; // 1600
constexpr int kGridCells = 196;   // 14 x 14: every cell grid of a record
constexpr int kMaxSide = 14;
constexpr std::size_t kRecordBytes = 1192;
constexpr std::size_t kStockBytes = kRecordBytes * kStockRecords; // 1,907,200

// Byte offsets of the fields inside a stored record.
constexpr std::size_t kOffsetStartCells = 8;
constexpr std::size_t kOffsetSolutionCells = 400;
constexpr std::size_t kOffsetBestMin = 792;
constexpr std::size_t kOffsetBestSec = 794;
constexpr std::size_t kOffsetBestPlayer = 796;
constexpr std::size_t kOffsetExtraCells = 798;
constexpr std::size_t kOffsetHeavyCount = 1190;

using CellGrid = std::array<std::int16_t, kGridCells>;

struct PuzzleRecord {
    std::int16_t Level = 0;
    std::int16_t SizeIndex = 0;
    std::int16_t Number = 0;
    std::int16_t Reserved = 0;
    CellGrid StartCells{};
    CellGrid SolutionCells{};
    std::int16_t BestMin = 0;
    std::int16_t BestSec = 0;
    std::int16_t BestPlayer = 0;
    CellGrid ExtraCells{};
    std::int16_t HeavyCount = 0;

    bool operator==(const PuzzleRecord &) const = default;

    // The board side N for a valid SizeIndex, or 0 when SizeIndex is out of range: callers
    // must never use a damaged field as a size or a loop bound.
    int side() const { return SizeIndex >= 0 && SizeIndex < kSizes ? (SizeIndex + 4) * 2 : 0; }
    // The number of meaningful cells, N x N, or 0 when SizeIndex is damaged.
    int cellCount() const { return side() * side(); }
    bool hasBestTime() const { return BestMin != 0 || BestSec != 0; }
};

// Encodes a record into exactly kRecordBytes bytes, little-endian whatever the host.
void EncodeRecord(const PuzzleRecord &record, std::uint8_t *out);
// Decodes kRecordBytes bytes into a record.
PuzzleRecord DecodeRecord(const std::uint8_t *in);

// The 1-based record number of (level, size index, number): 400 L + 100 S + n.
constexpr int RecordNumber(int level, int sizeIndex, int number)
{
    return 400 * level + 100 * sizeIndex + number;
}
// The byte offset of that record in the stock file.
constexpr std::size_t RecordOffset(int level, int sizeIndex, int number)
{
    return static_cast<std::size_t>(RecordNumber(level, sizeIndex, number) - 1) * kRecordBytes;
}

// A stored cell as a CellValue: -1, 0 or 1 as stored, and -1 (empty) for any other value, so a
// damaged cell can never be used to index anything.
constexpr int CellValueOf(std::int16_t stored)
{
    return stored == 0 || stored == 1 ? stored : -1;
}

// A stored cell grid as CellValues: every value other than -1, 0 and 1 reads as empty. Every
// use of a record's cells goes through this, so a damaged value can never make a cell given.
constexpr CellGrid CellValuesOf(const CellGrid &stored)
{
    CellGrid cells{};
    for (std::size_t k = 0; k < cells.size(); ++k)
        cells[k] = static_cast<std::int16_t>(CellValueOf(stored[k]));
    return cells;
}

// Side N of a size index 0..3 ((S + 4) x 2), 0 for anything else.
constexpr int SideOfSizeIndex(int sizeIndex)
{
    return sizeIndex >= 0 && sizeIndex < kSizes ? (sizeIndex + 4) * 2 : 0;
}

} // namespace tl
