// Conversions to 32-bit integers and layout arithmetic stay defined for every
// input; run under UndefinedBehaviorSanitizer, a regression aborts the test.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "layout_fixtures.h"
#include "render/int_conversion.h"
#include "render/matrix.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr A_long kMax = std::numeric_limits<A_long>::max();
constexpr A_long kMin = std::numeric_limits<A_long>::min();

TEST(TruncateSaturated, TruncatesTowardZeroInRange) {
    EXPECT_EQ(truncateSaturated(50.7), 50);
    EXPECT_EQ(truncateSaturated(-50.7), -50);
    EXPECT_EQ(truncateSaturated(-0.9), 0);
    EXPECT_EQ(truncateSaturated(2147483646.9), 2147483646);
    EXPECT_EQ(truncateSaturated(-2147483647.9), -2147483647);
}

TEST(TruncateSaturated, SaturatesBeyondRangeAndMapsNaNToZero) {
    EXPECT_EQ(truncateSaturated(kNaN), 0);
    EXPECT_EQ(truncateSaturated(kInf), kMax);
    EXPECT_EQ(truncateSaturated(-kInf), kMin);
    EXPECT_EQ(truncateSaturated(2147483647.5), kMax);
    EXPECT_EQ(truncateSaturated(3e9), kMax);
    EXPECT_EQ(truncateSaturated(-3e9), kMin);
    EXPECT_EQ(truncateSaturated(1e300), kMax);
}

TEST(WholeToLong, AcceptsRepresentableWholesOnly) {
    EXPECT_EQ(wholeToLong(-7.0), -7);
    EXPECT_EQ(wholeToLong(2147483647.0), kMax);
    EXPECT_EQ(wholeToLong(-2147483648.0), kMin);
    EXPECT_FALSE(wholeToLong(2147483648.0));
    EXPECT_FALSE(wholeToLong(-2147483649.0));
    EXPECT_FALSE(wholeToLong(kNaN));
    EXPECT_FALSE(wholeToLong(kInf));
    EXPECT_FALSE(wholeToLong(-kInf));
}

TEST(NarrowExact, RejectsSumsBeyond32Bits) {
    EXPECT_EQ(narrowExact(kMax), kMax);
    EXPECT_EQ(narrowExact(kMin), kMin);
    EXPECT_FALSE(narrowExact(std::int64_t{kMax} + 1));
    EXPECT_FALSE(narrowExact(std::int64_t{kMin} - 1));
}

// A run of [bad, good]: the bad character is skipped without moving the run,
// the good one lands where it would alone.
void expectOnlyGoodPlaced(RenderSettings s, const world_origins& origins = {}) {
    const auto run = layOut(s, origins);
    ASSERT_EQ(run.size(), 1u);
    EXPECT_EQ(run[0].k, 1u);
    EXPECT_EQ(run[0].p.cell_start, s.alignment == ALIGN_RIGHT ? s.start - s.cell_size : s.start);
}

TEST(LayoutMends, NonFiniteBoxesAreSkipped) {
    expectOnlyGoodPlaced(settingsFor(ALIGN_LEFT, {box(kNaN, 5, 30, 25), box(40, 5, 60, 25)}));
    expectOnlyGoodPlaced(settingsFor(ALIGN_LEFT, {box(10, -kInf, 30, 25), box(40, 5, 60, 25)}));
    expectOnlyGoodPlaced(settingsFor(ALIGN_LEFT, {box(10, 5, kInf, 25), box(40, 5, 60, 25)}));
}

TEST(LayoutMends, BoxesBeyond32BitsAreSkipped) {
    expectOnlyGoodPlaced(settingsFor(ALIGN_LEFT, {box(3e9, 5, 3e9 + 20, 25), box(40, 5, 60, 25)}));
    // Floors fit, but a width of more than 2^31 does not.
    expectOnlyGoodPlaced(settingsFor(ALIGN_LEFT, {box(-2e9, 5, 2e9, 25), box(40, 5, 60, 25)}));
}

TEST(LayoutMends, ExpansionOverflowingTheRectangleIsSkipped) {
    // ceil(right) + expansion passes 2^31 - 1 for the first box only.
    RenderSettings s = settingsFor(ALIGN_LEFT, {box(10, 5, 2147483640.0, 25), box(40, 5, 60, 25)}, 100.0, 50, 10);
    const auto run = layOut(s);
    ASSERT_EQ(run.size(), 1u);
    EXPECT_EQ(run[0].k, 1u);
}

TEST(LayoutMends, InputOriginOverflowingTheBufferRectangleIsSkipped) {
    RenderSettings s = settingsFor(ALIGN_LEFT, {box(2147483000.0, 5, 2147483020.0, 25)});
    EXPECT_EQ(layOut(s, world_origins{}).size(), 1u);
    EXPECT_TRUE(layOut(s, world_origins{kMin, 0, 0, 0}).empty());
}

