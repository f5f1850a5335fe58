// fillOutlines: coverage of exact shapes, the nonzero rule, the mapping to
// buffer pixels and compositing over what is there.
#include "test_pixels_support.h"

#include <cmath>
#include <numbers>

using namespace pixels_test;

namespace {

PF_PathVertex corner(double x, double y) { return PF_PathVertex{x, y, x, y, x, y}; }

std::vector<PF_PathVertex> rectangle(double l, double t, double r, double b, bool clockwise = true) {
    if (clockwise) return {corner(l, t), corner(r, t), corner(r, b), corner(l, b)};
    return {corner(l, t), corner(l, b), corner(r, b), corner(r, t)};
}

// Four cubic quarter arcs; k places the tangent points.
std::vector<PF_PathVertex> circle(double cx, double cy, double radius) {
    const double k = 0.5522847498 * radius;
    return {
        {cx + radius, cy, cx + radius, cy - k, cx + radius, cy + k},
        {cx, cy + radius, cx + k, cy + radius, cx - k, cy + radius},
        {cx - radius, cy, cx - radius, cy + k, cx - radius, cy - k},
        {cx, cy - radius, cx - k, cy - radius, cx + k, cy - radius},
    };
}

double alphaSum(const World& w) {
    double sum = 0;
    for (int y = 0; y < w.height(); ++y)
        for (int x = 0; x < w.width(); ++x) sum += w.at(x, y).a;
    return sum;
}

const PF_Pixel kWhite{255, 255, 255, 255};

}  // namespace

class Outline : public ::testing::TestWithParam<Depth> {};

TEST_P(Outline, SquareCoversItsInsideFullyAndItsEdgesPartly) {
    World w(10, 10, GetParam());
    paintCanary(*w.pf());
    minihost::fillOutlines(*w.pf(), {rectangle(2.25, 2.5, 6.75, 7)}, kWhite, 1, 1, 0, 0);
    const float q = quantum(GetParam());
    for (int y = 3; y < 7; ++y)
        for (int x = 3; x < 6; ++x) EXPECT_EQ(w.at(x, y).a, 1.0f) << x << "," << y;
    EXPECT_NEAR(w.at(2, 4).a, 0.75f, q);   // left edge: three quarters of the column
    EXPECT_NEAR(w.at(6, 4).a, 0.75f, q);   // right edge
    EXPECT_NEAR(w.at(4, 2).a, 0.5f, q);    // top edge: half the row
    EXPECT_EQ(w.at(4, 7).a, 0.0f);         // the bottom edge lies on a pixel boundary
    EXPECT_NEAR(w.at(2, 2).a, 0.375f, q);  // corner: 0.75 x 0.5
    EXPECT_EQ(w.at(1, 4).a, 0.0f);
    EXPECT_EQ(w.at(7, 4).a, 0.0f);
    EXPECT_NEAR(alphaSum(w), 4.5 * 4.5, 0.01);
    EXPECT_TRUE(canaryIntact(*w.pf()));
    // Coverage scales alpha; the colour is the fill colour.
    EXPECT_TRUE(near(w.at(2, 2), Rgba{0.375f, 1, 1, 1}, GetParam()));
}

TEST_P(Outline, BezierCircleHasTheCirclesArea) {
    World w(24, 24, GetParam());
    minihost::fillOutlines(*w.pf(), {circle(12.3, 11.6, 8)}, kWhite, 1, 1, 0, 0);
    // The four-arc approximation is within 0.03 % of a true circle's radius.
    EXPECT_NEAR(alphaSum(w), std::numbers::pi * 64, 0.2);
    EXPECT_EQ(w.at(12, 12).a, 1.0f);
    EXPECT_EQ(w.at(2, 2).a, 0.0f);
    const float edge = w.at(20, 11).a;  // the circle's right edge crosses pixel 20
    EXPECT_GT(edge, 0.05f);
    EXPECT_LT(edge, 0.95f);
}

TEST_P(Outline, OppositeContourCutsAHoleAndSameDirectionDoesNot) {
    World holed(8, 8, GetParam());
    minihost::fillOutlines(*holed.pf(), {rectangle(0, 0, 8, 8), rectangle(2, 2, 6, 6, false)}, kWhite, 1, 1, 0, 0);
    EXPECT_EQ(holed.at(4, 4).a, 0.0f);
    EXPECT_EQ(holed.at(1, 4).a, 1.0f);
    EXPECT_NEAR(alphaSum(holed), 64 - 16, 1e-3);

    World doubled(8, 8, GetParam());
    minihost::fillOutlines(*doubled.pf(), {rectangle(0, 0, 8, 8), rectangle(2, 2, 6, 6)}, kWhite, 1, 1, 0, 0);
    EXPECT_EQ(doubled.at(4, 4).a, 1.0f);  // winding 2 is still inside, once
    EXPECT_NEAR(alphaSum(doubled), 64, 1e-3);
}

TEST_P(Outline, ScaleAndOffsetPlaceTheShapeInBufferPixels) {
    World w(8, 8, GetParam());
    minihost::fillOutlines(*w.pf(), {rectangle(1, 1, 2, 3)}, kWhite, 2, -1, 1, 6);
    // x: 1..2 -> 3..5; y: 1..3 -> 5..3
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(w.at(x, y).a, (x >= 3 && x < 5 && y >= 3 && y < 5) ? 1.0f : 0.0f) << x << "," << y;
}

TEST_P(Outline, CompositesOverWhatIsThere) {
    World w(4, 1, GetParam());
    fillAll(w, Rgba{1, 0, 0, 1});
    const PF_Pixel half_red{128, 255, 0, 0};
    minihost::fillOutlines(*w.pf(), {rectangle(0, 0, 2, 1)}, half_red, 1, 1, 0, 0);
    const float a = 128.0f / 255.0f;
    EXPECT_TRUE(near(w.at(0, 0), Rgba{1, a, 0, 1 - a}, GetParam(), 2.0f));
    EXPECT_TRUE(near(w.at(3, 0), Rgba{1, 0, 0, 1}, GetParam(), 0));
}

TEST_P(Outline, ShapesReachingOutsideAreClippedAndDegenerateContoursIgnored) {
    World w(4, 4, GetParam());
    paintCanary(*w.pf());
    minihost::fillOutlines(*w.pf(), {rectangle(-5, -5, 2, 9), {corner(1, 1)}, {}}, kWhite, 1, 1, 0, 0);
    EXPECT_EQ(w.at(0, 0).a, 1.0f);
    EXPECT_EQ(w.at(1, 3).a, 1.0f);
    EXPECT_EQ(w.at(2, 0).a, 0.0f);
    EXPECT_TRUE(canaryIntact(*w.pf()));
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, Outline, ::testing::ValuesIn(kAllDepths), depthLabel);

TEST(OutlineRejects, AWorldWithoutAFormat) {
    World w(2, 2, Depth::k8);
    PF_EffectWorld bad = *w.pf();
    bad.reserved_long1 = 0;
    EXPECT_THROW(minihost::fillOutlines(bad, {rectangle(0, 0, 1, 1)}, kWhite, 1, 1, 0, 0), std::invalid_argument);
}
