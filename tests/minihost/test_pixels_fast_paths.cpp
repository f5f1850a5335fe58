// The pixel operations' fast paths against slow ones that cannot share their
// shortcuts: transform_world's whole-pixel and fractional translations
// against its general resampler, bit for bit; fill and copy against plain
// per-pixel versions kept here. Random worlds of every depth (sizes, origins,
// extent hints, contents with runs and repeats), random rectangles, modes and
// translations (whole, fractional, tiny, huge, negative, not finite).
#include <cstdint>
#include <limits>
#include <random>

#include "minihost/pixels/transform_paths.h"
#include "test_pixels_support.h"

using namespace pixels_test;

namespace {

using Rng = std::mt19937_64;

int between(Rng& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
bool chance(Rng& rng, double p) { return std::bernoulli_distribution(p)(rng); }

// Mostly small sides, now and then up to the largest.
int side(Rng& rng, int most) {
    const double u = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
    return 1 + static_cast<int>(u * u * u * (most - 1));
}

std::size_t bytesOf(const World& w) { return static_cast<std::size_t>(w.rowBytes()) * w.height(); }

unsigned char* bytes(World& w) { return reinterpret_cast<unsigned char*>(w.pf()->data); }
const unsigned char* bytes(const World& w) { return reinterpret_cast<const unsigned char*>(w.pf()->data); }

// One channel value of the depth: often an edge value, now and then (float)
// one outside 0..1.
void randomChannel(Rng& rng, Depth depth, unsigned char* out) {
    const int kind = between(rng, 0, 5);
    switch (depth) {
        case Depth::k8: {
            const unsigned char v = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<unsigned char>(between(rng, 0, 255));
            *out = v;
            return;
        }
        case Depth::k16: {
            const auto v = static_cast<std::uint16_t>(kind == 0 ? 0 : kind == 1 ? 32768 : between(rng, 0, 32768));
            std::memcpy(out, &v, 2);
            return;
        }
        case Depth::k32:
            break;
    }
    float v = kind == 0 ? 0.0f : kind == 1 ? 1.0f : std::uniform_real_distribution<float>(0.0f, 1.0f)(rng);
    if (kind == 5) v = std::uniform_real_distribution<float>(-0.5f, 1.5f)(rng);
    std::memcpy(out, &v, 4);
}

// Contents with runs: transparent, opaque, repeated and random pixels, as
// glyphs on a background give.
void randomContents(Rng& rng, World& w) {
    const int size = minihost::pixelBytes(w.depth());
    const int channel = size / 4;
    std::vector<unsigned char> pixel(static_cast<std::size_t>(size));
    const auto fresh = [&] {
        for (int c = 0; c < 4; ++c) randomChannel(rng, w.depth(), pixel.data() + c * channel);
        const int alpha_kind = between(rng, 0, 3);
        if (alpha_kind == 0) std::memset(pixel.data(), 0, static_cast<std::size_t>(channel));
        if (alpha_kind == 1) randomChannel(rng, w.depth(), pixel.data());  // a partial alpha, or an edge
    };
    fresh();
    for (int y = 0; y < w.height(); ++y) {
        unsigned char* row = bytes(w) + static_cast<std::ptrdiff_t>(y) * w.rowBytes();
        if (y > 0 && chance(rng, 0.5)) {  // a repeated row
            std::memcpy(row, row - w.rowBytes(), static_cast<std::size_t>(w.width() * size));
            continue;
        }
        for (int x = 0; x < w.width();) {
            fresh();
            for (int end = std::min(w.width(), x + between(rng, 1, 6)); x < end; ++x)
                std::memcpy(row + x * size, pixel.data(), static_cast<std::size_t>(size));
        }
    }
    paintCanary(*w.pf());
}

World randomWorld(Rng& rng, Depth depth) {
    World w(side(rng, 300), side(rng, 200), depth, between(rng, -500, 500), between(rng, -500, 500));
    // Hints play no part in the pixel operations: any value.
    w.pf()->extent_hint =
        PF_Rect{between(rng, -50, 50), between(rng, -50, 50), between(rng, 0, 400), between(rng, 0, 300)};
    randomContents(rng, w);
    return w;
}

// At least 40 pixels wide, up to 300 x 120.
World wideWorld(Rng& rng, Depth depth) {
    World w(between(rng, 40, 300), between(rng, 1, 120), depth, between(rng, -500, 500), between(rng, -500, 500));
    randomContents(rng, w);
    return w;
}

World copyOf(const World& w) {
    World c(w.width(), w.height(), w.depth(), w.pf()->origin_x, w.pf()->origin_y);
    c.pf()->extent_hint = w.pf()->extent_hint;
    std::memcpy(bytes(c), bytes(w), bytesOf(w));
    return c;
}

::testing::AssertionResult sameBytes(const World& a, const World& b) {
    if (std::memcmp(bytes(a), bytes(b), bytesOf(a)) == 0) return ::testing::AssertionSuccess();
    for (int y = 0; y < a.height(); ++y)
        for (int i = 0; i < a.rowBytes(); ++i) {
            const std::size_t at = static_cast<std::size_t>(y) * a.rowBytes() + i;
            if (bytes(a)[at] != bytes(b)[at]) {
                const int x = i / minihost::pixelBytes(a.depth());
                auto failure = ::testing::AssertionFailure() << "first difference in row " << y << ", pixel " << x;
                if (x < a.width()) {
                    const Rgba p = a.at(x, y), q = b.at(x, y);
                    failure << ": (" << p.a << ", " << p.r << ", " << p.g << ", " << p.b << ") against (" << q.a << ", "
                            << q.r << ", " << q.g << ", " << q.b << ")";
                }
                return failure;
            }
        }
    return ::testing::AssertionSuccess();
}

// A rectangle around a world of this size: inside, across an edge, outside,
// empty, sometimes inverted.
PF_Rect randomRect(Rng& rng, int width, int height) {
    const int l = between(rng, -20, width + 10);
    const int t = between(rng, -20, height + 10);
    return PF_Rect{l, t, l + between(rng, chance(rng, 0.05) ? -3 : 0, width + 20),
                   t + between(rng, chance(rng, 0.05) ? -3 : 0, height + 20)};
}

// A translation the effect might ask for, or one it never would.
double randomOffset(Rng& rng) {
    const double sign = chance(rng, 0.5) ? -1.0 : 1.0;
    switch (between(rng, 0, 9)) {
        case 0:
        case 1:
            return between(rng, -40, 40);  // whole
        case 2:
        case 3:
        case 4:
            return between(rng, -40, 40) + std::uniform_real_distribution<double>(0.0, 1.0)(rng);  // fractional
        case 5:
            return between(rng, -40, 40) + 0.5;
        case 6:
            return sign * std::ldexp(1.0, -between(rng, 1, 1074));  // tiny
        case 7:
            return sign * std::ldexp(1.0, between(rng, 20, 1023)) * (chance(rng, 0.5) ? 1.0 : 1.37);  // huge
        case 8:
            return sign * (chance(rng, 0.5) ? (1 << 30) - between(rng, 0, 2) : 2147483647.5);  // near the limits
        default:
            break;
    }
    const double odd[] = {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(), -0.0};
    return odd[between(rng, 0, 3)];
}

}  // namespace

TEST(FastPaths, TranslationsGiveTheGeneralResamplersPixelsBitForBit) {
    using minihost::pixels_detail::TransformPath;
    Rng rng(20261209);
    int compared = 0;
    // The last rounds: wide worlds moved by fractions along both axes, so
    // that the vector kernels get long rows of pixels with several taps,
    // among them many a last unit of a float decides.
    constexpr int kMixed = 450, kWide = 300;
    for (int round = 0; round < kMixed + kWide; ++round) {
        const bool wide = round >= kMixed;
        const Depth depth = wide ? kAllDepths[round % 2] : kAllDepths[round % 3];
        const World src = wide ? wideWorld(rng, depth) : randomWorld(rng, depth);
        const World dst = wide ? wideWorld(rng, depth) : randomWorld(rng, depth);
        const PF_Quality quality = chance(rng, wide ? 0.75 : 0.8) ? PF_Quality_HI : PF_Quality_LO;
        PF_CompositeMode comp{chance(rng, 0.5) ? PF_Xfer_IN_FRONT : PF_Xfer_SCREEN, 0,
                              static_cast<A_u_char>(chance(rng, 0.5) ? 255 : between(rng, 0, 255)), 0,
                              static_cast<A_u_short>(chance(rng, 0.5) ? 32768 : between(rng, 0, 32768))};
        const auto fraction = [&] {
            return between(rng, -30, 30) +
                   (chance(rng, 0.3) ? 0.5 : std::uniform_real_distribution<double>(0.0, 1.0)(rng));
        };
        const PF_FloatMatrix m = wide ? translation(fraction(), chance(rng, 0.7) ? fraction() : between(rng, -30, 30))
                                      : translation(randomOffset(rng), randomOffset(rng));
        const PF_Boolean src2dst = chance(rng, 0.5) ? 1 : 0;
        PF_Rect clip = randomRect(rng, dst.width(), dst.height());
        if (clip.right < clip.left || clip.bottom < clip.top) clip = PF_Rect{0, 0, 0, 0};
        const PF_Rect* dest_rect = chance(rng, 0.4) ? nullptr : &clip;

        World fast = copyOf(dst);
        World general = copyOf(dst);
        const PF_Err fast_err = minihost::pixels_detail::transformWorldBy(
            TransformPath::kFastest, quality, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, src.pf(), &comp, nullptr, &m, 1,
            src2dst, dest_rect, fast.pf());
        const PF_Err general_err = minihost::pixels_detail::transformWorldBy(
            TransformPath::kGeneral, quality, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, src.pf(), &comp, nullptr, &m, 1,
            src2dst, dest_rect, general.pf());
        ASSERT_EQ(fast_err, general_err) << "round " << round;
        compared += fast_err == PF_Err_NONE;
        ASSERT_TRUE(sameBytes(fast, general))
            << "round " << round << ", " << depthName(depth) << "-bit, " << src.width() << " x " << src.height()
            << " onto " << dst.width() << " x " << dst.height() << ", by (" << m.mat[2][0] << ", " << m.mat[2][1]
            << "), src2dst " << int{src2dst} << ", quality " << quality << ", xfer " << comp.xfer;
    }
    EXPECT_GT(compared, 400);  // most rounds were composites, not rejections
}

namespace {

// fill, one pixel at a time, with the conversions worked out here.
void plainFill(World& w, const PF_Pixel* colour, const PF_Rect* rect) {
    const PF_Pixel c = colour != nullptr ? *colour : PF_Pixel{0, 0, 0, 0};
    const PF_Rect r = rect != nullptr ? *rect : PF_Rect{0, 0, w.width(), w.height()};
    const int size = minihost::pixelBytes(w.depth());
    unsigned char value[16];
    const A_u_char channels[4] = {c.alpha, c.red, c.green, c.blue};
    for (int k = 0; k < 4; ++k) {
        if (w.depth() == Depth::k8) value[k] = channels[k];
        if (w.depth() == Depth::k16) {
            const auto v = static_cast<std::uint16_t>(std::lround(channels[k] * 32768.0 / 255.0));
            std::memcpy(value + 2 * k, &v, 2);
        }
        if (w.depth() == Depth::k32) {
            const float v = static_cast<float>(channels[k]) / 255.0f;
            std::memcpy(value + 4 * k, &v, 4);
        }
    }
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, w.height()); ++y)
        for (int x = std::max(r.left, 0); x < std::min(r.right, w.width()); ++x)
            std::memcpy(bytes(w) + static_cast<std::ptrdiff_t>(y) * w.rowBytes() + x * size, value,
                        static_cast<std::size_t>(size));
}

