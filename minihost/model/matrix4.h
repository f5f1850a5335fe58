// 4x4 layer matrices as the host builds and decomposes them. Row vectors:
// a point (x, y, z, 1) times the matrix; the translation sits in row 3.
#pragma once

#include "A.h"

namespace minihost {

A_Matrix4 identityMatrix4();
/// a x b: applies a first, then b.
A_Matrix4 multiply(const A_Matrix4& a, const A_Matrix4& b);

/// The 2D layer transform: move the anchor point to the origin, scale
/// (factors, 1.0 = 100 %), rotate clockwise on screen (y down) by
/// rotation_radians, then move to position.
A_Matrix4 layerMatrix(A_FloatPoint anchor, A_FloatPoint scale, double rotation_radians, A_FloatPoint position);

/// Splits m into position (row 3), scale, shear (xy, xz, yz) and rotation
/// (radians about x, y and z) such that m = scale x shear x rotation, then
/// the translation. A mirroring matrix (negative determinant) gets one
/// negative scale: on x or on y, whichever leaves the smaller rotation about
/// z (x on a tie), so a layer flipped on one axis comes back with that
/// axis's scale negative and no rotation. A matrix that cannot be inverted
/// (a layer scaled to 0 on x or y) is still decomposed, as the host does:
/// the collapsed axis's scale is 0, shear and mirroring are left out.
/// Answers A_Err_PARAMETER only for a matrix that is not finite (the
/// outputs are then zero).
A_Err decomposeMatrix4(const A_Matrix4& m, A_FloatPoint3* position, A_FloatPoint3* scale, A_FloatPoint3* shear,
                       A_FloatPoint3* rotation);

}  // namespace minihost
