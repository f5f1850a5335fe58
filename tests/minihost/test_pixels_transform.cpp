// transform_world: placement of pixels, resampling, straight-alpha
// arithmetic of IN_FRONT and SCREEN, opacity, clipping, rejected arguments.
#include "test_pixels_support.h"

using namespace pixels_test;

namespace {

PF_CompositeMode mode(PF_TransferMode xfer, A_u_char opacity = 255, A_u_short opacity_su = 32768) {
    return PF_CompositeMode{xfer, 0, opacity, 0, opacity_su};
}

struct Call {
    PF_Quality quality = PF_Quality_HI;
    PF_ModeFlags flags = PF_MF_Alpha_STRAIGHT;
    PF_Field field = PF_Field_FRAME;
    PF_CompositeMode comp = mode(PF_Xfer_IN_FRONT);
    const PF_MaskWorld* mask = nullptr;
    std::vector<PF_FloatMatrix> matrices{translation(0, 0)};
    PF_Boolean src2dst = 1;
    const PF_Rect* dest_rect = nullptr;

    PF_Err run(const World& src, World& dst) const {
        return minihost::transformWorld(quality, flags, field, src.pf(), &comp, mask, matrices.data(),
                                        static_cast<A_long>(matrices.size()), src2dst, dest_rect, dst.pf());
    }
};

}  // namespace

class Transform : public ::testing::TestWithParam<Depth> {};

TEST_P(Transform, WholePixelTranslationReproducesPixelsExactly) {
    for (PF_Quality q : {PF_Quality_HI, PF_Quality_LO}) {
        World src = patterned(GetParam());
        World dst(6, 7, GetParam());
        paintCanary(*dst.pf());
        Call call;
        call.quality = q;
        call.matrices = {translation(1, 2)};
        ASSERT_EQ(call.run(src, dst), PF_Err_NONE);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 6; ++x) {
                const int sx = x - 1, sy = y - 2;
                if (sx >= 0 && sx < 4 && sy >= 0 && sy < 4)
                    EXPECT_EQ(rawPixel(*dst.pf(), x, y), rawPixel(*src.pf(), sx, sy)) << x << "," << y;
                else
                    EXPECT_EQ(dst.at(x, y).a, 0.0f) << x << "," << y;
            }
        EXPECT_TRUE(canaryIntact(*dst.pf()));
    }
}

TEST_P(Transform, NegativeWholePixelTranslationLeavesTheBufferCleanly) {
    World src = patterned(GetParam());
    World dst(4, 4, GetParam());
    paintCanary(*dst.pf());
    Call call;
    call.matrices = {translation(-3, -1)};
    ASSERT_EQ(call.run(src, dst), PF_Err_NONE);
    EXPECT_EQ(rawPixel(*dst.pf(), 0, 0), rawPixel(*src.pf(), 3, 1));
    EXPECT_EQ(rawPixel(*dst.pf(), 0, 2), rawPixel(*src.pf(), 3, 3));
    EXPECT_EQ(dst.at(1, 0).a, 0.0f);
    EXPECT_EQ(dst.at(0, 3).a, 0.0f);
    EXPECT_TRUE(canaryIntact(*dst.pf()));
}

TEST_P(Transform, OpaqueSourceReplacesTheDestinationExactly) {
    World src(2, 1, GetParam());
    src.set(0, 0, Rgba{1, 0.3f, 0.6f, 0.9f});
    src.set(1, 0, Rgba{1, 0.1f, 0.2f, 0.7f});
    World dst(3, 1, GetParam());
    fillAll(dst, Rgba{1, 1, 0, 1});
    Call call;
    call.matrices = {translation(1, 0)};
    ASSERT_EQ(call.run(src, dst), PF_Err_NONE);
    EXPECT_EQ(rawPixel(*dst.pf(), 1, 0), rawPixel(*src.pf(), 0, 0));
    EXPECT_EQ(rawPixel(*dst.pf(), 2, 0), rawPixel(*src.pf(), 1, 0));
    EXPECT_TRUE(near(dst.at(0, 0), Rgba{1, 1, 0, 1}, GetParam(), 0));
}

TEST_P(Transform, HalfPixelTranslationBlendsNeighboursHalfAndHalf) {
    World src(2, 1, GetParam());
    src.set(0, 0, Rgba{1, 0, 1, 0});
    src.set(1, 0, Rgba{1, 1, 0, 0});
    World dst(4, 2, GetParam());
    Call call;
    call.matrices = {translation(0.5, 0)};
    ASSERT_EQ(call.run(src, dst), PF_Err_NONE);
    // Half of each edge pixel falls on transparency: alpha halves, colour stays.
    EXPECT_TRUE(near(dst.at(0, 0), Rgba{0.5f, 0, 1, 0}, GetParam()));
    EXPECT_TRUE(near(dst.at(1, 0), Rgba{1, 0.5f, 0.5f, 0}, GetParam()));
    EXPECT_TRUE(near(dst.at(2, 0), Rgba{0.5f, 1, 0, 0}, GetParam()));
    EXPECT_EQ(dst.at(3, 0).a, 0.0f);
    EXPECT_EQ(dst.at(1, 1).a, 0.0f);
}

