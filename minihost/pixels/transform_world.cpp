#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <vector>

#include "minihost/pixels/detail/composite.h"
#include "minihost/pixels/detail/fraction_lanes.h"
#include "minihost/pixels/detail/matrix3.h"
#include "minihost/pixels/detail/pixel_kernels.h"
#include "minihost/pixels/transform_paths.h"
#include "minihost/pixels/detail/world_check.h"
#include "minihost/pixels/world_ops.h"

namespace minihost {
namespace {

using pixels_detail::Blend;

struct Job {
    const PF_EffectWorld* src;
    PF_EffectWorld* dst;
    PF_Rect clip;                             // destination pixels that may be written
    std::vector<PF_FloatMatrix>& dst_to_src;  // one per matrix handed in
    float opacity;
    bool bilinear;
};

// Byte for byte, as whole words.
template <typename P>
bool samePixel(const P& a, const P& b) {
    static_assert(sizeof(P) % 4 == 0 && sizeof(P) <= 16);
    if constexpr (sizeof(P) == 4) {
        std::uint32_t x = 0, y = 0;
        std::memcpy(&x, &a, 4);
        std::memcpy(&y, &b, 4);
        return x == y;
    } else {
        std::uint64_t x[2] = {0, 0}, y[2] = {0, 0};
        std::memcpy(x, &a, sizeof(P));
        std::memcpy(y, &b, sizeof(P));
        return x[0] == y[0] && x[1] == y[1];
    }
}

// A whole-pixel translation: each source pixel lands on one destination
// pixel, unresampled. Runs of transparent source pixels leave the
// destination as it is and are skipped; runs of opaque ones composited over
// at full opacity replace it and are copied whole; in between, a pixel whose
// source and destination repeat those of the pixel before takes its result.
template <Blend blend, typename P>
void translateWhole(const Job& job, int tx, int ty) {
    using T = pixels_detail::PixelTraits<P>;
    const PF_EffectWorld& src = *job.src;
    // Destination pixels whose source pixel exists, within the clip.
    const PF_Rect r =
        pixels_detail::intersect(job.clip, PF_Rect{tx, ty, static_cast<A_long>(static_cast<long long>(tx) + src.width),
                                                   static_cast<A_long>(static_cast<long long>(ty) + src.height)});
    const bool plain_over = blend == Blend::kOver && job.opacity == 1.0f;
    const auto opaque = T::from8(255);
    if (pixels_detail::isEmpty(r)) return;
    const int width = r.right - r.left;
    // A row whose source and destination repeat those of the last row
    // worked out takes its result whole (down a solid block, every row).
    thread_local std::vector<P> before, after;
    const P* last_source = nullptr;
    const auto bytes = static_cast<std::size_t>(width) * sizeof(P);
    for (int y = r.top; y < r.bottom; ++y) {
        const P* s = pixels_detail::rowOf<P>(src, y - ty) + (r.left - tx);
        P* d = pixels_detail::rowOf<P>(*job.dst, y) + r.left;
        if (last_source != nullptr && std::memcmp(s, last_source, bytes) == 0 &&
            std::memcmp(d, before.data(), bytes) == 0) {
            std::memcpy(d, after.data(), bytes);
            continue;
        }
        before.assign(d, d + width);
        last_source = s;
        bool remembered = false;
        P source_before{}, dst_before{}, result_before{};
        for (int x = 0; x < width;) {
            // A transparent source pixel changes nothing, whatever the mode.
            if (s[x].alpha == 0) {
                ++x;
                continue;
            }
            if (plain_over && s[x].alpha == opaque) {
                int end = x + 1;
                while (end < width && s[end].alpha == opaque) ++end;
                std::memcpy(d + x, s + x, static_cast<std::size_t>(end - x) * sizeof(P));
                x = end;
                continue;
            }
            if (remembered && samePixel(s[x], source_before) && samePixel(d[x], dst_before)) {
                d[x] = result_before;
                ++x;
                continue;
            }
            source_before = s[x];
            dst_before = d[x];
            Rgba c = pixels_detail::toRgba(s[x]);
            c.a *= job.opacity;
            pixels_detail::compositeOnto<blend>(d[x], c);
            result_before = d[x];
            remembered = true;
            ++x;
        }
        after.assign(d, d + width);
    }
}

// Accumulates source pixels, weighted, as premultiplied colour. A sample
// made of one source pixel at full weight keeps that pixel's colour exactly
// (dividing it back out of the premultiplied sum could move it by a unit in
// the last place), as a translation by whole pixels does.
struct Accumulator {
    float a = 0, r = 0, g = 0, b = 0;
    int taps = 0;
    Rgba first{};  // the first pixel added, when it came at full weight
    bool whole = false;

