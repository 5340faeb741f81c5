#include "common/Rounding.h"

#include <cmath>
#include <limits>

namespace bastion {

long long BankersRound(double value) {
    if (std::isnan(value)) return 0;
    // Values beyond the range of a whole number saturate instead of
    // overflowing the conversion.
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (value >= kLimit) return std::numeric_limits<long long>::max();
    if (value < -kLimit) return std::numeric_limits<long long>::min();

    // value - floor(value) is exact in binary floating point, so only a true
    // half is treated as one.
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5) {
        rounded = below + 1.0;
    } else if (fraction == 0.5 && std::fmod(below, 2.0) != 0.0) {
        rounded = below + 1.0;
    }
    if (rounded >= kLimit) return std::numeric_limits<long long>::max();
    return static_cast<long long>(rounded);
}

}  // namespace bastion
