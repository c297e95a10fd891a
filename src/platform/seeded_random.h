// Seeded random sources: the 64-bit Mersenne Twister and seeds for it.
#pragma once

#include "platform/services.h"

#include <array>
#include <chrono>
#include <cstdint>

namespace tl {

// The 64-bit Mersenne Twister exactly as the standard defines std::mt19937_64: the same state
// from the same seed and the same numbers in the same order (the standard fixes both, so a
// given seed yields the same sequence on every machine). It works its numbers out 312 at a
// time: each renewal of the state also tempers the 312 outputs into a buffer, in loops without
// a branch on the numbers, so that taking a number is a load.
class MersenneTwister64 {
public:
    static constexpr int kWords = 312;
    explicit MersenneTwister64(std::uint64_t seed = 5489u) { reseed(seed); }
    void reseed(std::uint64_t seed);
    std::uint64_t operator()()
    {
        if (index_ == kWords)
            renew();
        return out_[index_++];
    }

private:
    void renew();
    std::array<std::uint64_t, kWords> state_;
    std::array<std::uint64_t, kWords> out_;
    int index_ = kWords;
};

// A random source on the 64-bit Mersenne Twister. Final, so that a caller holding a
// SeededRandom takes its numbers without a virtual call.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
    std::uint64_t next() override { return engine_(); }
    void reseed(std::uint64_t seed) { engine_.reseed(seed); }

private:
    MersenneTwister64 engine_;
};

// A 64-bit mix in which every input bit affects every output bit: spreads small or
// neighbouring numbers (clock ticks, indexes) over seeds that look unrelated.
inline std::uint64_t SplitMix64(std::uint64_t z)
{
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A seed from a high-resolution clock, for the game's own random source (tests and tools give
// fixed seeds instead). The clock's ticks are spread over all 64 bits.
inline std::uint64_t ClockSeed()
{
    return SplitMix64(static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

} // namespace tl