    void add(const Rgba& c, float w) {
        const float wa = w * c.a;
        a += wa;
        r += wa * c.r;
        g += wa * c.g;
        b += wa * c.b;
        whole = ++taps == 1 && w == 1.0f;
        if (whole) first = c;
    }
    // The straight colour of the average of n samples, opacity applied;
    // only for a > 0.
    Rgba colour(float n, float opacity) const {
        if (whole && n == 1.0f) return Rgba{a * opacity, first.r, first.g, first.b};
        return Rgba{a / n * opacity, r / a, g / a, b / a};
    }
};

template <typename P>
void sampleInto(Accumulator& acc, const PF_EffectWorld& src, double px, double py, bool bilinear) {
    // px, py: source position in pixel-centre units (pixel i's centre is i).
    if (!(px > -1.0 && px < src.width && py > -1.0 && py < src.height)) return;
    if (!bilinear) {
        const int ix = static_cast<int>(std::floor(px + 0.5));
        const int iy = static_cast<int>(std::floor(py + 0.5));
        if (ix >= 0 && ix < src.width && iy >= 0 && iy < src.height)
            acc.add(pixels_detail::toRgba(pixels_detail::rowOf<P>(src, iy)[ix]), 1.0f);
        return;
    }
    const double fx0 = std::floor(px);
    const double fy0 = std::floor(py);
    const int x0 = static_cast<int>(fx0);
    const int y0 = static_cast<int>(fy0);
    const auto fx = static_cast<float>(px - fx0);
    const auto fy = static_cast<float>(py - fy0);
    const float wx[2] = {1.0f - fx, fx};
    const float wy[2] = {1.0f - fy, fy};
    for (int j = 0; j < 2; ++j) {
        const int y = y0 + j;
        if (y < 0 || y >= src.height || wy[j] == 0.0f) continue;
        const P* row = pixels_detail::rowOf<P>(src, y);
        for (int i = 0; i < 2; ++i) {
            const int x = x0 + i;
            if (x < 0 || x >= src.width || wx[i] == 0.0f) continue;
            acc.add(pixels_detail::toRgba(row[x]), wx[i] * wy[j]);
        }
    }
}

// Source position of destination pixel centres along one row: stepped for
// affine matrices, divided through for projective ones.
class RowMapper {
public:
    explicit RowMapper(const PF_FloatMatrix& m) : m_(m), affine_(pixels_detail::isAffine(m)) {}

