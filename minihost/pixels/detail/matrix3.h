// The 3x3 row-vector matrices of transformWorld.
#pragma once

#include <optional>

#include "AE_Effect.h"

namespace minihost::pixels_detail {

struct Point2 {
    double x, y;
};

/// The inverse, or nothing when the matrix is singular or not finite.
std::optional<PF_FloatMatrix> invert(const PF_FloatMatrix& m);

/// (x, y, 1) x m, divided by the third coordinate; nothing when that is not
/// positive (the point lies behind the projection).
std::optional<Point2> apply(const PF_FloatMatrix& m, double x, double y);

/// True when m only translates, by whole pixels that fit an int with room
/// to spare; the translation goes to tx, ty.
bool wholePixelTranslation(const PF_FloatMatrix& m, int& tx, int& ty);

/// True when the last column is (0, 0, 1): no projection.
bool isAffine(const PF_FloatMatrix& m);

}  // namespace minihost::pixels_detail