TEST(LayoutMends, AdvanceBeyond32BitsIsSkipped) {
    RenderSettings s = settingsFor(ALIGN_LEFT, row(2, ALIGN_LEFT), 100.0, kMax, 5);
    EXPECT_TRUE(layOut(s).empty());
    // The extreme that still fits is placed.
    RenderSettings fits = settingsFor(ALIGN_LEFT, row(1, ALIGN_LEFT), 100.0, kMax - 10, 5);
    const auto run = layOut(fits);
    ASSERT_EQ(run.size(), 1u);
    EXPECT_EQ(run[0].p.advance, kMax);
}

TEST(LayoutMends, ExtremeExpansionDoesNotOverflowTheRunStart) {
    for (A_long alignment : {ALIGN_LEFT, ALIGN_CENTER, ALIGN_RIGHT}) {
        RenderSettings s = settingsFor(alignment, row(3, alignment), 100.0, 50, kMax);
        EXPECT_TRUE(layOut(s).empty());
        RenderSettings neg = settingsFor(alignment, row(3, alignment), 100.0, 50, kMin);
        EXPECT_TRUE(layOut(neg).empty());
    }
}

TEST(LayoutMends, NonFiniteMovesAreSkipped) {
    RenderSettings nan_track = settingsFor(ALIGN_LEFT, row(2, ALIGN_LEFT), 100.0, 50, 0, kNaN);
    // Slot 0 times NaN is still NaN: nothing can be placed.
    EXPECT_TRUE(layOut(nan_track).empty());
    RenderSettings inf_start = settingsFor(ALIGN_LEFT, row(2, ALIGN_LEFT), kInf);
    EXPECT_TRUE(layOut(inf_start).empty());
}

TEST(LayoutMends, SaturatedCellsInTheCentringSumStayFinite) {
    RenderSettings s = settingsFor(ALIGN_CENTER, row(3, ALIGN_CENTER), 100.0, kMax);
    const run_state run = prepareRun(s);
    EXPECT_DOUBLE_EQ(run.cursor, 100.0 - 1.5 * kMax);
}

TEST(Matrix, IdentityAndTranslation) {
    PF_FloatMatrix m;
    SetIdentityMatrix(m);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(m.mat[r][c], r == c ? 1.0 : 0.0);
        }
    }
    TranslateMatrix(m, 3.5, -2.0);
    TranslateMatrix(m, 1.0, 4.0);
    EXPECT_EQ(m.mat[2][0], 4.5);
    EXPECT_EQ(m.mat[2][1], 2.0);
    EXPECT_EQ(m.mat[2][2], 1.0);
    EXPECT_EQ(m.mat[0][0], 1.0);
    EXPECT_EQ(m.mat[0][2], 0.0);
}

TEST(Matrix, TranslationByMinusZeroStoresPlusZero) {
    PF_FloatMatrix m;
    SetIdentityMatrix(m);
    TranslateMatrix(m, -0.0, -0.0);
    EXPECT_FALSE(std::signbit(m.mat[2][0]));
    EXPECT_FALSE(std::signbit(m.mat[2][1]));
}

TEST(Matrix, ConcatAppendsTheSourceAfterTheDestination) {
    // dst scales by 2, src translates by (10, 1): (1, 1) -> (2, 2) -> (12, 3).
    PF_FloatMatrix scale;
    SetIdentityMatrix(scale);
    scale.mat[0][0] = 2.0;
    scale.mat[1][1] = 2.0;
    PF_FloatMatrix translate;
    SetIdentityMatrix(translate);
    translate.mat[2][0] = 10.0;
    translate.mat[2][1] = 1.0;

    PF_FloatMatrix m = scale;
    CCU_ConcatMatrix(translate, m);
    const double x = 1.0 * m.mat[0][0] + 1.0 * m.mat[1][0] + m.mat[2][0];
    const double y = 1.0 * m.mat[0][1] + 1.0 * m.mat[1][1] + m.mat[2][1];
    EXPECT_EQ(x, 12.0);
    EXPECT_EQ(y, 3.0);

    // The other order translates first: (1, 1) -> (11, 2) -> (22, 4).
    PF_FloatMatrix other = translate;
    CCU_ConcatMatrix(scale, other);
    EXPECT_EQ(other.mat[2][0], 20.0);
    EXPECT_EQ(other.mat[2][1], 2.0);
}

TEST(Matrix, ConcatWithItselfUsesATemporary) {
    PF_FloatMatrix m;
    SetIdentityMatrix(m);
    m.mat[2][0] = 3.0;
    CCU_ConcatMatrix(m, m);
    EXPECT_EQ(m.mat[2][0], 6.0);
}

}  // namespace