    void start(int x, int y) {
        cx_ = x + 0.5;
        cy_ = y + 0.5;
        if (affine_) {
            px_ = cx_ * m_.mat[0][0] + cy_ * m_.mat[1][0] + m_.mat[2][0];
            py_ = cx_ * m_.mat[0][1] + cy_ * m_.mat[1][1] + m_.mat[2][1];
        }
    }
    // The current pixel's source position in pixel-centre units; false when
    // it has none. Then moves one pixel right.
    bool next(double& sx, double& sy) {
        bool ok = true;
        if (affine_) {
            sx = px_ - 0.5;
            sy = py_ - 0.5;
            px_ += m_.mat[0][0];
            py_ += m_.mat[0][1];
        } else {
            const auto p = pixels_detail::apply(m_, cx_, cy_);
            ok = p.has_value();
            if (ok) {
                sx = p->x - 0.5;
                sy = p->y - 0.5;
            }
        }
        cx_ += 1.0;
        return ok;
    }

private:
    PF_FloatMatrix m_;
    bool affine_;
    double cx_ = 0, cy_ = 0, px_ = 0, py_ = 0;
};

template <Blend blend, typename P>
void resample(const Job& job, const PF_Rect& r) {
    const auto n = static_cast<float>(job.dst_to_src.size());
    std::vector<RowMapper> mappers(job.dst_to_src.begin(), job.dst_to_src.end());
    for (int y = r.top; y < r.bottom; ++y) {
        P* d = pixels_detail::rowOf<P>(*job.dst, y);
        for (RowMapper& mapper : mappers) mapper.start(r.left, y);
        for (int x = r.left; x < r.right; ++x) {
            Accumulator acc;
            for (RowMapper& mapper : mappers) {
                double sx = 0, sy = 0;
                if (mapper.next(sx, sy)) sampleInto<P>(acc, *job.src, sx, sy, job.bilinear);
            }
            if (!(acc.a > 0.0f)) continue;
            pixels_detail::compositeOnto<blend>(d[x], acc.colour(n, job.opacity));
        }
    }
}

// A translation by a fraction of a pixel (one matrix that only translates),
// the same arithmetic as resample's, arranged so that each pixel costs only
// its taps: every destination row samples the same source columns with the
// same weights (the mapper steps x by exactly 1 and never moves y along a
// row), so columns are worked out once and rows once.
bool onlyTranslates(const PF_FloatMatrix& m) {
    return m.mat[0][0] == 1.0 && m.mat[0][1] == 0.0 && m.mat[1][0] == 0.0 && m.mat[1][1] == 1.0 &&
           pixels_detail::isAffine(m);
}

// Where one destination column or row samples the source, along one axis:
// up to two taps (bilinear) or one (nearest), each with its weight; a tap
// outside the source or of weight 0 is left out, as sampleInto does.
struct Taps {
    bool inside = false;  // the sample position lies within (-1, size)
    int first = 0;
    float w[2] = {0.0f, 0.0f};
    bool use[2] = {false, false};
};

// std::floor for a v in (-2, 2^31): truncation, one down for negatives.
double floorSmall(double v) {
    const auto t = static_cast<double>(static_cast<int>(v));
    return t > v ? t - 1.0 : t;
}

// Inlined: called for every column and row of every composite, and a Taps
// returned through memory costs more than working it out.
[[gnu::always_inline]] inline Taps tapsAt(double pos, int size, bool bilinear) {
    Taps t;
    t.inside = pos > -1.0 && pos < size;
    if (!t.inside) return t;
    if (!bilinear) {
        t.first = static_cast<int>(floorSmall(pos + 0.5));
        t.w[0] = 1.0f;
        t.use[0] = t.first >= 0 && t.first < size;
        return t;
    }
    const double f0 = floorSmall(pos);
    t.first = static_cast<int>(f0);
    const auto f = static_cast<float>(pos - f0);
    t.w[0] = 1.0f - f;
    t.w[1] = f;
    for (int i = 0; i < 2; ++i) t.use[i] = t.first + i >= 0 && t.first + i < size && t.w[i] != 0.0f;
    return t;
}

// What one pixel of translateFraction is made from.
template <typename P>
struct Inputs {
    P taps[2][2];  // unused taps stay zero
    P dst;
};

// A pixel worked out, what it was made from and the weight classes of its
// column and row.
template <typename P>
struct Memo {
    int column = -1;  // -1: none yet
    int row = -1;
    Inputs<P> inputs{};
    P result{};

