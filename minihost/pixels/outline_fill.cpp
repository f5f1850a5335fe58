#include "minihost/pixels/outline_fill.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "minihost/pixels/detail/composite.h"
#include "minihost/pixels/detail/pixel_kernels.h"
#include "minihost/pixels/detail/world_check.h"

namespace minihost {
namespace {

// Largest distance of a chord from its curve, in pixels. Chords cut inside
// convex curves, so this also bounds the area lost along an outline.
constexpr double kFlatness = 1.0 / 512.0;
constexpr int kMaxPiecesPerCurve = 1024;
// FT_Outline counts points and contours in shorts.
constexpr std::size_t kMaxPoints = 32767;
constexpr std::size_t kMaxContours = 32767;

struct LibraryDone {
    void operator()(FT_Library library) const noexcept { FT_Done_FreeType(library); }
};
using Library = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDone>;

// Layers are drawn on several threads at once; each has its own library, so
// no FreeType state is shared between them.
FT_Library threadLibrary() {
    thread_local const Library library = [] {
        FT_Library made = nullptr;
        if (FT_Init_FreeType(&made) != 0) throw std::bad_alloc();
        return Library(made);
    }();
    return library.get();
}

struct Mapping {
    double sx, sy, ox, oy;
};

// 26.6 fixed point of a buffer coordinate, clamped to a million pixels either
// way: far beyond any world, well inside what the rasterizer computes with
// without overflow.
FT_Pos fixed(double v) {
    constexpr double kLimit = 1 << 20;
    if (std::isnan(v)) return 0;  // a mapping that scales by infinity
    // Rounded half away from zero, as std::lround does, without its call
    // (the part cut off by truncation is exact), and clamped by value:
    // std::clamp's references put the locals in memory, which under
    // AddressSanitizer costs a guarded stack frame per point.
    const double c = (v < -kLimit ? -kLimit : v > kLimit ? kLimit : v) * 64.0;
    const auto t = static_cast<FT_Pos>(c);
    const double cut = c - static_cast<double>(t);
    return cut >= 0.5 ? t + 1 : cut <= -0.5 ? t - 1 : t;
}

// The points of the outline being built. One set per thread, kept between
// glyphs and frames, so that drawing a layer allocates only while its
// glyphs grow larger than any drawn before. A glyph stops growing just past
// FreeType's point limit, so a set stays under about a megabyte.
struct OutlinePoints {
    std::vector<FT_Vector> points;
    std::vector<char> tags;
    std::vector<short> ends;
};

// The contours of one glyph as a FreeType outline: every vertex an on-curve
// point, every curved segment two cubic control points between its ends, a
// straight one (tangent points on its ends) nothing in between.
class OutlineBuilder {
public:
    OutlineBuilder(const Mapping& m, OutlinePoints& kept)
        : m_(m), points_(kept.points), tags_(kept.tags), ends_(kept.ends) {
        clear();
    }
    OutlineBuilder(const OutlineBuilder&) = delete;
    OutlineBuilder& operator=(const OutlineBuilder&) = delete;

    /// Adds a contour of at least two vertices with finite points; false when
    /// it does not fit beside what is there (nothing is added then).
    bool add(const std::vector<PF_PathVertex>& contour) {
        const std::size_t first = used_;
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const PF_PathVertex& v = contour[i];
            const PF_PathVertex& w = contour[(i + 1) % contour.size()];
            const bool last = i + 1 == contour.size();
            if (i == 0) push(map(v.x, v.y), FT_CURVE_TAG_ON);
            if (v.tan_out_x == v.x && v.tan_out_y == v.y && w.tan_in_x == w.x && w.tan_in_y == w.y) {
                // The contour closes on its first point by itself.
                if (!last) push(map(w.x, w.y), FT_CURVE_TAG_ON);
            } else {
                addCubic(map(v.x, v.y), map(v.tan_out_x, v.tan_out_y), map(w.tan_in_x, w.tan_in_y), map(w.x, w.y),
                         last);
            }
            // Past the limit the contour is dropped whatever follows.
            if (used_ > kMaxPoints) break;
        }
        if (used_ > kMaxPoints || ends_.size() >= kMaxContours) {
            used_ = first;
            return false;
        }
        ends_.push_back(static_cast<short>(used_ - 1));
        return true;
    }

