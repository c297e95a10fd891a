// Tests that run once per set of the stock (level x size index, 16 in all) take the set as an
// integer parameter: level = param / kSizes, size index = param % kSizes.
#pragma once

#include "game/puzzle_record.h"

#include <gtest/gtest.h>

#include <string>

namespace tl::test {

// "Easy_8" ... "Insane_14": the name of a per-set test case.
inline std::string StockSetName(const ::testing::TestParamInfo<int> &info)
{
    static const char *const levels[] = {"Easy", "Medium", "Hard", "Insane"};
    return std::string(levels[info.param / kSizes]) + "_" +
           std::to_string(SideOfSizeIndex(info.param % kSizes));
}

} // namespace tl::test
