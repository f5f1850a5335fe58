#include "minihost/pixels/outline_fill.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "minihost/pixels/composite.h"
#include "minihost/pixels/pixel_kernels.h"
#include "minihost/pixels/world_check.h"

namespace minihost {
namespace {

constexpr int kSubRows = 16;               // sample lines per pixel row
// Largest distance of a chord from its curve, in pixels. Chords cut inside
// convex curves, so this also bounds the area lost along an outline.
constexpr double kFlatness = 1.0 / 512.0;
constexpr int kMaxPiecesPerCurve = 1024;

struct Edge {
    double x0, y0, x1, y1;  // y0 < y1
    int winding;            // +1 going down, -1 going up
};

struct Crossing {
    double x;
    int winding;
};

class EdgeList {
public:
    void add(double x0, double y0, double x1, double y1) {
        if (y0 == y1 || !std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return;
        if (y0 < y1)
            edges_.push_back({x0, y0, x1, y1, 1});
        else
            edges_.push_back({x1, y1, x0, y0, -1});
    }
    std::vector<Edge>& edges() { return edges_; }

private:
    std::vector<Edge> edges_;
};

struct Mapping {
    double sx, sy, ox, oy;
    double x(double px) const { return px * sx + ox; }
    double y(double py) const { return py * sy + oy; }
};

// Flattens the cubic a, b, c, d (already in buffer pixels) into chords that
// stay within kFlatness of the curve: for n equal steps in t the chord error
// is at most 3/4 of the largest second difference divided by n squared.
void addCubic(EdgeList& edges, double ax, double ay, double bx, double by, double cx, double cy, double dx,
              double dy) {
    // A straight segment: its tangent points sit on its ends.
    if (bx == ax && by == ay && cx == dx && cy == dy) {
        edges.add(ax, ay, dx, dy);
        return;
    }
    const double d1 = std::hypot(ax - 2 * bx + cx, ay - 2 * by + cy);
    const double d2 = std::hypot(bx - 2 * cx + dx, by - 2 * cy + dy);
    const double dd = std::max(d1, d2);
    int n = 1;
    if (dd > 0 && std::isfinite(dd))
        n = static_cast<int>(std::clamp(std::ceil(std::sqrt(0.75 * dd / kFlatness)), 1.0,
                                        static_cast<double>(kMaxPiecesPerCurve)));
    double px = ax, py = ay;
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double u = 1 - t;
        const double qx = i == n ? dx : u * u * u * ax + 3 * u * u * t * bx + 3 * u * t * t * cx + t * t * t * dx;
        const double qy = i == n ? dy : u * u * u * ay + 3 * u * u * t * by + 3 * u * t * t * cy + t * t * t * dy;
        edges.add(px, py, qx, qy);
        px = qx;
        py = qy;
    }
}

EdgeList flatten(const std::vector<std::vector<PF_PathVertex>>& contours, const Mapping& m) {
    EdgeList edges;
    for (const auto& contour : contours) {
        if (contour.size() < 2) continue;
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const PF_PathVertex& v = contour[i];
            const PF_PathVertex& w = contour[(i + 1) % contour.size()];
            addCubic(edges, m.x(v.x), m.y(v.y), m.x(v.tan_out_x), m.y(v.tan_out_y), m.x(w.tan_in_x),
                     m.y(w.tan_in_y), m.x(w.x), m.y(w.y));
        }
    }
    return edges;
}

// Adds the span [xa, xb) of one sample line to the row's coverage: exact
// fractions at its ends, whole pixels through a running difference.
void addSpan(std::vector<float>& partial, std::vector<float>& runs, int width, double xa, double xb) {
    xa = std::max(xa, 0.0);
    xb = std::min(xb, static_cast<double>(width));
    if (!(xb > xa)) return;
    const int ia = static_cast<int>(std::floor(xa));
    const int ib = static_cast<int>(std::floor(xb));
    if (ia == ib) {
        partial[ia] += static_cast<float>(xb - xa);
        return;
    }
    partial[ia] += static_cast<float>(ia + 1 - xa);
    runs[ia + 1] += 1.0f;
    runs[ib] -= 1.0f;  // runs has width + 1 entries: ib may equal width
    if (ib < width) partial[ib] += static_cast<float>(xb - ib);
}

template <typename P>
void fillRows(PF_EffectWorld& dst, std::vector<Edge>& edges, const Rgba& colour) {
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    const int width = dst.width;
    std::vector<float> partial(static_cast<std::size_t>(width) + 1);
    std::vector<float> runs(static_cast<std::size_t>(width) + 1);
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    std::size_t next = 0;

    const int first_row = edges.empty() ? 0 : static_cast<int>(std::clamp(std::floor(edges.front().y0), 0.0, static_cast<double>(dst.height)));
    for (int row = first_row; row < dst.height; ++row) {
        const double row_bottom = row + 1.0;
        while (next < edges.size() && edges[next].y0 < row_bottom) active.push_back(&edges[next++]);
        std::erase_if(active, [row](const Edge* e) { return e->y1 <= row; });
        if (active.empty()) {
            if (next == edges.size()) break;
            continue;
        }
        std::fill(partial.begin(), partial.end(), 0.0f);
        std::fill(runs.begin(), runs.end(), 0.0f);
        for (int sub = 0; sub < kSubRows; ++sub) {
            const double y = row + (sub + 0.5) / kSubRows;
            crossings.clear();
            for (const Edge* e : active) {
                if (y < e->y0 || y >= e->y1) continue;
                crossings.push_back({e->x0 + (y - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0), e->winding});
            }
            std::sort(crossings.begin(), crossings.end(),
                      [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
            int winding = 0;
            for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
                winding += crossings[i].winding;
                if (winding != 0) addSpan(partial, runs, width, crossings[i].x, crossings[i + 1].x);
            }
        }
        P* out = pixels_detail::rowOf<P>(dst, row);
        float run = 0.0f;
        for (int x = 0; x < width; ++x) {
            run += runs[x];
            const float coverage = std::min((run + partial[x]) / kSubRows, 1.0f);
            if (coverage <= 0.0f) continue;
            pixels_detail::compositeOnto<pixels_detail::Blend::kOver>(out[x], Rgba{colour.a * coverage, colour.r, colour.g, colour.b});
        }
    }
}

}  // namespace

void fillOutlines(PF_EffectWorld& dst, const std::vector<std::vector<PF_PathVertex>>& contours, PF_Pixel color,
                  double scale_x, double scale_y, double offset_x, double offset_y) {
    const auto depth = pixels_detail::checkWorld(&dst);
    if (!depth) throw std::invalid_argument("fillOutlines: world is not usable");
    if (dst.width == 0 || dst.height == 0) return;
    EdgeList edges = flatten(contours, Mapping{scale_x, scale_y, offset_x, offset_y});
    const Rgba colour = pixels_detail::toRgba(color);
    pixels_detail::dispatch(*depth, [&](auto tag) { fillRows<decltype(tag)>(dst, edges.edges(), colour); });
}

}  // namespace minihost