TEST_P(Transform, BilinearWeightsColourByAlpha) {
    World src(2, 1, GetParam());
    src.set(0, 0, Rgba{1, 1, 1, 1});
    src.set(1, 0, Rgba{0, 0, 0, 0});  // transparent black must not darken the white
    World dst(2, 1, GetParam());
    Call call;
    call.matrices = {translation(0.5, 0)};
    ASSERT_EQ(call.run(src, dst), PF_Err_NONE);
    EXPECT_TRUE(near(dst.at(1, 0), Rgba{0.5f, 1, 1, 1}, GetParam()));
}

TEST_P(Transform, LowQualityPicksOneSourcePixel) {
    World src(3, 1, GetParam());
    src.set(0, 0, Rgba{1, 0.2f, 0, 0});
    src.set(1, 0, Rgba{1, 0.6f, 0, 0});
    src.set(2, 0, Rgba{1, 1, 0, 0});
    World dst(4, 1, GetParam());
    Call call;
    call.quality = PF_Quality_LO;
    call.matrices = {translation(0.75, 0)};
    ASSERT_EQ(call.run(src, dst), PF_Err_NONE);
    // Destination centre 1.5 comes from source 0.75: inside source pixel 0.
    EXPECT_EQ(rawPixel(*dst.pf(), 1, 0), rawPixel(*src.pf(), 0, 0));
    EXPECT_EQ(rawPixel(*dst.pf(), 2, 0), rawPixel(*src.pf(), 1, 0));
    EXPECT_EQ(rawPixel(*dst.pf(), 3, 0), rawPixel(*src.pf(), 2, 0));
}

TEST_P(Transform, ScalingByTwoMapsPixelCentres) {
    World src(2, 1, GetParam());
    src.set(0, 0, Rgba{1, 0, 0, 0});
    src.set(1, 0, Rgba{1, 1, 0, 0});
    World dst(4, 1, GetParam());
    Call call;
    PF_FloatMatrix scale = translation(0, 0);
    scale.mat[0][0] = 2;
    call.matrices = {scale};
    ASSERT_EQ(call.run(src, dst), PF_Err_NONE);
    // Destination centres 0.5 .. 3.5 sample the source at 0.25 .. 1.75.
    EXPECT_TRUE(near(dst.at(0, 0), Rgba{0.75f, 0, 0, 0}, GetParam()));
    EXPECT_TRUE(near(dst.at(1, 0), Rgba{1, 0.25f, 0, 0}, GetParam()));
    EXPECT_TRUE(near(dst.at(2, 0), Rgba{1, 0.75f, 0, 0}, GetParam()));
    EXPECT_TRUE(near(dst.at(3, 0), Rgba{0.75f, 1, 0, 0}, GetParam()));
}

TEST_P(Transform, QuarterTurnPutsRowsIntoColumns) {
    World src(2, 1, GetParam());
    src.set(0, 0, Rgba{1, 1, 0, 0});
    src.set(1, 0, Rgba{1, 0, 0, 1});
    World dst(2, 3, GetParam());
    Call call;
    PF_FloatMatrix turn{};
    turn.mat[0][1] = 1;   // y' = x
    turn.mat[1][0] = -1;  // x' = 1 - y
    turn.mat[2][0] = 1;
    turn.mat[2][2] = 1;
    call.matrices = {turn};
    ASSERT_EQ(call.run(src, dst), PF_Err_NONE);
    EXPECT_TRUE(near(dst.at(0, 0), Rgba{1, 1, 0, 0}, GetParam()));
    EXPECT_TRUE(near(dst.at(0, 1), Rgba{1, 0, 0, 1}, GetParam()));
    EXPECT_EQ(dst.at(1, 0).a, 0.0f);
    EXPECT_EQ(dst.at(0, 2).a, 0.0f);
}

TEST_P(Transform, DestinationToSourceMatrixIsUsedAsGiven) {
    World src = patterned(GetParam());
    World dst(4, 4, GetParam());
    Call call;
    call.src2dst = 0;
    call.matrices = {translation(-1, 0)};  // destination x comes from source x - 1
    ASSERT_EQ(call.run(src, dst), PF_Err_NONE);
    EXPECT_EQ(rawPixel(*dst.pf(), 1, 0), rawPixel(*src.pf(), 0, 0));
    EXPECT_EQ(dst.at(0, 0).a, 0.0f);
}

