// Stock files for tests, built from valid boards made with the line tables: no test depends on
// the stock that ships with the game.
#pragma once

#include "game/puzzle_record.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tl::test {

// A solved board of side n (8, 10, 12 or 14), row-major in n x n cells of 0 and 1: every row and
// column a valid line, no two rows and no two columns equal. The same seed gives the same board.
std::vector<int> MakeValidBoard(int n, std::uint64_t seed);

// True when `cells` (n x n, row-major) is a solved board by the rules of the game. Written
// independently of the line tables, to check boards from anywhere.
bool IsSolvedBoard(const std::vector<int> &cells, int n);

// A stock record for the slot (level, size index, number) as the generator would write it: a
// valid solution, about a third of its cells given, 0 beyond the board and in ExtraCells.
// With `withBestTime`, the record holds a best time and a holder made from its number.
PuzzleRecord MakeTestRecord(int level, int sizeIndex, int number, bool withBestTime);

// All 1600 records in file order.
std::vector<PuzzleRecord> MakeTestStock(bool withBestTimes = true);

// The bytes of a stock file holding `records` (any number of them).
std::vector<std::uint8_t> StockBytes(const std::vector<PuzzleRecord> &records);

// Writes `bytes` to `path` (replacing it); false on failure.
bool WriteBytes(const std::string &path, const std::vector<std::uint8_t> &bytes);
// The whole content of `path` ({} when it cannot be read).
std::vector<std::uint8_t> ReadBytes(const std::string &path);

// Writes a full 1600-record test stock file to `path`.
bool WriteTestStockFile(const std::string &path, bool withBestTimes = true);

} // namespace tl::test
