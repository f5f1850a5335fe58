// Shared pieces of the hostile-input tests: a host with a small text layer,
// exact picture comparison, and the bound on the worlds the effect asks for.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "minihost/core/host.h"
#include "params/param_index.h"

namespace reliability {

// Same size and the same bytes in every pixel (row padding ignored).
inline bool sameBytes(const minihost::World& a, const minihost::World& b) {
    if (a.width() != b.width() || a.height() != b.height() || a.depth() != b.depth()) {
        return false;
    }
    const std::size_t row = static_cast<std::size_t>(a.width()) * static_cast<std::size_t>(pixelBytes(a.depth()));
    for (int y = 0; y < a.height(); ++y) {
        const char* pa = static_cast<const char*>(static_cast<const void*>(a.pf()->data)) +
                         static_cast<std::ptrdiff_t>(y) * a.rowBytes();
        const char* pb = static_cast<const char*>(static_cast<const void*>(b.pf()->data)) +
                         static_cast<std::ptrdiff_t>(y) * b.rowBytes();
        if (std::memcmp(pa, pb, row) != 0) {
            return false;
        }
    }
    return true;
}

inline bool allTransparent(const minihost::World& w) {
    for (int y = 0; y < w.height(); ++y) {
        for (int x = 0; x < w.width(); ++x) {
            if (w.at(x, y).a != 0.0f) {
                return false;
            }
        }
    }
    return true;
}

// The size a character world may have at most: its glyph box (whole pixels)
// grown by twice the expansion on every side, and its guide world: the cell
// with the expansion on both ends along the axis, the source rectangle across.
struct WorldBound {
    long width;
    long height;
};

// Every world of the render fits one of the bounds.
inline void expectWorldsWithin(const minihost::CommandRecord& render, const std::vector<WorldBound>& bounds,
                               const std::string& context) {
    for (const auto& [w, h] : render.world_sizes) {
        bool fits = false;
        for (const WorldBound& b : bounds) {
            fits = fits || (w <= b.width && h <= b.height);
        }
        EXPECT_TRUE(fits) << context << ": a world of " << w << " x " << h << " is larger than any character needs";
    }
}

// A rectangle glyph contour with one coordinate replaced.
inline minihost::Glyph glyphWithVertex(double x, double y) {
    minihost::Glyph g;
    g.contours = {minihost::polygonContour({{x, y}, {x + 4.0, y}, {x + 4.0, y + 4.0}})};
    return g;
}

}  // namespace reliability
