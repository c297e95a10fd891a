#include "game/line_tables.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace tl;

namespace {

struct Built {
    LineTables t;
    GeneratorThresholds g;
    Built() { Init_Line_Tables(t, g); }
};

bool hasRunOfThree(std::int32_t v, int n)
{
    for (int k = 0; k + 2 < n; ++k) {
        const int a = (v >> k) & 1, b = (v >> (k + 1)) & 1, c = (v >> (k + 2)) & 1;
        if (a == b && b == c)
            return true;
    }
    return false;
}

} // namespace

TEST(LineTables, BitCountsAtTheEnds)
{
    Built b;
    EXPECT_EQ(b.t.BitCount[0], 0);
    EXPECT_EQ(b.t.BitCount[16383], 14);
    EXPECT_EQ(b.t.BitCount[0b1010101], 4);
}

TEST(LineTables, SizesAndWorkedExample)
{
    Built b;
    EXPECT_EQ(b.t.LastLine8, 33);
    EXPECT_EQ(b.t.LastLine10, 83);
    EXPECT_EQ(b.t.LastLine12, 207);
    EXPECT_EQ(b.t.LastLine14, 517);
    EXPECT_EQ(b.t.LineBits8.size(), 34u);
    EXPECT_EQ(b.t.LineBits10.size(), 84u);
    EXPECT_EQ(b.t.LineBits12.size(), 208u);
    EXPECT_EQ(b.t.LineBits14.size(), 518u);
    ASSERT_GE(b.t.LineBits8.size(), 3u);
    EXPECT_EQ(b.t.LineBits8[0], 43);
    EXPECT_EQ(b.t.LineBits8[1], 45);
    EXPECT_EQ(b.t.LineBits8[2], 51);
    EXPECT_EQ(b.t.LineBits8[32], 210);
    EXPECT_EQ(b.t.LineBits8[33], 212);
    EXPECT_EQ(b.t.LineCodes8[0], 0x599A);
}

TEST(LineTables, EveryEntryIsAValidLineInIncreasingOrderWithMatchingCode)
{
    Built b;
    for (int n : {8, 10, 12, 14}) {
        const auto &bits = b.t.bits(n);
        const auto &codes = b.t.codes(n);
        ASSERT_EQ(bits.size(), codes.size());
        ASSERT_EQ(static_cast<int>(bits.size()) - 1, b.t.lastLine(n));
        for (std::size_t i = 0; i < bits.size(); ++i) {
            const std::int32_t v = bits[i];
            EXPECT_EQ(__builtin_popcount(v), n / 2) << n << " " << v;
            EXPECT_FALSE(hasRunOfThree(v, n)) << n << " " << v;
            EXPECT_LT(v, 1 << n);
            if (i > 0) {
                EXPECT_GT(v, bits[i - 1]);
            }
            EXPECT_GT(codes[i], 0);
            for (int p = 0; p < n; ++p) {
                const int digit = (codes[i] >> (2 * p)) & 3;
                EXPECT_EQ(digit, ((v >> p) & 1) ? 2 : 1) << "n=" << n << " i=" << i << " p=" << p;
            }
            EXPECT_EQ(codes[i] >> (2 * n), 0);
        }
    }
}

TEST(LineTables, CountsMatchAnIndependentEnumeration)
{
    // Count valid lines by brute force over every value, independent of the table builder.
    Built b;
    for (int n : {8, 10, 12, 14}) {
        int count = 0;
        for (int v = 0; v < (1 << n); ++v)
            if (__builtin_popcount(v) == n / 2 && !hasRunOfThree(v, n))
                ++count;
        EXPECT_EQ(count, b.t.lastLine(n) + 1) << n;
    }
}

TEST(LineTables, SetsAreClosedUnderReversalAndComplement)
{
    Built b;
    for (int n : {8, 10, 12, 14}) {
        const auto &bits = b.t.bits(n);
        for (std::int32_t v : bits) {
            std::int32_t rev = 0;
            for (int p = 0; p < n; ++p)
                rev |= ((v >> p) & 1) << (n - 1 - p);
            const std::int32_t comp = (~v) & ((1 << n) - 1);
            EXPECT_TRUE(std::binary_search(bits.begin(), bits.end(), rev));
            EXPECT_TRUE(std::binary_search(bits.begin(), bits.end(), comp));
        }
    }
}

TEST(LineTables, ThresholdsStartFromTheirTableWhateverARunDidBefore)
{
    LineTables t;
    GeneratorThresholds g;
    g.DuplicateThreshold = {9, 9, 9, 9};
    g.HeavyThreshold = {-3, 0, 7, 7};
    Init_Line_Tables(t, g);
    using A = std::array<std::int16_t, 4>;
    EXPECT_EQ(g.DuplicateMin, (A{1, 1, 2, 2}));
    EXPECT_EQ(g.DuplicateThreshold, (A{1, 2, 2, 3}));
    EXPECT_EQ(g.DuplicateMax, (A{2, 3, 3, 4}));
    EXPECT_EQ(g.HeavyMin, (A{1, 1, 2, 2}));
    EXPECT_EQ(g.HeavyThreshold, (A{1, 2, 2, 3}));
    EXPECT_EQ(g.HeavyMax, (A{2, 3, 3, 4}));
    // Building twice gives the same tables, not appended ones.
    Init_Line_Tables(t, g);
    EXPECT_EQ(t.LineBits14.size(), 518u);
    EXPECT_EQ(t.bits(9).size(), 0u);
    EXPECT_EQ(t.lastLine(7), -1);
}
