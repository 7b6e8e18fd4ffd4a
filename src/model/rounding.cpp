#include "model/rounding.h"

#include <algorithm>
#include <cmath>

int32_t roundToInt(double x) {
    if (std::isnan(x)) return 0;
    // The default floating-point mode rounds halves to even.
    const double r = std::nearbyint(x);
    if (r >= 2147483647.0) return INT32_MAX;
    if (r <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(r);
}

int32_t nearestInt32(int64_t x) { return static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX)); }