    bool empty() const { return ends_.empty(); }

    /// Turns every contour round; each still starts on its first vertex, as
    /// FreeType wants a contour to start on a point of the curve.
    void reverse() {
        std::size_t first = 0;
        for (const short end : ends_) {
            const auto last = static_cast<std::size_t>(end) + 1;
            std::reverse(points_.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                         points_.begin() + static_cast<std::ptrdiff_t>(last));
            std::reverse(tags_.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                         tags_.begin() + static_cast<std::ptrdiff_t>(last));
            first = last;
        }
    }

    void clear() {
        used_ = 0;
        ends_.clear();
    }

    FT_Outline outline() {
        FT_Outline o{};
        o.n_contours = static_cast<short>(ends_.size());
        o.n_points = static_cast<short>(used_);
        o.points = points_.data();
        o.tags = tags_.data();
        o.contours = ends_.data();
        o.flags = FT_OUTLINE_NONE;  // nonzero winding
        return o;
    }

private:
    struct Point {
        double x, y;
    };

    Point map(double x, double y) const { return {x * m_.sx + m_.ox, y * m_.sy + m_.oy}; }

    // Room for count more points, growing as push_back would, so that a
    // glyph of many curves does not reallocate for each. The lists only
    // grow: the points in use are the first used_ of them.
    void makeRoom(std::size_t count) {
        const std::size_t wanted = used_ + count;
        if (wanted <= points_.size()) return;
        const std::size_t grown = std::max(wanted, 2 * points_.size());
        points_.resize(grown);
        tags_.resize(grown);
    }

    void push(Point p, char tag) {
        makeRoom(1);
        points_[used_] = FT_Vector{fixed(p.x), fixed(p.y)};
        tags_[used_] = tag;
        ++used_;
    }

    // The cubic a, b, c, d (buffer pixels) as n cubics of equal parameter
    // steps. FreeType draws a cubic as chords whose distance from the curve
    // may reach an eighth of a pixel; pieces short enough keep every chord
    // within kFlatness of the curve: for n equal steps the chord error is at
    // most 3/4 of the largest second difference divided by n squared.
    void addCubic(Point a, Point b, Point c, Point d, bool closing) {
        const double d1 = std::hypot(a.x - 2 * b.x + c.x, a.y - 2 * b.y + c.y);
        const double d2 = std::hypot(b.x - 2 * c.x + d.x, b.y - 2 * c.y + d.y);
        const double dd = std::max(d1, d2);
        int n = 1;
        if (dd > 0 && std::isfinite(dd))
            n = static_cast<int>(
                std::clamp(std::ceil(std::sqrt(0.75 * dd / kFlatness)), 1.0, static_cast<double>(kMaxPiecesPerCurve)));
        const auto at = [&](double t) {
            const double u = 1 - t;
            return Point{u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * d.x,
                         u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * d.y};
        };
        // Derivative / 3, so that a piece of length h has its control points
        // h times this away from its ends.
        const auto slope = [&](double t) {
            const double u = 1 - t;
            return Point{u * u * (b.x - a.x) + 2 * u * t * (c.x - b.x) + t * t * (d.x - c.x),
                         u * u * (b.y - a.y) + 2 * u * t * (c.y - b.y) + t * t * (d.y - c.y)};
        };
        // Room made once and written in place: a push per point costs more
        // than the point (under AddressSanitizer, a container annotation).
        const std::size_t count = 3 * static_cast<std::size_t>(n) - (closing ? 1 : 0);
        makeRoom(count);
        FT_Vector* out = points_.data() + used_;
        char* tag = tags_.data() + used_;
        used_ += count;
        const auto put = [&](Point q, char t) {
            *out++ = FT_Vector{fixed(q.x), fixed(q.y)};
            *tag++ = t;
        };
        Point p = a;
        const double h = 1.0 / n;
        // A piece starts with the slope its neighbour ended with (the same
        // parameter, worked out the same way).
        Point s0 = slope(0.0);
        for (int i = 1; i <= n; ++i) {
            const double t1 = static_cast<double>(i) / n;
            const Point q = i == n ? d : at(t1);
            const Point s1 = slope(t1);
            put(Point{p.x + h * s0.x, p.y + h * s0.y}, FT_CURVE_TAG_CUBIC);
            put(Point{q.x - h * s1.x, q.y - h * s1.y}, FT_CURVE_TAG_CUBIC);
            if (i < n || !closing) put(q, FT_CURVE_TAG_ON);
            p = q;
            s0 = s1;
        }
    }

