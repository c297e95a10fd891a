#include "support/brute_force.h"

#include <algorithm>
#include <array>
#include <map>

namespace tl::brute {

namespace {

bool lineIsValid(std::uint32_t bits, int n)
{
    int ones = 0;
    for (int p = 0; p < n; ++p)
        ones += (bits >> p) & 1;
    if (ones != n / 2)
        return false;
    for (int p = 0; p + 2 < n; ++p) {
        const std::uint32_t a = (bits >> p) & 1, b = (bits >> (p + 1)) & 1, c = (bits >> (p + 2)) & 1;
        if (a == b && b == c)
            return false;
    }
    return true;
}

// Row-by-row search state.
struct Search {
    int n;
    std::uint32_t all;
    const std::vector<std::int32_t> &grid;
    long limit;
    bool record;
    long count = 0;
    std::vector<std::uint8_t> seen;
    std::array<std::vector<std::uint32_t>, 14> candidates; // valid lines fitting each row
    std::array<std::uint32_t, 14> rows{};
    std::array<int, 14> colOnes{};
    long nodes = 0;
    long nodeBudget = -1; // gives up (count stays 0) after this many rows placed; -1 never

    Search(int side, const std::vector<std::int32_t> &g, long lim, bool rec)
        : n(side), all((1u << side) - 1), grid(g), limit(lim), record(rec)
    {
        if (record)
            seen.assign(static_cast<std::size_t>(n) * n, 0);
        for (int r = 0; r < n; ++r) {
            std::vector<std::int32_t> line(grid.begin() + r * n, grid.begin() + r * n + n);
            candidates[r] = LinesFitting(n, line);
        }
    }

    void run(int r)
    {
        if (count >= limit || (nodeBudget >= 0 && nodes > nodeBudget))
            return;
        ++nodes;
        if (r == n) {
            if (!ColumnsDistinct(n, rows))
                return;
            ++count;
            if (record) {
                for (int i = 0; i < n * n; ++i)
                    seen[i] |= 1u << ((rows[i / n] >> (i % n)) & 1u);
            }
            return;
        }
        const int half = n / 2;
        const int rowsLeft = n - r - 1; // rows still to place after this one
        for (const std::uint32_t line : candidates[r]) {
            if (r >= 2) {
                const std::uint32_t a = rows[r - 1], b = rows[r - 2];
                if ((line & a & b) != 0 || (~line & ~a & ~b & all) != 0)
                    continue;
            }
            bool ok = true;
            for (int k = 0; k < r && ok; ++k)
                ok = rows[k] != line;
            for (int c = 0; c < n && ok; ++c) {
                const int ones = colOnes[c] + static_cast<int>((line >> c) & 1u);
                const int zeros = r + 1 - ones;
                ok = ones <= half && zeros <= half && ones + rowsLeft >= half && zeros + rowsLeft >= half;
            }
            if (!ok)
                continue;
            rows[r] = line;
            for (int c = 0; c < n; ++c)
                colOnes[c] += (line >> c) & 1u;
            run(r + 1);
            for (int c = 0; c < n; ++c)
                colOnes[c] -= (line >> c) & 1u;
            if (count >= limit || (nodeBudget >= 0 && nodes > nodeBudget))
                return;
        }
    }
};

} // namespace

bool ColumnsDistinct(int n, const std::array<std::uint32_t, 14> &rows)
{
    std::array<std::uint32_t, 14> cols{};
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            cols[c] |= ((rows[r] >> c) & 1u) << r;
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < a; ++b)
            if (cols[a] == cols[b])
                return false;
    return true;
}

const std::vector<std::uint32_t> &ValidLines(int n)
{
    static std::map<int, std::vector<std::uint32_t>> cache;
    auto it = cache.find(n);
    if (it == cache.end()) {
        std::vector<std::uint32_t> lines;
        for (std::uint32_t v = 0; v < (1u << n); ++v)
            if (lineIsValid(v, n))
                lines.push_back(v);
        it = cache.emplace(n, std::move(lines)).first;
    }
    return it->second;
}

std::vector<std::uint32_t> LinesFitting(int n, const std::vector<std::int32_t> &line)
{
    std::vector<std::uint32_t> out;
    for (const std::uint32_t v : ValidLines(n)) {
        bool fits = true;
        for (int p = 0; p < n && fits; ++p)
            fits = line[p] == -1 || static_cast<std::uint32_t>(line[p]) == ((v >> p) & 1u);
        if (fits)
            out.push_back(v);
    }
    return out;
}

Completions Analyse(int n, const std::vector<std::int32_t> &grid, long limit)
{
    Search s(n, grid, limit, true);
    s.run(0);
    Completions result;
    result.count = s.count;
    result.exhaustive = s.count < limit;
    result.seen = std::move(s.seen);
    return result;
}

long CountCompletions(int n, const std::vector<std::int32_t> &grid, long limit)
{
    Search s(n, grid, limit, false);
    s.run(0);
    return s.count;
}

bool ValueForced(int n, const std::vector<std::int32_t> &grid, int cell, int value)
{
    std::vector<std::int32_t> other = grid;
    other[cell] = 1 - value;
    return CountCompletions(n, other, 1) == 0;
}

std::vector<std::int32_t> RandomSolution(int n, std::mt19937_64 &rng)
{
    // A shuffled search has a heavy tail on the larger sizes: an unlucky start can take
    // seconds. Restarting with a fresh shuffle after a bounded number of steps avoids it.
    std::vector<std::int32_t> empty(static_cast<std::size_t>(n) * n, -1);
    Search s(n, empty, 1, false);
    const long budget = 2000;
    while (s.count == 0) {
        s.nodes = 0;
        s.nodeBudget = budget;
        s.colOnes.fill(0);
        for (int r = 0; r < n; ++r)
            std::shuffle(s.candidates[r].begin(), s.candidates[r].end(), rng);
        s.run(0);
    }
    std::vector<std::int32_t> board(static_cast<std::size_t>(n) * n);
    for (int i = 0; i < n * n; ++i)
        board[i] = static_cast<std::int32_t>((s.rows[i / n] >> (i % n)) & 1u);
    return board;
}

} // namespace tl::brute