    bool matches(int column_class, int row_class, const P* const lines[2], const Taps& c, const P& dst) const {
        if (column != column_class || row != row_class || !samePixel(dst, inputs.dst)) return false;
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i)
                if (lines[j] != nullptr && c.use[i] && !samePixel(lines[j][c.first + i], inputs.taps[j][i]))
                    return false;
        return true;
    }
};

// The taps in use as bits: compared as one 16-bit word, the two flags just
// stored a byte each would stall the load that reads them back.
unsigned usedTaps(const Taps& t) { return static_cast<unsigned>(t.use[0]) | static_cast<unsigned>(t.use[1]) << 1; }

bool sameWeights(const Taps& a, const Taps& b) {
    return a.w[0] == b.w[0] && a.w[1] == b.w[1] && usedTaps(a) == usedTaps(b);
}

// Lists translateFraction keeps between calls on one thread, so that a
// small composite allocates nothing.
template <typename P>
struct FractionScratch {
    std::vector<Taps> columns;
    std::vector<int> classes;
    std::vector<Memo<P>> worked;
    std::vector<int> above;
    std::vector<int> run_end;
    std::vector<P> before;  // the last row worked out: its destination before
    std::vector<P> after;   // and after
};

// Where a run of columns the vector kernel can take starts, the column after
// it ends (else -1): columns inside the source, with the same taps in use at
// the same weights, each sampling the source one column right of the one
// before. Runs shorter than the kernel's vectors are left to the one-pixel
// path.
void findRuns(const std::vector<Taps>& columns, std::vector<int>& run_end) {
    run_end.assign(columns.size(), -1);
    const auto lanes = static_cast<std::size_t>(pixels_detail::fractionLanes());
    for (std::size_t k = 0; k < columns.size();) {
        const Taps& c = columns[k];
        if (!c.inside || !(c.use[0] || c.use[1])) {
            ++k;
            continue;
        }
        std::size_t end = k + 1;
        while (end < columns.size() && columns[end].inside && sameWeights(columns[end], c) &&
               columns[end].first == columns[end - 1].first + 1)
            ++end;
        if (end - k >= lanes) run_end[k] = static_cast<int>(end);
        k = end;
    }
}

template <Blend blend, typename P>
void translateFraction(const Job& job, const PF_Rect& r) {
    if (pixels_detail::isEmpty(r)) return;
    const PF_EffectWorld& src = *job.src;
    const PF_FloatMatrix& m = job.dst_to_src[0];
    // Columns: the mapper's own stepping, so positions match it to the bit.
    // Neighbouring columns with the same weights share a weight class.
    thread_local FractionScratch<P> scratch;
    std::vector<Taps>& columns = scratch.columns;
    std::vector<int>& classes = scratch.classes;
    columns.assign(static_cast<std::size_t>(r.right - r.left), Taps{});
    classes.assign(columns.size(), 0);
    {
        const double cx = r.left + 0.5;
        const double cy = r.top + 0.5;
        double px = cx * m.mat[0][0] + cy * m.mat[1][0] + m.mat[2][0];
        int weights = 0;
        for (std::size_t k = 0; k < columns.size(); ++k) {
            Taps& c = columns[k];
            c = tapsAt(px - 0.5, src.width, job.bilinear);
            px += m.mat[0][0];
            if (k > 0 && !sameWeights(c, columns[k - 1])) ++weights;
            classes[k] = weights;
        }
    }
    constexpr bool kLanes = std::is_same_v<P, PF_Pixel8>;
    std::vector<int>& run_end = scratch.run_end;
    if constexpr (kLanes) findRuns(columns, run_end);
    // A pixel's result depends only on its taps, their weights and the
    // destination pixel: where all of these repeat those of the pixel to its
    // left or above it (inside a glyph, along its straight edges, over an
    // even background), so does the result, which is then copied instead of
    // worked out again. Pixels refer to what was worked out by index (copies
    // of the records would cost more than they save); the list starts over
    // when it grows long.
    constexpr std::size_t kMostWorkedOut = 4096;
    std::vector<Memo<P>>& worked = scratch.worked;
    worked.clear();
    std::vector<int>& above = scratch.above;
    above.assign(columns.size(), -1);
    Taps row_before;
    int row_class = 0;
    // Source columns any destination column samples: [src_lo, src_hi).
    int src_lo = src.width, src_hi = 0;
    for (const Taps& c : columns)
        for (int i = 0; i < 2; ++i)
            if (c.inside && c.use[i]) {
                src_lo = std::min(src_lo, c.first + i);
                src_hi = std::max(src_hi, c.first + i + 1);
            }
    std::vector<P>& before = scratch.before;
    std::vector<P>& after = scratch.after;
    int last_class = -1;  // the last row worked out: none yet
    const P* last_lines[2] = {nullptr, nullptr};
    for (int y = r.top; y < r.bottom; ++y) {
        const double cx = r.left + 0.5;
        const double cy = y + 0.5;
        const double py = cx * m.mat[0][1] + cy * m.mat[1][1] + m.mat[2][1];
        const Taps row = tapsAt(py - 0.5, src.height, job.bilinear);
        if (!row.inside) continue;
        if (!sameWeights(row, row_before)) ++row_class;
        row_before = row;
        const P* lines[2] = {nullptr, nullptr};
        for (int j = 0; j < 2; ++j)
            if (row.use[j]) lines[j] = pixels_detail::rowOf<P>(src, row.first + j);
        P* d = pixels_detail::rowOf<P>(*job.dst, y) + r.left;
        if (y + 2 < r.bottom) {
            // Destination rows lie a page apart in a large world: the one
            // after next is asked for now, so that its miss overlaps.
            P* ahead = pixels_detail::rowOf<P>(*job.dst, y + 2) + r.left;
            __builtin_prefetch(ahead, 1);
            __builtin_prefetch(ahead + (columns.size() - 1), 1);
        }
        // A row whose source rows (over the columns sampled), weights and
        // destination repeat those of the last row worked out takes its
        // result whole (down the inside of a glyph, every row).
        const std::size_t width = columns.size();
        const bool repeat = last_class == row_class && src_hi > src_lo && [&] {
            for (int j = 0; j < 2; ++j) {
                if ((lines[j] == nullptr) != (last_lines[j] == nullptr)) return false;
                if (lines[j] != nullptr && lines[j] != last_lines[j] &&
                    std::memcmp(lines[j] + src_lo, last_lines[j] + src_lo,
                                static_cast<std::size_t>(src_hi - src_lo) * sizeof(P)) != 0)
                    return false;
            }
            return std::memcmp(d, before.data(), width * sizeof(P)) == 0;
        }();
        if (repeat) {
            std::memcpy(d, after.data(), width * sizeof(P));
            continue;
        }
        before.assign(d, d + width);
        int left = -1;
        for (std::size_t k = 0; k < columns.size(); ++k) {
            const Taps& c = columns[k];
            if (!c.inside) continue;
            if constexpr (kLanes) {
                if (run_end[k] >= 0) {
                    pixels_detail::FractionRun run{};
                    int in_use = 0;
                    float last_weight = 0.0f;
                    for (int j = 0; j < 2; ++j)
                        for (int i = 0; i < 2; ++i) {
                            if (lines[j] == nullptr || !c.use[i]) continue;
                            run.taps[j][i] = lines[j] + c.first + i;
                            run.weights[j][i] = last_weight = c.w[i] * row.w[j];
                            ++in_use;
                        }
                    run.whole = in_use == 1 && last_weight == 1.0f;
                    run.opacity = job.opacity;
                    run.screen = blend == Blend::kScreen;
                    run.dst = d + k;
                    const auto end = static_cast<std::size_t>(run_end[k]);
                    run.count = static_cast<int>(end - k);
                    if (in_use > 0) pixels_detail::compositeFractionRun(run);
                    // The memo knows none of these pixels.
                    std::fill(above.begin() + static_cast<std::ptrdiff_t>(k),
                              above.begin() + static_cast<std::ptrdiff_t>(end), -1);
                    left = -1;
                    k = end - 1;
                    continue;
                }
            }
            // Taps that are all transparent add nothing, which leaves the
            // destination as it is (around and between glyphs, most pixels).
            bool clear = true;
            for (int j = 0; j < 2 && clear; ++j)
                for (int i = 0; i < 2 && clear; ++i)
                    clear = lines[j] == nullptr || !c.use[i] || lines[j][c.first + i].alpha == 0;
            if (clear) continue;
            const auto repeats = [&](int i) {
                return i >= 0 && worked[static_cast<std::size_t>(i)].matches(classes[k], row_class, lines, c, d[k]);
            };
            if (repeats(left)) {
                d[k] = worked[static_cast<std::size_t>(left)].result;
                above[k] = left;
                continue;
            }
            if (repeats(above[k])) {
                left = above[k];
                d[k] = worked[static_cast<std::size_t>(left)].result;
                continue;
            }
            if (worked.size() == kMostWorkedOut) {
                worked.clear();
                std::fill(above.begin(), above.end(), -1);
            }
            Inputs<P> in{};
            for (int j = 0; j < 2; ++j)
                for (int i = 0; i < 2; ++i)
                    if (lines[j] != nullptr && c.use[i]) in.taps[j][i] = lines[j][c.first + i];
            in.dst = d[k];
            Accumulator acc;
            for (int j = 0; j < 2; ++j) {
                if (lines[j] == nullptr) continue;
                for (int i = 0; i < 2; ++i)
                    if (c.use[i]) acc.add(pixels_detail::toRgba(in.taps[j][i]), c.w[i] * row.w[j]);
            }
            if (acc.a > 0.0f) {
                pixels_detail::compositeOnto<blend>(d[k], acc.colour(1.0f, job.opacity));
            }
            worked.push_back(Memo<P>{classes[k], row_class, in, d[k]});
            left = static_cast<int>(worked.size() - 1);
            above[k] = left;
        }
        after.assign(d, d + width);
        last_class = row_class;
        last_lines[0] = lines[0];
        last_lines[1] = lines[1];
    }
}

// Destination pixels the source can reach through m (source to destination),
// one pixel wider on each side for the bilinear footprint.
PF_Rect reach(const PF_FloatMatrix& src_to_dst, const PF_EffectWorld& src, const PF_Rect& clip) {
    if (!pixels_detail::isAffine(src_to_dst)) return clip;
    double left = HUGE_VAL, top = HUGE_VAL, right = -HUGE_VAL, bottom = -HUGE_VAL;
    const double xs[2] = {0.0, static_cast<double>(src.width)};
    const double ys[2] = {0.0, static_cast<double>(src.height)};
    for (double sx : xs)
        for (double sy : ys) {
            const auto p = pixels_detail::apply(src_to_dst, sx, sy);
            if (!p) return clip;
            left = std::min(left, p->x);
            right = std::max(right, p->x);
            top = std::min(top, p->y);
            bottom = std::max(bottom, p->y);
        }
    const auto toEdge = [](double v, double lo, double hi) { return static_cast<A_long>(std::clamp(v, lo, hi)); };
    const double lo_x = clip.left, hi_x = clip.right, lo_y = clip.top, hi_y = clip.bottom;
    return pixels_detail::intersect(
        clip, PF_Rect{toEdge(std::floor(left) - 1, lo_x, hi_x), toEdge(std::floor(top) - 1, lo_y, hi_y),
                      toEdge(std::ceil(right) + 1, lo_x, hi_x), toEdge(std::ceil(bottom) + 1, lo_y, hi_y)});
}

PF_Rect unite(const PF_Rect& a, const PF_Rect& b) {
    if (pixels_detail::isEmpty(a)) return b;
    if (pixels_detail::isEmpty(b)) return a;
    return PF_Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                   std::max(a.bottom, b.bottom)};
}

