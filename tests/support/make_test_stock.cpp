#include "support/make_test_stock.h"

#include "game/line_tables.h"

#include <fstream>
#include <map>
#include <random>
#include <set>
#include <utility>

namespace tl::test {

namespace {

// Row-by-row search with restarts: each row is a valid line whose cells keep every column free
// of three equal neighbours and within N/2 of each value; rows are distinct, and the finished
// board must have distinct columns.
std::vector<int> searchBoard(int n, std::mt19937_64 &rng)
{
    const std::vector<std::int32_t> &lines = SharedLineTables().bits(n);
    for (;;) {
        std::vector<std::int32_t> rows;
        std::vector<std::vector<std::size_t>> order(static_cast<std::size_t>(n));
        std::vector<std::size_t> next(static_cast<std::size_t>(n), 0);
        long steps = 0;
        int r = 0;
        auto shuffled = [&] {
            std::vector<std::size_t> o(lines.size());
            for (std::size_t i = 0; i < o.size(); ++i)
                o[i] = i;
            for (std::size_t i = o.size(); i > 1; --i)
                std::swap(o[i - 1], o[rng() % i]);
            return o;
        };
        order[0] = shuffled();
        while (r < n && steps < 200000) {
            ++steps;
            if (next[r] == order[r].size()) {
                if (r == 0)
                    break;
                --r;
                rows.pop_back();
                continue;
            }
            const std::int32_t v = lines[order[r][next[r]++]];
            bool ok = true;
            for (std::int32_t prev : rows)
                ok = ok && prev != v;
            for (int c = 0; c < n && ok; ++c) {
                const int bit = (v >> c) & 1;
                int ones = bit;
                for (std::int32_t prev : rows)
                    ones += (prev >> c) & 1;
                const int zeros = r + 1 - ones;
                if (ones > n / 2 || zeros > n / 2)
                    ok = false;
                if (r >= 2 && ((rows[r - 1] >> c) & 1) == bit && ((rows[r - 2] >> c) & 1) == bit)
                    ok = false;
            }
            if (!ok)
                continue;
            rows.push_back(v);
            ++r;
            if (r == n) {
                std::set<std::int32_t> columns;
                for (int c = 0; c < n; ++c) {
                    std::int32_t col = 0;
                    for (int i = 0; i < n; ++i)
                        col |= ((rows[i] >> c) & 1) << i;
                    columns.insert(col);
                }
                if (static_cast<int>(columns.size()) == n)
                    break;
                --r;
                rows.pop_back();
                continue;
            }
            order[r] = shuffled();
            next[r] = 0;
        }
        if (r == n) {
            std::vector<int> cells(static_cast<std::size_t>(n * n));
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < n; ++c)
                    cells[static_cast<std::size_t>(i * n + c)] = (rows[i] >> c) & 1;
            return cells;
        }
    }
}

// Boards are made once per (side, seed) and reused: a whole test stock needs only a few.
const std::vector<int> &cachedBoard(int n, std::uint64_t seed)
{
    static std::map<std::pair<int, std::uint64_t>, std::vector<int>> cache;
    auto it = cache.find({n, seed});
    if (it == cache.end())
        it = cache.emplace(std::make_pair(n, seed), MakeValidBoard(n, seed)).first;
    return it->second;
}

} // namespace

std::vector<int> MakeValidBoard(int n, std::uint64_t seed)
{
    std::mt19937_64 rng(seed * 7919 + static_cast<std::uint64_t>(n));
    return searchBoard(n, rng);
}

bool IsSolvedBoard(const std::vector<int> &cells, int n)
{
    if (n <= 0 || cells.size() != static_cast<std::size_t>(n * n))
        return false;
    auto at = [&](int r, int c, bool byColumn) { return byColumn ? cells[c * n + r] : cells[r * n + c]; };
    for (bool byColumn : {false, true}) {
        std::set<std::vector<int>> seen;
        for (int r = 0; r < n; ++r) {
            std::vector<int> line;
            int ones = 0;
            for (int c = 0; c < n; ++c) {
                const int v = at(r, c, byColumn);
                if (v != 0 && v != 1)
                    return false;
                ones += v;
                line.push_back(v);
                if (c >= 2 && line[c] == line[c - 1] && line[c - 1] == line[c - 2])
                    return false;
            }
            if (ones * 2 != n || !seen.insert(line).second)
                return false;
        }
    }
    return true;
}

PuzzleRecord MakeTestRecord(int level, int sizeIndex, int number, bool withBestTime)
{
    const int n = SideOfSizeIndex(sizeIndex);
    PuzzleRecord r;
    r.Level = static_cast<std::int16_t>(level);
    r.SizeIndex = static_cast<std::int16_t>(sizeIndex);
    r.Number = static_cast<std::int16_t>(number);
    // A few boards per size, each turned into eight variants (mirror, upside down, swapped
    // values), so neighbouring records differ.
    const std::vector<int> &base = cachedBoard(n, static_cast<std::uint64_t>((level * 100 + number) % 5));
    const int variant = number % 8;
    for (int row = 0; row < n; ++row)
        for (int col = 0; col < n; ++col) {
            const int sr = (variant & 1) ? n - 1 - row : row;
            const int sc = (variant & 2) ? n - 1 - col : col;
            int v = base[static_cast<std::size_t>(sr * n + sc)];
            if (variant & 4)
                v = 1 - v;
            const int i = row * n + col;
            r.SolutionCells[i] = static_cast<std::int16_t>(v);
            r.StartCells[i] = static_cast<std::int16_t>((i * 7 + number) % 3 == 0 ? v : -1);
        }
    if (withBestTime) {
        r.BestMin = static_cast<std::int16_t>(1 + number % 17);
        r.BestSec = static_cast<std::int16_t>((number * 13) % 60);
        r.BestPlayer = static_cast<std::int16_t>(1 + number % 3);
    }
    r.HeavyCount = static_cast<std::int16_t>(level == 3 ? 1 + number % 4 : 0);
    return r;
}

std::vector<PuzzleRecord> MakeTestStock(bool withBestTimes)
{
    std::vector<PuzzleRecord> records;
    records.reserve(kStockRecords);
    for (int level = 0; level < kLevels; ++level)
        for (int size = 0; size < kSizes; ++size)
            for (int number = 1; number <= kPuzzlesPerSet; ++number)
                records.push_back(MakeTestRecord(level, size, number, withBestTimes));
    return records;
}

std::vector<std::uint8_t> StockBytes(const std::vector<PuzzleRecord> &records)
{
    std::vector<std::uint8_t> bytes(records.size() * kRecordBytes);
    for (std::size_t i = 0; i < records.size(); ++i)
        EncodeRecord(records[i], bytes.data() + i * kRecordBytes);
    return bytes;
}

bool WriteBytes(const std::string &path, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

std::vector<std::uint8_t> ReadBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return {};
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteTestStockFile(const std::string &path, bool withBestTimes)
{
    return WriteBytes(path, StockBytes(MakeTestStock(withBestTimes)));
}

} // namespace tl::test
