// Layer matrices and their decomposition: position and scale come back as
// the layer's, also when the layer is flipped.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "minihost/model/matrix4.h"

namespace {

using minihost::decomposeMatrix4;
using minihost::layerMatrix;

struct Parts {
    A_FloatPoint3 pos{}, scale{}, shear{}, rot{};
    A_Err err = 0;
};

Parts decompose(const A_Matrix4& m) {
    Parts p;
    p.err = decomposeMatrix4(m, &p.pos, &p.scale, &p.shear, &p.rot);
    return p;
}

TEST(Matrix4, LayerMatrixMapsAnchorToPosition) {
    const A_Matrix4 m = layerMatrix({10, 20}, {2.0, 0.5}, 0.0, {100, 50});
    // The anchor point lands on the position; a point 4 px right of it 8 px right.
    const double x = 14, y = 20;
    EXPECT_DOUBLE_EQ(x * m.mat[0][0] + y * m.mat[1][0] + m.mat[3][0], 108.0);
    EXPECT_DOUBLE_EQ(x * m.mat[0][1] + y * m.mat[1][1] + m.mat[3][1], 50.0);
}

TEST(Matrix4, RecoversPositionScaleAndRotation) {
    const double angle = 30.0 * std::numbers::pi / 180.0;
    const Parts p = decompose(layerMatrix({5, 7}, {1.5, 0.25}, angle, {320, 180}));
    ASSERT_EQ(p.err, A_Err_NONE);
    // The anchor moves the translation row, not the scale.
    const double c = std::cos(angle), s = std::sin(angle);
    EXPECT_NEAR(p.pos.x, 320 - (5 * 1.5 * c - 7 * 0.25 * s), 1e-9);
    EXPECT_NEAR(p.pos.y, 180 - (5 * 1.5 * s + 7 * 0.25 * c), 1e-9);
    EXPECT_NEAR(p.scale.x, 1.5, 1e-12);
    EXPECT_NEAR(p.scale.y, 0.25, 1e-12);
    EXPECT_NEAR(p.scale.z, 1.0, 1e-12);
    EXPECT_NEAR(p.rot.z, angle, 1e-12);
    EXPECT_NEAR(p.shear.x, 0.0, 1e-12);
}

TEST(Matrix4, NegativeScaleComesBackOnItsAxis) {
    const Parts fx = decompose(layerMatrix({0, 0}, {-0.5, 1.0}, 0.0, {40, 60}));
    EXPECT_NEAR(fx.scale.x, -0.5, 1e-12);
    EXPECT_NEAR(fx.scale.y, 1.0, 1e-12);
    EXPECT_NEAR(fx.rot.z, 0.0, 1e-12);
    EXPECT_DOUBLE_EQ(fx.pos.x, 40);
    EXPECT_DOUBLE_EQ(fx.pos.y, 60);

    const Parts fy = decompose(layerMatrix({0, 0}, {2.0, -3.0}, 0.0, {0, 0}));
    EXPECT_NEAR(fy.scale.x, 2.0, 1e-12);
    EXPECT_NEAR(fy.scale.y, -3.0, 1e-12);
    EXPECT_NEAR(fy.rot.z, 0.0, 1e-12);

    // Both axes flipped is a half turn: the same matrix as scale (1, 1) turned by pi.
    const Parts both = decompose(layerMatrix({0, 0}, {-1.0, -1.0}, 0.0, {0, 0}));
    EXPECT_NEAR(both.scale.x, 1.0, 1e-12);
    EXPECT_NEAR(both.scale.y, 1.0, 1e-12);
    EXPECT_NEAR(std::fabs(both.rot.z), std::numbers::pi, 1e-12);
}

TEST(Matrix4, ParentScaleMultiplies) {
    const A_Matrix4 child = layerMatrix({0, 0}, {0.5, 0.5}, 0.0, {10, 10});
    const A_Matrix4 parent = layerMatrix({0, 0}, {4.0, 2.0}, 0.0, {100, 0});
    const Parts p = decompose(minihost::multiply(child, parent));
    EXPECT_NEAR(p.scale.x, 2.0, 1e-12);
    EXPECT_NEAR(p.scale.y, 1.0, 1e-12);
    EXPECT_NEAR(p.pos.x, 140.0, 1e-12);
    EXPECT_NEAR(p.pos.y, 20.0, 1e-12);
}

TEST(Matrix4, AScaleOfZeroIsDecomposedAndOnlyNonFiniteMatricesAreRefused) {
    const Parts zero_x = decompose(layerMatrix({0, 0}, {0.0, 1.5}, 0.0, {5, 7}));
    EXPECT_EQ(zero_x.err, A_Err_NONE);
    EXPECT_DOUBLE_EQ(zero_x.scale.x, 0.0);
    EXPECT_DOUBLE_EQ(zero_x.scale.y, 1.5);
    EXPECT_DOUBLE_EQ(zero_x.pos.x, 5.0);
    EXPECT_DOUBLE_EQ(zero_x.pos.y, 7.0);
    const Parts zero_both = decompose(layerMatrix({0, 0}, {0.0, 0.0}, 0.0, {5, 5}));
    EXPECT_EQ(zero_both.err, A_Err_NONE);
    EXPECT_DOUBLE_EQ(zero_both.scale.x, 0.0);
    EXPECT_DOUBLE_EQ(zero_both.scale.y, 0.0);
    const Parts zero_y = decompose(layerMatrix({0, 0}, {2.0, 0.0}, std::numbers::pi / 2, {5, 5}));
    EXPECT_EQ(zero_y.err, A_Err_NONE);
    EXPECT_NEAR(zero_y.scale.x, 2.0, 1e-12);
    EXPECT_DOUBLE_EQ(zero_y.scale.y, 0.0);
    EXPECT_NEAR(zero_y.rot.z, std::numbers::pi / 2, 1e-12);
    A_Matrix4 nan = minihost::identityMatrix4();
    nan.mat[0][0] = std::nan("");
    const Parts p = decompose(nan);
    EXPECT_EQ(p.err, A_Err_PARAMETER);
    EXPECT_EQ(p.scale.x, 0.0);
    EXPECT_EQ(p.pos.x, 0.0);
}

}  // namespace
