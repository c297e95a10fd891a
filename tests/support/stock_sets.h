// The shipped stock, and tests that run once per set of it (level x size index, 16 in all): they
// take the set as an integer parameter: level = param / kSizes, size index = param % kSizes.
#pragma once

#include "game/puzzle_record.h"
#include "support/hint_boards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tl::test {

// Every record of the shipped stock file, read once.
inline const std::vector<PuzzleRecord> &ShippedStock()
{
    static const std::vector<PuzzleRecord> records =
        ReadStockRecords(std::string(TL_SOURCE_DIR) + "/assets/DudEzadu.qzk");
    return records;
}

// "Easy_8" ... "Insane_14": the name of a per-set test case.
inline std::string StockSetName(const ::testing::TestParamInfo<int> &info)
{
    static const char *const levels[] = {"Easy", "Medium", "Hard", "Insane"};
    return std::string(levels[info.param / kSizes]) + "_" +
           std::to_string(SideOfSizeIndex(info.param % kSizes));
}

} // namespace tl::test
