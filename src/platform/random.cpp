#include "platform/services.h"

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

} // namespace tl
