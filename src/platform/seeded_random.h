// A random source on a 64-bit Mersenne Twister. std::mt19937_64 is fully specified by the
// standard, so a given seed yields the same sequence on every machine.
#pragma once

#include "platform/services.h"

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

} // namespace tl
