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

double RandomSource::uniform()
{
    // 53 random bits make a double in [0, 1).
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}

} // namespace tl
