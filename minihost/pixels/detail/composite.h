// Straight-alpha compositing of one source colour
// onto one destination pixel, shared by transformWorld and fillOutlines. The
// arithmetic is documented with transformWorld in world_ops.h.
#pragma once

#include <algorithm>

#include "minihost/pixels/detail/pixel_kernels.h"

namespace minihost::pixels_detail {

enum class Blend { kOver, kScreen };

/// Composites straight colour s, whose alpha is already multiplied by the
/// opacity and any coverage, onto d. Leaves d untouched where s is
/// transparent. Where the result is made of the source alone (t == 1) the
/// source colour passes unchanged, so opaque pixels and pixels landing on
/// transparent ones keep their exact values.
template <Blend blend, typename P>
inline void compositeOnto(P& d, const Rgba& s) {
    const float sa = std::min(s.a, 1.0f);
    if (!(sa > 0.0f)) return;
    const Rgba dst = toRgba(d);
    const float da = std::clamp(dst.a, 0.0f, 1.0f);
    const float out_a = sa + da * (1.0f - sa);
    const float t = sa / out_a;
    const float u = 1.0f - t;
    Rgba out;
    out.a = out_a;
    if constexpr (blend == Blend::kOver) {
        out.r = s.r * t + dst.r * u;
        out.g = s.g * t + dst.g * u;
        out.b = s.b * t + dst.b * u;
    } else {
        // Where the destination is opaque the screen of both colours shows,
        // where it is transparent the source's own colour does.
        const auto screened = [da](float sc, float dc) { return (1.0f - da) * sc + da * (sc + dc - sc * dc); };
        out.r = screened(s.r, dst.r) * t + dst.r * u;
        out.g = screened(s.g, dst.g) * t + dst.g * u;
        out.b = screened(s.b, dst.b) * t + dst.b * u;
    }
    d = fromRgba<P>(out);
}

}  // namespace minihost::pixels_detail
