#include "platform/services.h"
#include "platform/seeded_random.h"

namespace tl {

std::uint32_t RandomSource::below(std::uint32_t k)
{
    if (k <= 1)
        return 0;
    // Rejection sampling on the top of the 64-bit range: exact and portable.
    const std::uint64_t limit = UINT64_MAX - (UINT64_MAX % k);
    std::uint64_t v;
    do {
        v = next();
    } while (v >= limit);
    return static_cast<std::uint32_t>(v % k);
}

// The remainder without division. For 2 <= k < 2^32 let M = ceil(2^128 / k) = (2^128 + e) / k
// with 0 <= e < k, and write v = q k + r (0 <= r < k, q < 2^64 / k). Then
//   M v = q 2^128 + q e + r M,  so  M v mod 2^128 = q e + r M =: low,
// provided q e + r M < 2^128: q e < 2^64 and r M <= (k - 1)(2^128 + e) / k
// < 2^128 - 2^128 / k + k, and 2^128 / k > 2^96 > 2^64 + k. Next
//   low k = q e k + r (2^128 + e) = r 2^128 + (q e k + r e),
// with q e k < 2^64 k <= 2^96 and r e < k^2 < 2^64, so the second term is below 2^128 and
// floor(low k / 2^128) = r exactly. With low = lowHi 2^64 + lowLo the top part is formed as
// floor((lowHi k + floor(lowLo k / 2^64)) / 2^64), the same number because lowHi k is whole.
BoundedDraw::BoundedDraw(std::uint32_t k) : k_(k)
{
    if (k <= 1)
        return;
    limit_ = UINT64_MAX - (UINT64_MAX % k);
    // ceil(2^128 / k) = floor((2^128 - 1) / k) + 1 for every k >= 2.
    magic_ = ~static_cast<unsigned __int128>(0) / k + 1;
}

double RandomSource::uniform()
{
    // 53 random bits make a double in [0, 1).
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}

// The engine's parameters as the standard gives them for mt19937_64: state of n = 312 words,
// shift m = 156, r = 31 low bits taken from the next word, twist matrix a, and the tempering
// (u, d), (s, b), (t, c), l; seeding multiplier f.
namespace {
constexpr int kShift = 156;
constexpr std::uint64_t kMatrix = 0xB5026F5AA96619E9ull;
constexpr std::uint64_t kUpper = ~std::uint64_t{0} << 31, kLower = ~kUpper;
constexpr std::uint64_t kSeedMul = 6364136223846793005ull;

// One word of the twist: the top bit of `upper` and the low 31 bits of `lower`, shifted right,
// the matrix added when the lowest bit is set (as a mask: no branch), on `far`.
inline std::uint64_t Twist(std::uint64_t upper, std::uint64_t lower, std::uint64_t far)
{
    const std::uint64_t y = (upper & kUpper) | (lower & kLower);
    return far ^ (y >> 1) ^ ((std::uint64_t{0} - (y & 1)) & kMatrix);
}

inline std::uint64_t Temper(std::uint64_t z)
{
    z ^= (z >> 29) & 0x5555555555555555ull;
    z ^= (z << 17) & 0x71D67FFFEDA60000ull;
    z ^= (z << 37) & 0xFFF7EEE000000000ull;
    return z ^ (z >> 43);
}
} // namespace

void MersenneTwister64::reseed(std::uint64_t seed)
{
    state_[0] = seed;
    for (int i = 1; i < kWords; ++i) {
        const std::uint64_t prev = state_[i - 1];
        state_[i] = kSeedMul * (prev ^ (prev >> 62)) + static_cast<std::uint64_t>(i);
    }
    index_ = kWords;
}

void MersenneTwister64::renew()
{
    // Word k becomes Twist(x[k], x[k + 1], x[k + m]), indexes mod n, in order k = 0 .. n - 1:
    // the words before n - m meet words not yet renewed, the later ones renewed words. Split
    // so that no loop needs an index taken mod n.
    std::uint64_t *x = state_.data();
    for (int k = 0; k < kWords - kShift; ++k)
        x[k] = Twist(x[k], x[k + 1], x[k + kShift]);
    for (int k = kWords - kShift; k < kWords - 1; ++k)
        x[k] = Twist(x[k], x[k + 1], x[k + kShift - kWords]);
    x[kWords - 1] = Twist(x[kWords - 1], x[0], x[kShift - 1]);
    for (int k = 0; k < kWords; ++k)
        out_[k] = Temper(x[k]);
    index_ = 0;
}

} // namespace tl
