#include "support/hint_boards.h"

#include "support/solver_boards.h"

#include <fstream>
#include <iterator>

namespace tl::test {

HintBoard HintBoardFromRows(const std::vector<std::string> &rows)
{
    const std::vector<std::int32_t> grid = testboards::Board(rows);
    std::vector<std::int32_t> solution(grid.size());
    for (std::size_t i = 0; i < grid.size(); ++i)
        solution[i] = grid[i] == 1 ? 1 : 0;
    return HintBoardFrom(grid, solution, static_cast<int>(rows.size()));
}

HintBoard HintBoardFrom(const std::vector<std::int32_t> &grid,
                        const std::vector<std::int32_t> &solution, int n)
{
    HintBoard b;
    b.n = n;
    for (int i = 0; i < n * n; ++i) {
        b.board[i] = static_cast<std::int16_t>(grid[i]);
        b.solution[i] = static_cast<std::int16_t>(solution[i]);
    }
    return b;
}

HintBoard Transposed(const HintBoard &b)
{
    HintBoard t;
    t.n = b.n;
    for (int r = 0; r < b.n; ++r) {
        for (int c = 0; c < b.n; ++c) {
            t.board[c * b.n + r] = b.board[r * b.n + c];
            t.solution[c * b.n + r] = b.solution[r * b.n + c];
        }
    }
    return t;
}

std::vector<PuzzleRecord> ReadStockRecords(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(f)),
                                          std::istreambuf_iterator<char>());
    std::vector<PuzzleRecord> records;
    for (std::size_t at = 0; at + kRecordBytes <= bytes.size(); at += kRecordBytes)
        records.push_back(DecodeRecord(bytes.data() + at));
    return records;
}

} // namespace tl::test
