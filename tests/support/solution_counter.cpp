#include "support/solution_counter.h"

#include "support/brute_force.h"

#include <array>
#include <cstddef>

namespace tl::brute {

namespace {

constexpr int kWords = 9; // 9 x 64 bits hold the 518 lines of side 14
using LineSet = std::array<std::uint64_t, kWords>;

bool Any(const LineSet &a, const LineSet &b)
{
    for (int w = 0; w < kWords; ++w)
        if (a[w] & b[w])
            return true;
    return false;
}

struct Counter {
    int n;
    long limit;
    long count = 0;
    std::array<std::vector<std::uint32_t>, 14> rowLines; // lines fitting each row's clues
    std::array<std::vector<std::uint32_t>, 14> colLines; // lines fitting each column's clues
    // colHas[c][r][v]: the lines of column c whose cell in row r is v.
    std::array<std::array<std::array<LineSet, 2>, 14>, 14> colHas{};
    std::array<LineSet, 14> colSet{}; // the lines of each column still possible
    std::array<std::uint32_t, 14> rows{};
    std::uint32_t placed = 0;

    Counter(int side, const std::vector<std::int32_t> &grid, long lim) : n(side), limit(lim)
    {
        for (int r = 0; r < n; ++r) {
            std::vector<std::int32_t> row(grid.begin() + r * n, grid.begin() + (r + 1) * n);
            rowLines[r] = LinesFitting(n, row);
        }
        for (int c = 0; c < n; ++c) {
            std::vector<std::int32_t> col(n);
            for (int r = 0; r < n; ++r)
                col[r] = grid[r * n + c];
            colLines[c] = LinesFitting(n, col);
            for (std::size_t i = 0; i < colLines[c].size(); ++i) {
                colSet[c][i / 64] |= 1ULL << (i % 64);
                for (int r = 0; r < n; ++r)
                    colHas[c][r][(colLines[c][i] >> r) & 1u][i / 64] |= 1ULL << (i % 64);
            }
        }
    }

    void run(int depth)
    {
        if (count >= limit)
            return;
        if (depth == n) {
            if (ColumnsDistinct(n, rows))
                ++count;
            return;
        }
        // Pick the free row with the fewest lines that every column still allows.
        int best = -1;
        std::size_t bestCount = SIZE_MAX;
        std::uint32_t bestMust0 = 0, bestMust1 = 0;
        for (int r = 0; r < n; ++r) {
            if (placed & (1u << r))
                continue;
            std::uint32_t must0 = 0, must1 = 0;
            for (int c = 0; c < n; ++c) {
                const bool can0 = Any(colSet[c], colHas[c][r][0]);
                const bool can1 = Any(colSet[c], colHas[c][r][1]);
                if (!can0 && !can1)
                    return;
                if (!can0)
                    must1 |= 1u << c;
                if (!can1)
                    must0 |= 1u << c;
            }
            std::size_t k = 0;
            for (const std::uint32_t line : rowLines[r])
                if ((line & must0) == 0 && (~line & must1) == 0)
                    ++k;
            if (k < bestCount) {
                best = r;
                bestCount = k;
                bestMust0 = must0;
                bestMust1 = must1;
            }
        }
        if (bestCount == 0)
            return;
        const int r = best;
        const std::array<LineSet, 14> saved = colSet;
        placed |= 1u << r;
        for (const std::uint32_t line : rowLines[r]) {
            if ((line & bestMust0) != 0 || (~line & bestMust1) != 0)
                continue;
            bool repeat = false;
            for (int k = 0; k < n && !repeat; ++k)
                repeat = (placed & (1u << k)) && k != r && rows[k] == line;
            if (repeat)
                continue;
            rows[r] = line;
            for (int c = 0; c < n; ++c) {
                const LineSet &has = colHas[c][r][(line >> c) & 1u];
                for (int w = 0; w < kWords; ++w)
                    colSet[c][w] &= has[w];
            }
            run(depth + 1);
            colSet = saved;
            if (count >= limit)
                break;
        }
        placed &= ~(1u << r);
    }
};

} // namespace

long CountSolutions(int n, const std::vector<std::int32_t> &grid, long limit)
{
    if (n < 4 || n > 14 || n % 2 != 0 || grid.size() != static_cast<std::size_t>(n) * n)
        return 0;
    Counter counter(n, grid, limit);
    counter.run(0);
    return counter.count;
}

} // namespace tl::brute
