#include "minihost/text/outline_convert.h"

#include <optional>

namespace minihost::text {
namespace {

struct Point {
    double x, y;
    bool operator==(const Point&) const = default;
};

Point midpoint(Point a, Point b) { return {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5}; }

// Builds one closed contour segment by segment.
class ContourBuilder {
public:
    explicit ContourBuilder(Point start) : current_(start) { vertices_.push_back(vertexAt(start)); }

    void lineTo(Point to) {
        if (to == current_) {
            return;  // a zero-length segment draws nothing
        }
        vertices_.push_back(vertexAt(to));
        current_ = to;
    }

    // Quadratic from the current point through control c to `to`, raised to
    // a cubic: both cubic controls lie two thirds of the way to c.
    void quadTo(Point c, Point to) {
        const Point c1{current_.x + 2.0 / 3.0 * (c.x - current_.x), current_.y + 2.0 / 3.0 * (c.y - current_.y)};
        const Point c2{to.x + 2.0 / 3.0 * (c.x - to.x), to.y + 2.0 / 3.0 * (c.y - to.y)};
        cubicTo(c1, c2, to);
    }

    void cubicTo(Point c1, Point c2, Point to) {
        PF_PathVertex& from = vertices_.back();
        from.tan_out_x = c1.x;
        from.tan_out_y = c1.y;
        PF_PathVertex v = vertexAt(to);
        v.tan_in_x = c2.x;
        v.tan_in_y = c2.y;
        vertices_.push_back(v);
        current_ = to;
    }

    // The walk has come back to the start point: the last vertex stands on
    // the first, so its in-tangent becomes the first vertex's and it goes.
    Contour close() {
        if (vertices_.size() > 1) {
            const PF_PathVertex& last = vertices_.back();
            const Point first{vertices_.front().x, vertices_.front().y};
            if (Point{last.x, last.y} == first) {
                vertices_.front().tan_in_x = last.tan_in_x;
                vertices_.front().tan_in_y = last.tan_in_y;
                vertices_.pop_back();
            }
        }
        return std::move(vertices_);
    }

private:
    static PF_PathVertex vertexAt(Point p) { return PF_PathVertex{p.x, p.y, p.x, p.y, p.x, p.y}; }

    std::vector<PF_PathVertex> vertices_;
    Point current_;
};

Contour convertContour(const FT_Outline& outline, int first, int last, OutlinePlacement placement) {
    const int n = last - first + 1;
    auto pointAt = [&](int k) {
        const FT_Vector& v = outline.points[first + k];
        return Point{placement.origin_x + static_cast<double>(v.x) / 64.0,
                     placement.origin_y - static_cast<double>(v.y) / 64.0};
    };
    auto tagAt = [&](int k) { return FT_CURVE_TAG(outline.tags[first + k]); };

    // Start on an on-curve point; an outline of quadratic controls only
    // starts at the implied point between its last and first control.
    int start = -1;
    for (int k = 0; k < n; ++k) {
        if (tagAt(k) == FT_CURVE_TAG_ON) {
            start = k;
            break;
        }
    }
    const bool implied_start = start < 0;
    const Point start_point = implied_start ? midpoint(pointAt(n - 1), pointAt(0)) : pointAt(start);
    ContourBuilder builder(start_point);

    std::optional<Point> conic;
    std::vector<Point> cubic;
    auto onCurve = [&](Point p) {
        if (conic) {
            builder.quadTo(*conic, p);
        } else if (cubic.size() == 2) {
            builder.cubicTo(cubic[0], cubic[1], p);
        } else if (cubic.size() == 1) {  // a lone cubic control: read as quadratic
            builder.quadTo(cubic[0], p);
        } else {
            builder.lineTo(p);
        }
        conic.reset();
        cubic.clear();
    };

    // Every point after the start once, then the start again to close.
    const int steps = implied_start ? n : n - 1;
    const int offset = implied_start ? 0 : start + 1;
    for (int s = 0; s < steps; ++s) {
        const int k = (offset + s) % n;
        const Point p = pointAt(k);
        switch (tagAt(k)) {
            case FT_CURVE_TAG_ON:
                onCurve(p);
                break;
            case FT_CURVE_TAG_CONIC:
                if (conic) {
                    const Point mid = midpoint(*conic, p);
                    builder.quadTo(*conic, mid);
                }
                conic = p;
                break;
            default:                      // FT_CURVE_TAG_CUBIC
                if (cubic.size() == 2) {  // malformed run of three: end the curve at the third
                    onCurve(p);
                } else {
                    cubic.push_back(p);
                }
                break;
        }
    }
    onCurve(start_point);
    return builder.close();
}

}  // namespace

std::vector<Contour> convertOutline(const FT_Outline& outline, OutlinePlacement placement) {
    std::vector<Contour> contours;
    int first = 0;
    for (int c = 0; c < outline.n_contours; ++c) {
        const int last = outline.contours[c];
        if (last >= first && last < outline.n_points) {
            Contour contour = convertContour(outline, first, last, placement);
            if (contour.size() >= 2) {
                contours.push_back(std::move(contour));
            }
        }
        first = last + 1;
    }
    return contours;
}

}  // namespace minihost::text
