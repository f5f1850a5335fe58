// Per-pixel-type conversions, row access and the
// one dispatch from a depth to a kernel templated over the pixel type.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <type_traits>

#include "AE_Effect.h"
#include "minihost/pixels/depth.h"

namespace minihost::pixels_detail {

template <typename P>
struct PixelTraits;

template <>
struct PixelTraits<PF_Pixel8> {
    using Channel = A_u_char;
    static float toUnit(Channel v) { return static_cast<float>(v) * (1.0f / 255.0f); }
    static Channel fromUnit(float v) {
        // Clamped first, so adding a half and truncating rounds to nearest.
        return static_cast<Channel>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f);
    }
    static Channel from8(A_u_char v) { return v; }
};

template <>
struct PixelTraits<PF_Pixel16> {
    using Channel = A_u_short;
    static float toUnit(Channel v) { return static_cast<float>(v) * (1.0f / 32768.0f); }
    static Channel fromUnit(float v) { return static_cast<Channel>(std::clamp(v, 0.0f, 1.0f) * 32768.0f + 0.5f); }
    // v x 32768 / 255, rounded to nearest.
    static Channel from8(A_u_char v) { return static_cast<Channel>((v * 32768 + 127) / 255); }
};

template <>
struct PixelTraits<PF_PixelFloat> {
    using Channel = PF_FpShort;
    static float toUnit(Channel v) { return v; }
    static Channel fromUnit(float v) { return v; }
    static Channel from8(A_u_char v) { return static_cast<float>(v) / 255.0f; }
};

template <typename P>
Rgba toRgba(const P& p) {
    using T = PixelTraits<P>;
    return {T::toUnit(p.alpha), T::toUnit(p.red), T::toUnit(p.green), T::toUnit(p.blue)};
}

template <typename P>
P fromRgba(const Rgba& c) {
    using T = PixelTraits<P>;
    P p;
    p.alpha = T::fromUnit(c.a);
    p.red = T::fromUnit(c.r);
    p.green = T::fromUnit(c.g);
    p.blue = T::fromUnit(c.b);
    return p;
}

template <typename P>
P from8(const PF_Pixel& c) {
    using T = PixelTraits<P>;
    P p;
    p.alpha = T::from8(c.alpha);
    p.red = T::from8(c.red);
    p.green = T::from8(c.green);
    p.blue = T::from8(c.blue);
    return p;
}

template <typename P>
P* rowOf(PF_EffectWorld& world, int y) {
    return reinterpret_cast<P*>(reinterpret_cast<char*>(world.data) + static_cast<std::ptrdiff_t>(y) * world.rowbytes);
}

template <typename P>
const P* rowOf(const PF_EffectWorld& world, int y) {
    return reinterpret_cast<const P*>(reinterpret_cast<const char*>(world.data) +
                                      static_cast<std::ptrdiff_t>(y) * world.rowbytes);
}

/// Calls kernel(P{}) with the pixel type of depth: the one place where a
/// depth turns into a type.
template <typename Kernel>
decltype(auto) dispatch(Depth depth, Kernel&& kernel) {
    switch (depth) {
        case Depth::k8:
            return kernel(PF_Pixel8{});
        case Depth::k16:
            return kernel(PF_Pixel16{});
        case Depth::k32:
            break;
    }
    return kernel(PF_PixelFloat{});
}

}  // namespace minihost::pixels_detail
