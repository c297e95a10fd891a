#include "game/line_tables.h"

namespace tl {

namespace {

void buildSize(const LineTables &t, int n, std::vector<std::int32_t> &bits,
               std::vector<std::int32_t> &codes, std::int32_t &last)
{
    bits.clear();
    codes.clear();
    last = -1;
    for (std::int32_t v = 0; v < (1 << n); ++v) {
        if (t.BitCount[v] != n / 2)
            continue;
        bool ok = true;
        for (int k = 0; k <= n - 3 && ok; ++k) {
            const std::int32_t m = 7 << k;
            if ((v & m) == 0 || (v & m) == m)
                ok = false;
        }
        if (!ok)
            continue;
        ++last;
        bits.push_back(v);
        codes.push_back(LineCodeOfBits(v, n));
    }
}

} // namespace

std::int32_t LineCodeOfBits(std::int32_t bits, int n)
{
    std::int32_t code = 0;
    for (int p = 0; p < n; ++p)
        code |= (((bits >> p) & 1) ? kCodeOne : kCodeZero) << (2 * p);
    return code;
}

const std::vector<std::int32_t> &LineTables::bits(int n) const
{
    static const std::vector<std::int32_t> none;
    switch (n) {
    case 8: return LineBits8;
    case 10: return LineBits10;
    case 12: return LineBits12;
    case 14: return LineBits14;
    default: return none;
    }
}

const std::vector<std::int32_t> &LineTables::codes(int n) const
{
    static const std::vector<std::int32_t> none;
    switch (n) {
    case 8: return LineCodes8;
    case 10: return LineCodes10;
    case 12: return LineCodes12;
    case 14: return LineCodes14;
    default: return none;
    }
}

const FittingIndex *LineTables::fittingIndex(int n) const
{
    if (n != 8 && n != 10 && n != 12 && n != 14)
        return nullptr;
    const FittingIndex *index = Fitting[n / 2 - 4].get();
    if (!index || static_cast<std::size_t>(index->count()) != bits(n).size() ||
        codes(n).size() != bits(n).size())
        return nullptr;
    return index;
}

std::shared_ptr<const FittingIndex> FittingIndex::Build(const std::vector<std::int32_t> &lines)
{
    if (lines.empty() || lines.size() > static_cast<std::size_t>(kMaxWords) * 64)
        return nullptr;
    auto index = std::make_shared<FittingIndex>();
    FittingIndex &x = *index;
    x.lines_ = lines;
    x.words_ = static_cast<int>((lines.size() + 63) / 64);
    x.groups_.assign(static_cast<std::size_t>(kGroups) * 64 * x.words_, 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::uint64_t bit = std::uint64_t{1} << (i % 64);
        x.all_[i / 64] |= bit;
        const auto e = static_cast<std::uint32_t>(lines[i]);
        for (int g = 0; g < kGroups; ++g) {
            const std::uint32_t mine = (e >> (3 * g)) & 7u;
            // Line i fits every state whose filled cells agree with it.
            for (std::uint32_t state = 0; state < 64; ++state) {
                const std::uint32_t f = state & 7u, o = state >> 3;
                if ((o & ~f) == 0 && ((mine ^ o) & f) == 0)
                    x.groups_[(static_cast<std::size_t>(g) * 64 + state) * x.words_ + i / 64] |= bit;
            }
        }
    }
    return index;
}

std::int32_t LineTables::lastLine(int n) const
{
    switch (n) {
    case 8: return LastLine8;
    case 10: return LastLine10;
    case 12: return LastLine12;
    case 14: return LastLine14;
    default: return -1;
    }
}

void Init_Line_Tables(LineTables &t, GeneratorThresholds &g)
{
    for (std::int32_t i = 0; i < 16384; ++i) {
        std::int32_t count = 0;
        for (std::int32_t v = i; v > 0; v /= 2)
            count += v % 2;
        t.BitCount[i] = count;
    }
    buildSize(t, 8, t.LineBits8, t.LineCodes8, t.LastLine8);
    buildSize(t, 10, t.LineBits10, t.LineCodes10, t.LastLine10);
    buildSize(t, 12, t.LineBits12, t.LineCodes12, t.LastLine12);
    buildSize(t, 14, t.LineBits14, t.LineCodes14, t.LastLine14);
    for (int n : {8, 10, 12, 14})
        t.Fitting[n / 2 - 4] = FittingIndex::Build(t.bits(n));

    g.DuplicateMin = {1, 1, 2, 2};
    g.DuplicateThreshold = {1, 2, 2, 3};
    g.DuplicateMax = {2, 3, 3, 4};
    g.HeavyMin = {1, 1, 2, 2};
    g.HeavyThreshold = {1, 2, 2, 3};
    g.HeavyMax = {2, 3, 3, 4};
}

const LineTables &SharedLineTables()
{
    static const LineTables tables = [] {
        LineTables t;
        GeneratorThresholds unused;
        Init_Line_Tables(t, unused);
        return t;
    }();
    return tables;
}

} // namespace tl