    Mapping m_;
    std::vector<FT_Vector>& points_;
    std::vector<char>& tags_;
    std::size_t used_ = 0;
    std::vector<short>& ends_;
};

bool finite(const PF_PathVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.tan_in_x) && std::isfinite(v.tan_in_y) &&
           std::isfinite(v.tan_out_x) && std::isfinite(v.tan_out_y);
}

struct SpanTarget {
    PF_EffectWorld* dst;
    Rgba colour;
};

// The rasterizer's coverage counts 256ths of the pixel's area, rounded down,
// with a full pixel (256) reported as 255.
float coverageOf(unsigned char c) { return c == 255 ? 1.0f : static_cast<float>(c) * (1.0f / 256.0f); }

template <typename P>
void compositeSpans(int y, int count, const FT_Span* spans, void* user) {
    const auto& target = *static_cast<const SpanTarget*>(user);
    P* row = pixels_detail::rowOf<P>(*target.dst, y);
    for (int i = 0; i < count; ++i) {
        const FT_Span& span = spans[i];
        const Rgba c{target.colour.a * coverageOf(span.coverage), target.colour.r, target.colour.g, target.colour.b};
        P* out = row + span.x;
        // Along a span the colour is the same, so a pixel equal to the one
        // before it (as on a clear layer) gets the same result.
        P before{}, after{};
        for (int x = 0; x < span.len; ++x) {
            if (x > 0 && std::memcmp(&out[x], &before, sizeof(P)) == 0) {
                out[x] = after;
                continue;
            }
            before = out[x];
            pixels_detail::compositeOnto<pixels_detail::Blend::kOver>(out[x], c);
            after = out[x];
        }
    }
}

template <typename P>
void render(OutlineBuilder& builder, PF_EffectWorld& dst, const Rgba& colour) {
    FT_Outline outline = builder.outline();
    // FreeType's nonzero coverage is exact (rounded down to 256ths) for one
    // winding direction and a 256th less for the other; a glyph drawn the
    // other way round is turned, so that both come out the same.
    if (FT_Outline_Get_Orientation(&outline) == FT_ORIENTATION_POSTSCRIPT) builder.reverse();
    SpanTarget target{&dst, colour};
    FT_Raster_Params params{};
    params.source = &outline;
    params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
    params.gray_spans = &compositeSpans<P>;
    params.user = &target;
    params.clip_box = FT_BBox{0, 0, dst.width, dst.height};
    if (FT_Outline_Render(threadLibrary(), &outline, &params) == FT_Err_Out_Of_Memory) throw std::bad_alloc();
    builder.clear();
}

}  // namespace

void fillOutlines(PF_EffectWorld& dst, const std::vector<std::vector<PF_PathVertex>>& contours, PF_Pixel color,
                  double scale_x, double scale_y, double offset_x, double offset_y) {
    const auto depth = pixels_detail::checkWorld(&dst);
    if (!depth) throw std::invalid_argument("fillOutlines: world is not usable");
    if (dst.width == 0 || dst.height == 0) return;
    const Rgba colour = pixels_detail::toRgba(color);
    pixels_detail::dispatch(*depth, [&](auto tag) {
        using P = decltype(tag);
        thread_local OutlinePoints kept;
        OutlineBuilder builder(Mapping{scale_x, scale_y, offset_x, offset_y}, kept);
        for (const auto& contour : contours) {
            if (contour.size() < 2 || !std::all_of(contour.begin(), contour.end(), finite)) continue;
            if (builder.add(contour)) continue;
            // Too many points for one outline: draw what is there, then go
            // on with this contour (dropped when it does not fit alone).
            if (!builder.empty()) render<P>(builder, dst, colour);
            (void)builder.add(contour);
        }
        if (!builder.empty()) render<P>(builder, dst, colour);
    });
}

}  // namespace minihost
