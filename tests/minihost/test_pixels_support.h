// Helpers shared by the pixel tests: every depth, canaries in row padding,
// per-depth tolerances and raw pixel bytes.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "minihost/pixels/pixels.h"

namespace minihost {
// Shows a depth as "8-bit" and so on in test output.
inline void PrintTo(Depth depth, std::ostream* os) { *os << depthName(depth) << "-bit"; }
}  // namespace minihost

namespace pixels_test {

using minihost::Depth;
using minihost::Rgba;
using minihost::World;

/// The matrix that moves a world by (tx, ty), row vectors as the host uses them.
inline PF_FloatMatrix translation(double tx, double ty) {
    PF_FloatMatrix m{};
    m.mat[0][0] = 1;
    m.mat[1][1] = 1;
    m.mat[2][2] = 1;
    m.mat[2][0] = tx;
    m.mat[2][1] = ty;
    return m;
}

inline constexpr Depth kAllDepths[] = {Depth::k8, Depth::k16, Depth::k32};
inline constexpr unsigned char kCanary = 0xA5;

inline std::string depthLabel(const ::testing::TestParamInfo<Depth>& info) {
    return std::string("Bits") + minihost::depthName(info.param);
}

/// Largest error a stored channel may carry: one step of the depth.
inline float quantum(Depth depth) {
    switch (depth) {
        case Depth::k8:
            return 1.0f / 255.0f;
        case Depth::k16:
            return 1.0f / 32768.0f;
        case Depth::k32:
            break;
    }
    return 1e-5f;
}

/// Fills every row's padding (bytes past the last pixel) with kCanary.
inline void paintCanary(PF_EffectWorld& w) {
    const int used = w.width * minihost::pixelBytes(minihost::depthOf(w));
    auto* base = reinterpret_cast<unsigned char*>(w.data);
    for (int y = 0; y < w.height; ++y)
        std::memset(base + y * w.rowbytes + used, kCanary, static_cast<std::size_t>(w.rowbytes - used));
}

inline bool canaryIntact(const PF_EffectWorld& w) {
    const int used = w.width * minihost::pixelBytes(minihost::depthOf(w));
    const auto* base = reinterpret_cast<const unsigned char*>(w.data);
    for (int y = 0; y < w.height; ++y)
        for (int i = used; i < w.rowbytes; ++i)
            if (base[y * w.rowbytes + i] != kCanary) return false;
    return true;
}

inline std::vector<unsigned char> rawPixel(const PF_EffectWorld& w, int x, int y) {
    const int size = minihost::pixelBytes(minihost::depthOf(w));
    const auto* p = reinterpret_cast<const unsigned char*>(w.data) + y * w.rowbytes + x * size;
    return {p, p + size};
}

/// Compares with a tolerance of `steps` steps of the depth per channel.
inline ::testing::AssertionResult near(const Rgba& actual, const Rgba& expected, Depth depth, float steps = 1.5f) {
    const float tol = quantum(depth) * steps;
    const bool ok = std::fabs(actual.a - expected.a) <= tol && std::fabs(actual.r - expected.r) <= tol &&
                    std::fabs(actual.g - expected.g) <= tol && std::fabs(actual.b - expected.b) <= tol;
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (a " << actual.a << ", r " << actual.r << ", g " << actual.g << ", b "
                                         << actual.b << ") expected (a " << expected.a << ", r " << expected.r << ", g "
                                         << expected.g << ", b " << expected.b << ")";
}

/// A 4x4 source with a different colour and alpha in every pixel (alphas
/// from 0 to 1, some partial) and its padding painted.
inline World patterned(Depth depth, int width = 4, int height = 4) {
    World w(width, height, depth);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float k = static_cast<float>(y * width + x);
            w.set(x, y,
                  Rgba{(k + 1) / static_cast<float>(width * height), (k * 3 + 7) / 64.0f, (k * 5 + 1) / 97.0f,
                       1.0f - k / 50.0f});
        }
    w.set(0, 0, Rgba{1, 0.25f, 0.5f, 0.75f});
    paintCanary(*w.pf());
    return w;
}

inline void fillAll(World& w, Rgba c) {
    for (int y = 0; y < w.height(); ++y)
        for (int x = 0; x < w.width(); ++x) w.set(x, y, c);
}

}  // namespace pixels_test
