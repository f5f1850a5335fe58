// Measuring what the effect drew, through the stand-in host.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "minihost/core/host.h"
#include "params/param_index.h"

namespace render_test {

// An axis-aligned box in layer pixels: left/top inclusive, right/bottom
// exclusive.
struct pixel_box {
    int left, top, right, bottom;
    bool operator==(const pixel_box&) const = default;
};

inline std::string toString(const pixel_box& b) {
    // A stream rather than a chain of + on strings: GCC 12 warns falsely
    // (-Wrestrict) on such chains at -O3.
    std::ostringstream text;
    text << '[' << b.left << ", " << b.top << ", " << b.right << ", " << b.bottom << ')';
    return text.str();
}

inline std::ostream& operator<<(std::ostream& os, const pixel_box& b) { return os << toString(b); }

inline int originX(const minihost::World& w) { return w.pf()->origin_x; }
inline int originY(const minihost::World& w) { return w.pf()->origin_y; }

// The world's pixel at layer coordinate (x, y), or transparent outside it.
inline minihost::Rgba atLayer(const minihost::World& w, int x, int y) {
    const int bx = x - originX(w);
    const int by = y - originY(w);
    if (bx < 0 || by < 0 || bx >= w.width() || by >= w.height()) {
        return {0, 0, 0, 0};
    }
    return w.at(bx, by);
}

// The boxes of what is drawn, one per run of columns (rows when vertical)
// holding a pixel with alpha above threshold, in layer coordinates, in order
// along the axis.
inline std::vector<pixel_box> drawnBoxes(const minihost::World& w, bool vertical = false, float threshold = 0.0f) {
    std::vector<pixel_box> boxes;
    const int along = vertical ? w.height() : w.width();
    const int across = vertical ? w.width() : w.height();
    bool open = false;
    for (int a = 0; a <= along; ++a) {
        int lo = across, hi = -1;
        if (a < along) {
            for (int c = 0; c < across; ++c) {
                const minihost::Rgba px = vertical ? w.at(c, a) : w.at(a, c);
                if (px.a > threshold) {
                    lo = std::min(lo, c);
                    hi = std::max(hi, c);
                }
            }
        }
        if (hi >= 0) {
            if (!open) {
                boxes.push_back(vertical ? pixel_box{lo, a, hi + 1, a + 1} : pixel_box{a, lo, a + 1, hi + 1});
                open = true;
            } else {
                pixel_box& b = boxes.back();
                if (vertical) {
                    b.bottom = a + 1;
                    b.left = std::min(b.left, lo);
                    b.right = std::max(b.right, hi + 1);
                } else {
                    b.right = a + 1;
                    b.top = std::min(b.top, lo);
                    b.bottom = std::max(b.bottom, hi + 1);
                }
            }
        } else {
            open = false;
        }
    }
    for (pixel_box& b : boxes) {
        b.left += originX(w);
        b.right += originX(w);
        b.top += originY(w);
        b.bottom += originY(w);
    }
    return boxes;
}

inline bool sameColour(const minihost::Rgba& a, const minihost::Rgba& b) {
    return a.a == b.a && a.r == b.r && a.g == b.g && a.b == b.b;
}

// Every pixel of the input's box (layer coordinates) sits unchanged at
// (x + dx, y + dy) in the output.
inline void expectMovedExactly(const minihost::World& input, const minihost::World& output, const pixel_box& src,
                               int dx, int dy) {
    int mismatches = 0;
    for (int y = src.top; y < src.bottom; ++y) {
        for (int x = src.left; x < src.right; ++x) {
            if (!sameColour(atLayer(input, x, y), atLayer(output, x + dx, y + dy))) {
                ++mismatches;
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << "source " << toString(src) << " moved by (" << dx << ", " << dy << ")";
}

// The 8-bit guide colour as the host converts it, within one 8-bit step.
inline void expectColour(const minihost::Rgba& px, const PF_Pixel& expected, const std::string& what) {
    constexpr float kStep = 1.0f / 255.0f;
    EXPECT_NEAR(px.a, expected.alpha / 255.0f, kStep) << what;
    EXPECT_NEAR(px.r, expected.red / 255.0f, kStep) << what;
    EXPECT_NEAR(px.g, expected.green / 255.0f, kStep) << what;
    EXPECT_NEAR(px.b, expected.blue / 255.0f, kStep) << what;
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

}  // namespace render_test
