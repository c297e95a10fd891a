#include "game/puzzle_record.h"

#include <gtest/gtest.h>
#include <vector>

using namespace tl;

TEST(PuzzleRecord, RecordNumbersAndOffsets)
{
    EXPECT_EQ(RecordNumber(0, 0, 1), 1);
    EXPECT_EQ(RecordOffset(0, 0, 1), 0u);
    EXPECT_EQ(RecordNumber(1, 1, 7), 507);
    EXPECT_EQ(RecordOffset(1, 1, 7), 603152u);
    EXPECT_EQ(RecordNumber(3, 3, 100), 1600);
    EXPECT_EQ(RecordOffset(3, 3, 100), 1906008u);
    EXPECT_EQ(kStockBytes, 1907200u);
}

TEST(PuzzleRecord, EncodesFieldsAtTheirOffsetsLittleEndian)
{
    PuzzleRecord r;
    r.Level = 2;
    r.SizeIndex = 3;
    r.Number = 100;
    r.Reserved = 0;
    r.StartCells.fill(-1);
    r.StartCells[0] = 1;
    r.SolutionCells.fill(0);
    r.SolutionCells[195] = 1;
    r.BestMin = 0x1234;
    r.BestSec = 59;
    r.BestPlayer = 7;
    r.ExtraCells.fill(-1);
    r.HeavyCount = -2;

    std::vector<std::uint8_t> bytes(kRecordBytes + 4, 0xAB);
    EncodeRecord(r, bytes.data());
    EXPECT_EQ(bytes[kRecordBytes], 0xAB) << "wrote past the record";
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 3);
    EXPECT_EQ(bytes[4], 100);
    EXPECT_EQ(bytes[kOffsetStartCells], 1);
    EXPECT_EQ(bytes[kOffsetStartCells + 2], 0xFF); // -1
    EXPECT_EQ(bytes[kOffsetStartCells + 3], 0xFF);
    EXPECT_EQ(bytes[kOffsetSolutionCells + 2 * 195], 1);
    EXPECT_EQ(bytes[kOffsetBestMin], 0x34);
    EXPECT_EQ(bytes[kOffsetBestMin + 1], 0x12);
    EXPECT_EQ(bytes[kOffsetBestSec], 59);
    EXPECT_EQ(bytes[kOffsetBestPlayer], 7);
    EXPECT_EQ(bytes[kOffsetExtraCells], 0xFF);
    EXPECT_EQ(bytes[kOffsetHeavyCount], 0xFE);
    EXPECT_EQ(bytes[kOffsetHeavyCount + 1], 0xFF);

    EXPECT_EQ(DecodeRecord(bytes.data()), r);
}

TEST(PuzzleRecord, SideIsZeroForADamagedSizeIndex)
{
    PuzzleRecord r;
    for (int s = 0; s < 4; ++s) {
        r.SizeIndex = static_cast<std::int16_t>(s);
        EXPECT_EQ(r.side(), (s + 4) * 2);
    }
    EXPECT_EQ(r.cellCount(), 196);
    r.SizeIndex = 4;
    EXPECT_EQ(r.side(), 0);
    EXPECT_EQ(r.cellCount(), 0);
    r.SizeIndex = -1;
    EXPECT_EQ(r.side(), 0);
    EXPECT_EQ(SideOfSizeIndex(32767), 0);
}

TEST(PuzzleRecord, DamagedCellValuesReadAsEmpty)
{
    EXPECT_EQ(CellValueOf(0), 0);
    EXPECT_EQ(CellValueOf(1), 1);
    EXPECT_EQ(CellValueOf(-1), -1);
    EXPECT_EQ(CellValueOf(2), -1);
    EXPECT_EQ(CellValueOf(-32768), -1);
}