TEST_P(Transform, SeveralMatricesAverageTheirSamples) {
    World src(1, 1, GetParam());
    src.set(0, 0, Rgba{1, 1, 0, 0});
    World dst(3, 1, GetParam());
    Call call;
    call.matrices = {translation(0, 0), translation(1, 0)};
    ASSERT_EQ(call.run(src, dst), PF_Err_NONE);
    EXPECT_TRUE(near(dst.at(0, 0), Rgba{0.5f, 1, 0, 0}, GetParam()));
    EXPECT_TRUE(near(dst.at(1, 0), Rgba{0.5f, 1, 0, 0}, GetParam()));
    EXPECT_EQ(dst.at(2, 0).a, 0.0f);
}

// One source pixel s composited onto one destination pixel d.
Rgba compositeOne(Depth depth, PF_TransferMode xfer, Rgba s, Rgba d, A_u_char opacity = 255,
                  A_u_short opacity_su = 32768) {
    World src(1, 1, depth);
    src.set(0, 0, s);
    World dst(1, 1, depth);
    dst.set(0, 0, d);
    Call call;
    call.comp = mode(xfer, opacity, opacity_su);
    EXPECT_EQ(call.run(src, dst), PF_Err_NONE);
    return dst.at(0, 0);
}

TEST_P(Transform, InFrontIsStraightAlphaOver) {
    const Depth d = GetParam();
    EXPECT_TRUE(near(compositeOne(d, PF_Xfer_IN_FRONT, {0.5f, 1, 0, 0.5f}, {1, 0, 1, 0.5f}), {1, 0.5f, 0.5f, 0.5f}, d));
    // out.a = 0.5 + 0.5 x 0.5 = 0.75; the source makes up two thirds of it.
    EXPECT_TRUE(
        near(compositeOne(d, PF_Xfer_IN_FRONT, {0.5f, 1, 0, 0}, {0.5f, 0, 0, 1}), {0.75f, 2.0f / 3, 0, 1.0f / 3}, d));
    // Onto transparency the source colour passes unchanged.
    EXPECT_TRUE(near(compositeOne(d, PF_Xfer_IN_FRONT, {0.25f, 0.5f, 1, 0}, {0, 1, 1, 1}), {0.25f, 0.5f, 1, 0}, d));
    // A transparent source leaves the destination as it was.
    EXPECT_TRUE(
        near(compositeOne(d, PF_Xfer_IN_FRONT, {0, 1, 1, 1}, {0.5f, 0.25f, 0, 0}), {0.5f, 0.25f, 0, 0}, d, 0.6f));
}

TEST_P(Transform, ScreenBrightensAnOpaqueDestination) {
    const Depth d = GetParam();
    // screen(0.5, 0.5) = 0.75, screen(0.5, 0) = 0.5, screen(0, 1) = 1
    EXPECT_TRUE(near(compositeOne(d, PF_Xfer_SCREEN, {1, 0.5f, 0.5f, 0}, {1, 0.5f, 0, 1}), {1, 0.75f, 0.5f, 1}, d));
    // Half source alpha goes half way from the destination to the screen.
    EXPECT_TRUE(
        near(compositeOne(d, PF_Xfer_SCREEN, {0.5f, 0.5f, 0.5f, 0}, {1, 0.5f, 0, 1}), {1, 0.625f, 0.25f, 1}, d));
}

TEST_P(Transform, ScreenOnTransparencyShowsTheSourceColour) {
    const Depth d = GetParam();
    EXPECT_TRUE(near(compositeOne(d, PF_Xfer_SCREEN, {1, 0.5f, 0, 0}, {0, 0, 0, 0}), {1, 0.5f, 0, 0}, d));
    EXPECT_TRUE(near(compositeOne(d, PF_Xfer_SCREEN, {0.5f, 0.5f, 0, 0}, {0, 1, 1, 1}), {0.5f, 0.5f, 0, 0}, d));
    // Half-transparent destination: half screen (0.75), half source (0.5).
    EXPECT_TRUE(near(compositeOne(d, PF_Xfer_SCREEN, {1, 0.5f, 0, 0}, {0.5f, 0.5f, 0, 0}), {1, 0.625f, 0, 0}, d));
}

TEST_P(Transform, OpacityComesFromOpacityIn8BitAndOpacitySuInDeeperWorlds) {
    const Depth d = GetParam();
    const Rgba s{1, 1, 1, 1};
    const Rgba clear{0, 0, 0, 0};
    if (d == Depth::k8) {
        EXPECT_TRUE(near(compositeOne(d, PF_Xfer_IN_FRONT, s, clear, 0, 32768), clear, d, 0));
        EXPECT_TRUE(near(compositeOne(d, PF_Xfer_IN_FRONT, s, clear, 51, 0), {0.2f, 1, 1, 1}, d));
    } else {
        EXPECT_TRUE(near(compositeOne(d, PF_Xfer_IN_FRONT, s, clear, 255, 0), clear, d, 0));
        EXPECT_TRUE(near(compositeOne(d, PF_Xfer_IN_FRONT, s, clear, 0, 8192), {0.25f, 1, 1, 1}, d));
    }
}