template <Blend blend>
void run(Depth depth, const Job& job, const std::vector<PF_FloatMatrix>& src_to_dst, bool fast) {
    pixels_detail::dispatch(depth, [&](auto tag) {
        using P = decltype(tag);
        int tx = 0, ty = 0;
        if (fast && src_to_dst.size() == 1 && pixels_detail::wholePixelTranslation(src_to_dst[0], tx, ty)) {
            translateWhole<blend, P>(job, tx, ty);
            return;
        }
        PF_Rect r{0, 0, 0, 0};
        for (const PF_FloatMatrix& m : src_to_dst) r = unite(r, reach(m, *job.src, job.clip));
        if (fast && job.dst_to_src.size() == 1 && onlyTranslates(job.dst_to_src[0]))
            translateFraction<blend, P>(job, r);
        else
            resample<blend, P>(job, r);
    });
}

bool supported(PF_Quality quality, PF_ModeFlags m_flags, PF_Field field, const PF_CompositeMode* comp_mode,
               const PF_MaskWorld* mask) {
    if (quality != PF_Quality_LO && quality != PF_Quality_HI) return false;
    if (m_flags != PF_MF_Alpha_STRAIGHT) return false;
    if (field != PF_Field_FRAME && field != PF_Field_UPPER && field != PF_Field_LOWER) return false;
    if (comp_mode == nullptr || mask != nullptr) return false;
    if (comp_mode->xfer != PF_Xfer_IN_FRONT && comp_mode->xfer != PF_Xfer_SCREEN) return false;
    return comp_mode->rgb_only == 0 && comp_mode->opacitySu <= PF_MAX_CHAN16;
}

}  // namespace

