// Conversions from the render's doubles and 64-bit sums to the host's 32-bit
// integers. Every input has a defined result: NaN, infinities and values
// beyond the 32-bit range included (a degenerate layer matrix, a zero
// downsample denominator or an absurd host value produce exactly those).
//
// Two rules, chosen per use:
// - lengths read from sliders or scaled to the render saturate, because they
//   only feed sums that are range-checked again before anything is drawn, and
//   saturation keeps their sign and order (a huge size stays huge instead of
//   wrapping to a small one);
// - pixel coordinates and sizes of one character must be exact, or the
//   character is skipped: its pixels cannot be addressed in a 32-bit buffer.
#pragma once

#include <cstdint>
#include <optional>

#include "A.h"

// Truncates toward zero; values beyond A_long's range give its nearest limit
// and NaN gives 0 (no length at all).
A_long truncateSaturated(double value);

// The value itself when A_long holds it, otherwise nothing.
std::optional<A_long> narrowExact(std::int64_t value);

// A whole number (a floor or ceiling) as A_long when it is finite and in
// range, otherwise nothing.
std::optional<A_long> wholeToLong(double whole);