TEST_P(Transform, OnlyTheDestinationRectangleInsideTheBufferIsWritten) {
    World src(4, 4, GetParam());
    fillAll(src, Rgba{1, 1, 1, 1});
    World dst(4, 4, GetParam(), -10, 5);
    fillAll(dst, Rgba{1, 0, 0, 0});
    paintCanary(*dst.pf());
    const PF_Rect rect{1, -2, 3, 2};
    Call call;
    call.matrices = {translation(0.5, 0.25)};  // resampled path
    call.dest_rect = &rect;
    ASSERT_EQ(call.run(src, dst), PF_Err_NONE);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool inside = x >= 1 && x < 3 && y < 2;
            EXPECT_EQ(dst.at(x, y).r > 0.5f, inside) << x << "," << y;
        }
    EXPECT_TRUE(canaryIntact(*dst.pf()));

    World again(4, 4, GetParam());
    paintCanary(*again.pf());
    call.matrices = {translation(2, 2)};  // whole-pixel path
    ASSERT_EQ(call.run(src, again), PF_Err_NONE);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(again.at(x, y).a, 0.0f);  // the source lands below the rectangle
    const PF_Rect wide{-5, -5, 9, 9};
    call.dest_rect = &wide;
    ASSERT_EQ(call.run(src, again), PF_Err_NONE);
    EXPECT_EQ(again.at(3, 3).a, 1.0f);
    EXPECT_EQ(again.at(1, 3).a, 0.0f);
    EXPECT_TRUE(canaryIntact(*again.pf()));
}

TEST_P(Transform, RejectsWhatItDoesNotSupportAndWritesNothing) {
    const Depth d = GetParam();
    World src(2, 2, d);
    fillAll(src, Rgba{1, 1, 1, 1});
    World dst(2, 2, d);
    const auto untouched = [&] { return dst.at(0, 0).a == 0.0f && dst.at(1, 1).a == 0.0f; };
    const auto rejects = [&](Call call) { return call.run(src, dst) == PF_Err_BAD_CALLBACK_PARAM && untouched(); };

    Call ok;
    Call c = ok;
    c.quality = PF_Quality_DRAWING_AUDIO;
    EXPECT_TRUE(rejects(c));
    c = ok;
    c.flags = PF_MF_Alpha_PREMUL;
    EXPECT_TRUE(rejects(c));
    c = ok;
    c.field = 7;
    EXPECT_TRUE(rejects(c));
    c = ok;
    c.comp.xfer = PF_Xfer_MULTIPLY;
    EXPECT_TRUE(rejects(c));
    c = ok;
    c.comp.rgb_only = 1;
    EXPECT_TRUE(rejects(c));
    c = ok;
    c.comp.opacitySu = 40000;
    EXPECT_TRUE(rejects(c));
    PF_MaskWorld mask{};
    c = ok;
    c.mask = &mask;
    EXPECT_TRUE(rejects(c));
    c = ok;
    c.matrices = {translation(0, 0)};
    c.matrices[0].mat[0][0] = 0;  // collapses x
    EXPECT_TRUE(rejects(c));
    c = ok;
    c.matrices.clear();
    EXPECT_TRUE(rejects(c));
    const PF_Rect inverted{2, 0, 0, 2};
    c = ok;
    c.dest_rect = &inverted;
    EXPECT_TRUE(rejects(c));

    const PF_CompositeMode comp = mode(PF_Xfer_IN_FRONT);
    const PF_FloatMatrix m = translation(0, 0);
    EXPECT_EQ(minihost::transformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, src.pf(), nullptr, nullptr,
                                       &m, 1, 1, nullptr, dst.pf()),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(minihost::transformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, nullptr, &comp, nullptr, &m,
                                       1, 1, nullptr, dst.pf()),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(minihost::transformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, src.pf(), &comp, nullptr,
                                       &m, 1, 1, nullptr, nullptr),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(minihost::transformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, src.pf(), &comp, nullptr,
                                       nullptr, 1, 1, nullptr, dst.pf()),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(minihost::transformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, src.pf(), &comp, nullptr,
                                       &m, 1, 1, nullptr, src.pf()),
              PF_Err_BAD_CALLBACK_PARAM);
    World other(2, 2, d == Depth::k16 ? Depth::k8 : Depth::k16);
    EXPECT_EQ(minihost::transformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, src.pf(), &comp, nullptr,
                                       &m, 1, 1, nullptr, other.pf()),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(untouched());
    EXPECT_EQ(other.at(0, 0).a, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, Transform, ::testing::ValuesIn(kAllDepths), depthLabel);
