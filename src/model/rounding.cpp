#include "model/rounding.h"

#include <algorithm>
#include <cmath>

#include "screen/random.h"

namespace {

int32_t clampedWhole(double r) {
    if (std::isnan(r)) return 0;
    if (r >= 2147483647.0) return INT32_MAX;
    if (r <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(r);
}

}  // namespace

// The default floating-point mode rounds halves to even.
int32_t roundToInt(double x) { return clampedWhole(std::nearbyint(x)); }

int32_t floorToInt(double x) { return clampedWhole(std::floor(x)); }

int32_t randomBelow(int64_t n) { return floorToInt(randomUnit() * static_cast<double>(n)); }

int32_t nearestInt32(int64_t x) { return static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX)); }
