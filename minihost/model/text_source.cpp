#include "minihost/model/text_source.h"

#include <algorithm>

namespace minihost {

std::vector<Glyph> ExactText::glyphsAt(double /*layer_seconds*/) const { return glyphs_; }

Contour polygonContour(const std::vector<A_FloatPoint>& points) {
    Contour c;
    c.reserve(points.size());
    for (const A_FloatPoint& p : points) {
        c.push_back({p.x, p.y, p.x, p.y, p.x, p.y});
    }
    return c;
}

Contour rectangleContour(double left, double top, double right, double bottom) {
    return polygonContour({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
}

Contour circleContour(double cx, double cy, double radius) {
    // Handle length of a quarter arc.
    const double k = 0.5522847498307936 * radius;
    const double r = radius;
    return {
        {cx + r, cy, cx + r, cy - k, cx + r, cy + k},
        {cx, cy + r, cx + k, cy + r, cx - k, cy + r},
        {cx - r, cy, cx - r, cy + k, cx - r, cy - k},
        {cx, cy - r, cx - k, cy - r, cx + k, cy - r},
    };
}

Contour reversed(const Contour& contour) {
    Contour out(contour.rbegin(), contour.rend());
    for (PF_PathVertex& v : out) {
        std::swap(v.tan_in_x, v.tan_out_x);
        std::swap(v.tan_in_y, v.tan_out_y);
    }
    return out;
}

Glyph rectangleGlyph(double left, double top, double right, double bottom, PF_Pixel color) {
    return Glyph{{rectangleContour(left, top, right, bottom)}, color};
}

}  // namespace minihost
