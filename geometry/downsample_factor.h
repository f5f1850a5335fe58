// The render's downsample factor along one axis: the one rule by which glyph
// coordinates and parameter lengths are brought to the current resolution.
#pragma once

#include <limits>

#include "AE_Effect.h"

// num / den in double, the denominator read as unsigned 32-bit. A zero
// denominator gives the IEEE result (an infinity of num's sign, or NaN for
// 0/0) without dividing by zero, which would trap in a host that unmasks
// floating-point exceptions.
inline double downsampleFactor(PF_RationalScale scale) {
    if (scale.den == 0) {
        if (scale.num == 0) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        return scale.num > 0 ? std::numeric_limits<double>::infinity() : -std::numeric_limits<double>::infinity();
    }
    return static_cast<double>(scale.num) / static_cast<double>(scale.den);
}
