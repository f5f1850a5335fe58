#include "minihost/pixels/detail/matrix3.h"

#include <cmath>

namespace minihost::pixels_detail {

std::optional<PF_FloatMatrix> invert(const PF_FloatMatrix& m) {
    const auto& a = m.mat;
    const double c00 = a[1][1] * a[2][2] - a[1][2] * a[2][1];
    const double c01 = a[1][2] * a[2][0] - a[1][0] * a[2][2];
    const double c02 = a[1][0] * a[2][1] - a[1][1] * a[2][0];
    const double det = a[0][0] * c00 + a[0][1] * c01 + a[0][2] * c02;
    if (!std::isfinite(det) || std::fabs(det) < 1e-12) return std::nullopt;
    const double k = 1.0 / det;
    PF_FloatMatrix r;
    r.mat[0][0] = c00 * k;
    r.mat[0][1] = (a[0][2] * a[2][1] - a[0][1] * a[2][2]) * k;
    r.mat[0][2] = (a[0][1] * a[1][2] - a[0][2] * a[1][1]) * k;
    r.mat[1][0] = c01 * k;
    r.mat[1][1] = (a[0][0] * a[2][2] - a[0][2] * a[2][0]) * k;
    r.mat[1][2] = (a[0][2] * a[1][0] - a[0][0] * a[1][2]) * k;
    r.mat[2][0] = c02 * k;
    r.mat[2][1] = (a[0][1] * a[2][0] - a[0][0] * a[2][1]) * k;
    r.mat[2][2] = (a[0][0] * a[1][1] - a[0][1] * a[1][0]) * k;
    for (const auto& row : r.mat)
        for (double v : row)
            if (!std::isfinite(v)) return std::nullopt;
    return r;
}

std::optional<Point2> apply(const PF_FloatMatrix& m, double x, double y) {
    const auto& a = m.mat;
    const double w = x * a[0][2] + y * a[1][2] + a[2][2];
    if (!(w > 1e-12)) return std::nullopt;
    return Point2{(x * a[0][0] + y * a[1][0] + a[2][0]) / w, (x * a[0][1] + y * a[1][1] + a[2][1]) / w};
}

bool isAffine(const PF_FloatMatrix& m) { return m.mat[0][2] == 0.0 && m.mat[1][2] == 0.0 && m.mat[2][2] == 1.0; }

bool wholePixelTranslation(const PF_FloatMatrix& m, int& tx, int& ty) {
    const auto& a = m.mat;
    if (!(a[0][0] == 1.0 && a[0][1] == 0.0 && a[1][0] == 0.0 && a[1][1] == 1.0 && isAffine(m))) return false;
    constexpr double kLimit = 1 << 30;
    const double x = a[2][0];
    const double y = a[2][1];
    if (!(std::fabs(x) < kLimit && std::fabs(y) < kLimit)) return false;
    if (x != std::floor(x) || y != std::floor(y)) return false;
    tx = static_cast<int>(x);
    ty = static_cast<int>(y);
    return true;
}

}  // namespace minihost::pixels_detail
