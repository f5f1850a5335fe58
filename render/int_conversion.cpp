#include "render/int_conversion.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kLongMin = static_cast<double>(std::numeric_limits<A_long>::min());
constexpr double kLongMax = static_cast<double>(std::numeric_limits<A_long>::max());
}  // namespace

A_long truncateSaturated(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= kLongMax) {
        return std::numeric_limits<A_long>::max();
    }
    if (value <= kLongMin) {
        return std::numeric_limits<A_long>::min();
    }
    // Strictly inside the range, so the truncation is defined.
    return static_cast<A_long>(value);
}

std::optional<A_long> narrowExact(std::int64_t value) {
    if (value < std::numeric_limits<A_long>::min() || value > std::numeric_limits<A_long>::max()) {
        return std::nullopt;
    }
    return static_cast<A_long>(value);
}

std::optional<A_long> wholeToLong(double whole) {
    // Written so that NaN fails the test too.
    if (!(whole >= kLongMin && whole <= kLongMax)) {
        return std::nullopt;
    }
    return static_cast<A_long>(whole);
}