// copy, one pixel at a time: every destination pixel of dst_r inside dst
// takes the source pixel at the same offset, or transparent black outside
// the source; everything is read before anything is written.
void plainCopy(const World& src, World& dst, const PF_Rect& s, const PF_Rect& d) {
    const World before = copyOf(src);
    const int size = minihost::pixelBytes(dst.depth());
    for (long long y = d.top; y < d.bottom; ++y)
        for (long long x = d.left; x < d.right; ++x) {
            if (x < 0 || y < 0 || x >= dst.width() || y >= dst.height()) continue;
            const long long sx = x - d.left + s.left, sy = y - d.top + s.top;
            unsigned char* out = bytes(dst) + y * dst.rowBytes() + x * size;
            if (sx < 0 || sy < 0 || sx >= src.width() || sy >= src.height())
                std::memset(out, 0, static_cast<std::size_t>(size));
            else
                std::memcpy(out, bytes(before) + sy * before.rowBytes() + sx * size, static_cast<std::size_t>(size));
        }
}

}  // namespace

TEST(FastPaths, FillAndCopyGiveWhatOnePixelAtATimeGives) {
    Rng rng(1209);
    for (int round = 0; round < 240; ++round) {
        const Depth depth = kAllDepths[round % 3];
        {
            World w = randomWorld(rng, depth);
            World expected = copyOf(w);
            // Grey and transparent black fill byte by byte, the rest by value.
            const auto any = static_cast<A_u_char>(between(rng, 0, 255));
            const PF_Pixel colour = chance(rng, 0.3) ? PF_Pixel{any, any, any, any}
                                                     : PF_Pixel{static_cast<A_u_char>(between(rng, 0, 255)),
                                                                static_cast<A_u_char>(between(rng, 0, 255)),
                                                                static_cast<A_u_char>(between(rng, 0, 255)),
                                                                static_cast<A_u_char>(between(rng, 0, 255))};
            const PF_Rect rect = randomRect(rng, w.width(), w.height());
            const PF_Pixel* c = chance(rng, 0.1) ? nullptr : &colour;
            const PF_Rect* r = chance(rng, 0.1) ? nullptr : &rect;
            const PF_Err err = minihost::fillWorld(c, r, w.pf());
            const bool inverted = r != nullptr && (r->right < r->left || r->bottom < r->top);
            ASSERT_EQ(err, inverted ? PF_Err_BAD_CALLBACK_PARAM : PF_Err_NONE) << "round " << round;
            if (!inverted) plainFill(expected, c, r);
            ASSERT_TRUE(sameBytes(w, expected)) << "fill, round " << round << ", " << depthName(depth) << "-bit";
        }
        {
            const World src = randomWorld(rng, depth);
            const bool same_world = chance(rng, 0.3);
            World dst = same_world ? copyOf(src) : randomWorld(rng, depth);
            const World& from = same_world ? dst : src;
            PF_Rect s = randomRect(rng, from.width(), from.height());
            PF_Rect d = randomRect(rng, dst.width(), dst.height());
            if (chance(rng, 0.9)) {  // mostly the same size, so that something is copied
                d.right = d.left + (s.right - s.left);
                d.bottom = d.top + (s.bottom - s.top);
            }
            World expected = copyOf(dst);
            const bool ok = s.right >= s.left && s.bottom >= s.top && d.right >= d.left && d.bottom >= d.top &&
                            s.right - s.left == d.right - d.left && s.bottom - s.top == d.bottom - d.top;
            const PF_Err err = minihost::copyWorld(from.pf(), dst.pf(), &s, &d);
            ASSERT_EQ(err, ok ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM) << "round " << round;
            if (ok) {
                if (same_world) {
                    plainCopy(expected, expected, s, d);
                } else {
                    plainCopy(src, expected, s, d);
                }
            }
            ASSERT_TRUE(sameBytes(dst, expected))
                << "copy, round " << round << ", " << depthName(depth) << "-bit, same world " << same_world << ", "
                << s.left << " " << s.top << " " << s.right << " " << s.bottom << " to " << d.left << " " << d.top
                << " " << d.right << " " << d.bottom << ", " << from.width() << " x " << from.height() << " to "
                << dst.width() << " x " << dst.height();
        }
    }
}
