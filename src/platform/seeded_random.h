// A random source on a 64-bit Mersenne Twister. std::mt19937_64 is fully specified by the
// standard, so a given seed yields the same sequence on every machine.
#pragma once

#include "platform/services.h"

#include <chrono>
#include <random>

namespace tl {

class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
    std::uint64_t next() override { return engine_(); }
    void reseed(std::uint64_t seed) { engine_.seed(seed); }

private:
    std::mt19937_64 engine_;
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
