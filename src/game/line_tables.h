// The tables of every valid line of the four board sizes, and the generator's acceptance
// thresholds. A valid line of N cells holds N/2 ones and N/2 zeros with no three equal values
// side by side. The order (increasing bit value) and the encodings are relied on by the
// solver, the generator and the hint engine.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tl {

// A LineCode holds a line of N cells in 2N bits, two bits per position p (bits 2p, 2p+1):
// 01 for a 0, 10 for a 1, 00 for an empty cell.
constexpr std::int32_t kCodeZero = 1;
constexpr std::int32_t kCodeOne = 2;

struct LineTables {
    std::array<std::int32_t, 16384> BitCount{};
    std::vector<std::int32_t> LineBits8, LineBits10, LineBits12, LineBits14;
    std::vector<std::int32_t> LineCodes8, LineCodes10, LineCodes12, LineCodes14;
    std::int32_t LastLine8 = -1, LastLine10 = -1, LastLine12 = -1, LastLine14 = -1;

    // The tables of side n (8, 10, 12 or 14); an empty table for any other n.
    const std::vector<std::int32_t> &bits(int n) const;
    const std::vector<std::int32_t> &codes(int n) const;
    std::int32_t lastLine(int n) const;
};

// The generator's acceptance thresholds, indexed by size index 0..3 (N = 8, 10, 12, 14).
struct GeneratorThresholds {
    std::array<std::int16_t, 4> DuplicateMin{};
    std::array<std::int16_t, 4> DuplicateThreshold{};
    std::array<std::int16_t, 4> DuplicateMax{};
    std::array<std::int16_t, 4> HeavyMin{};
    std::array<std::int16_t, 4> HeavyThreshold{};
    std::array<std::int16_t, 4> HeavyMax{};
};

// Builds every table from scratch and sets the thresholds to their starting values.
void Init_Line_Tables(LineTables &tables, GeneratorThresholds &thresholds);

// The tables built once for the whole process: they never change after being built.
const LineTables &SharedLineTables();

// The LineCode of a complete line given as bits (bit p = value at position p).
std::int32_t LineCodeOfBits(std::int32_t bits, int n);

} // namespace tl