PF_Err pixels_detail::transformWorldBy(TransformPath path, PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                                       const PF_EffectWorld* src, const PF_CompositeMode* comp_mode,
                                       const PF_MaskWorld* mask, const PF_FloatMatrix* matrices, A_long num_matrices,
                                       PF_Boolean src2dst_matrix, const PF_Rect* dest_rect,
                                       PF_EffectWorld* dst) noexcept {
    const auto src_depth = pixels_detail::checkWorld(src);
    const auto dst_depth = pixels_detail::checkWorld(dst);
    if (!src_depth || !dst_depth || *src_depth != *dst_depth) return PF_Err_BAD_CALLBACK_PARAM;
    if (src == dst || (src->data != nullptr && src->data == dst->data)) return PF_Err_BAD_CALLBACK_PARAM;
    if (!supported(quality, m_flags, field, comp_mode, mask)) return PF_Err_BAD_CALLBACK_PARAM;
    if (matrices == nullptr || num_matrices < 1) return PF_Err_BAD_CALLBACK_PARAM;
    if (dest_rect != nullptr && !pixels_detail::wellFormed(*dest_rect)) return PF_Err_BAD_CALLBACK_PARAM;

    try {
        // The matrix lists are kept between calls on one thread, so that a
        // composite allocates nothing.
        thread_local std::vector<PF_FloatMatrix> dst_to_src, src_to_dst;
        dst_to_src.clear();
        src_to_dst.clear();
        Job job{src, dst, pixels_detail::wholeOf(*dst), dst_to_src, 1.0f, quality == PF_Quality_HI};
        if (dest_rect != nullptr) job.clip = pixels_detail::intersect(*dest_rect, job.clip);
        job.opacity = *src_depth == Depth::k8 ? static_cast<float>(comp_mode->opacity) / PF_MAX_CHAN8
                                              : static_cast<float>(comp_mode->opacitySu) / PF_MAX_CHAN16;

        for (A_long i = 0; i < num_matrices; ++i) {
            const auto inverse = pixels_detail::invert(matrices[i]);
            if (!inverse) return PF_Err_BAD_CALLBACK_PARAM;
            src_to_dst.push_back(src2dst_matrix ? matrices[i] : *inverse);
            job.dst_to_src.push_back(src2dst_matrix ? *inverse : matrices[i]);
        }
        if (pixels_detail::isEmpty(job.clip) || src->width == 0 || src->height == 0 || job.opacity == 0.0f)
            return PF_Err_NONE;

        const bool fast = path == pixels_detail::TransformPath::kFastest;
        if (comp_mode->xfer == PF_Xfer_SCREEN)
            run<Blend::kScreen>(*src_depth, job, src_to_dst, fast);
        else
            run<Blend::kOver>(*src_depth, job, src_to_dst, fast);
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    }
    return PF_Err_NONE;
}

PF_Err transformWorld(PF_Quality quality, PF_ModeFlags m_flags, PF_Field field, const PF_EffectWorld* src,
                      const PF_CompositeMode* comp_mode, const PF_MaskWorld* mask, const PF_FloatMatrix* matrices,
                      A_long num_matrices, PF_Boolean src2dst_matrix, const PF_Rect* dest_rect,
                      PF_EffectWorld* dst) noexcept {
    return pixels_detail::transformWorldBy(pixels_detail::TransformPath::kFastest, quality, m_flags, field, src,
                                           comp_mode, mask, matrices, num_matrices, src2dst_matrix, dest_rect, dst);
}

}  // namespace minihost
