// fill and copy: colour conversion per depth, rectangles, clipping, row
// padding left alone, rejected arguments.
#include "test_pixels_support.h"

#include <cstdint>

using namespace pixels_test;

namespace {

template <typename P>
P rawAt(const World& w, int x, int y) {
    P p;
    const auto bytes = rawPixel(*w.pf(), x, y);
    std::memcpy(&p, bytes.data(), sizeof p);
    return p;
}

}  // namespace

TEST(FillConversion, EightBitColourKeepsItsValues) {
    World w(2, 1, Depth::k8);
    const PF_Pixel c{255, 128, 1, 0};
    ASSERT_EQ(minihost::fillWorld(&c, nullptr, w.pf()), PF_Err_NONE);
    const auto p = rawAt<PF_Pixel8>(w, 1, 0);
    EXPECT_EQ(p.alpha, 255);
    EXPECT_EQ(p.red, 128);
    EXPECT_EQ(p.green, 1);
    EXPECT_EQ(p.blue, 0);
}

TEST(FillConversion, SixteenBitScalesTo32768AndRounds) {
    World w(2, 1, Depth::k16);
    const PF_Pixel c{255, 128, 1, 0};
    ASSERT_EQ(minihost::fillWorld(&c, nullptr, w.pf()), PF_Err_NONE);
    const auto p = rawAt<PF_Pixel16>(w, 0, 0);
    EXPECT_EQ(p.alpha, 32768);
    EXPECT_EQ(p.red, 16448);  // 16448.25
    EXPECT_EQ(p.green, 129);  // 128.50196
    EXPECT_EQ(p.blue, 0);
}

TEST(FillConversion, FloatDividesBy255) {
    World w(2, 1, Depth::k32);
    const PF_Pixel c{255, 128, 1, 0};
    ASSERT_EQ(minihost::fillWorld(&c, nullptr, w.pf()), PF_Err_NONE);
    const auto p = rawAt<PF_PixelFloat>(w, 1, 0);
    EXPECT_EQ(p.alpha, 1.0f);
    EXPECT_FLOAT_EQ(p.red, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(p.green, 1.0f / 255.0f);
    EXPECT_EQ(p.blue, 0.0f);
}

class FillRect : public ::testing::TestWithParam<Depth> {};

TEST_P(FillRect, NullColourClearsToTransparentBlack) {
    World w = patterned(GetParam());
    ASSERT_EQ(minihost::fillWorld(nullptr, nullptr, w.pf()), PF_Err_NONE);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_TRUE(near(w.at(x, y), Rgba{0, 0, 0, 0}, GetParam(), 0));
    EXPECT_TRUE(canaryIntact(*w.pf()));
}

TEST_P(FillRect, RectangleIsClippedToTheBufferAndPaddingSurvives) {
    World w(4, 4, GetParam(), 100, 200);  // origins play no part
    paintCanary(*w.pf());
    const PF_Pixel white{255, 255, 255, 255};
    const PF_Rect r{2, -3, 9, 2};
    ASSERT_EQ(minihost::fillWorld(&white, &r, w.pf()), PF_Err_NONE);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool inside = x >= 2 && y < 2;
            EXPECT_EQ(w.at(x, y).a, inside ? 1.0f : 0.0f) << x << "," << y;
        }
    EXPECT_TRUE(canaryIntact(*w.pf()));
}

TEST_P(FillRect, EmptyOrOutsideRectangleWritesNothing) {
    World w(4, 4, GetParam());
    const PF_Pixel white{255, 255, 255, 255};
    const PF_Rect empty{1, 1, 1, 3};
    const PF_Rect outside{5, 5, 8, 8};
    EXPECT_EQ(minihost::fillWorld(&white, &empty, w.pf()), PF_Err_NONE);
    EXPECT_EQ(minihost::fillWorld(&white, &outside, w.pf()), PF_Err_NONE);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(w.at(x, y).a, 0.0f);
}

TEST_P(FillRect, RejectsNullWorldInvertedRectangleAndUnknownFormat) {
    World w(4, 4, GetParam());
    const PF_Pixel white{255, 255, 255, 255};
    EXPECT_EQ(minihost::fillWorld(&white, nullptr, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    const PF_Rect inverted{3, 0, 1, 4};
    EXPECT_EQ(minihost::fillWorld(&white, &inverted, w.pf()), PF_Err_BAD_CALLBACK_PARAM);
    PF_EffectWorld bad = *w.pf();
    bad.reserved_long1 = 0;
    EXPECT_EQ(minihost::fillWorld(&white, nullptr, &bad), PF_Err_BAD_CALLBACK_PARAM);
    bad = *w.pf();
    bad.data = nullptr;
    EXPECT_EQ(minihost::fillWorld(&white, nullptr, &bad), PF_Err_BAD_CALLBACK_PARAM);
    bad = *w.pf();
    bad.rowbytes = 4;  // shorter than a row
    EXPECT_EQ(minihost::fillWorld(&white, nullptr, &bad), PF_Err_BAD_CALLBACK_PARAM);
    bad = *w.pf();
    bad.height = -1;
    EXPECT_EQ(minihost::fillWorld(&white, nullptr, &bad), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(w.at(0, 0).a, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, FillRect, ::testing::ValuesIn(kAllDepths), depthLabel);

class CopyRect : public ::testing::TestWithParam<Depth> {};

TEST_P(CopyRect, WholeWorldsCopyBitExactly) {
    World src = patterned(GetParam());
    World dst(4, 4, GetParam());
    paintCanary(*dst.pf());
    ASSERT_EQ(minihost::copyWorld(src.pf(), dst.pf(), nullptr, nullptr), PF_Err_NONE);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(rawPixel(*dst.pf(), x, y), rawPixel(*src.pf(), x, y));
    EXPECT_TRUE(canaryIntact(*dst.pf()));
}

TEST_P(CopyRect, SourceRectangleLeavingTheSourceGivesTransparentBlack) {
    World src = patterned(GetParam());
    World dst(4, 4, GetParam());
    fillAll(dst, Rgba{1, 1, 1, 1});  // every pixel is written, also the transparent ones
    paintCanary(*dst.pf());
    const PF_Rect src_r{-1, 2, 3, 6};  // 4 x 4, one column left of and two rows below the source
    ASSERT_EQ(minihost::copyWorld(src.pf(), dst.pf(), &src_r, nullptr), PF_Err_NONE);
    const std::vector<unsigned char> clear(static_cast<std::size_t>(minihost::pixelBytes(GetParam())), 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const int sx = x - 1, sy = y + 2;
            if (sx >= 0 && sy < 4)
                EXPECT_EQ(rawPixel(*dst.pf(), x, y), rawPixel(*src.pf(), sx, sy)) << x << "," << y;
            else
                EXPECT_EQ(rawPixel(*dst.pf(), x, y), clear) << x << "," << y;
        }
    EXPECT_TRUE(canaryIntact(*dst.pf()));
    EXPECT_TRUE(canaryIntact(*src.pf()));
}

TEST_P(CopyRect, SourceRectangleWhollyOutsideClearsTheTarget) {
    World src = patterned(GetParam());
    World dst(2, 2, GetParam());
    fillAll(dst, Rgba{1, 1, 1, 1});
    const PF_Rect src_r{10, 10, 12, 12};
    ASSERT_EQ(minihost::copyWorld(src.pf(), dst.pf(), &src_r, nullptr), PF_Err_NONE);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_TRUE(near(dst.at(x, y), Rgba{0, 0, 0, 0}, GetParam(), 0));
}

TEST_P(CopyRect, DestinationRectangleIsClippedToTheDestination) {
    World src = patterned(GetParam());
    World dst(3, 3, GetParam());
    paintCanary(*dst.pf());
    const PF_Rect src_r{0, 0, 4, 4};
    const PF_Rect dst_r{1, -1, 5, 3};
    ASSERT_EQ(minihost::copyWorld(src.pf(), dst.pf(), &src_r, &dst_r), PF_Err_NONE);
    EXPECT_EQ(rawPixel(*dst.pf(), 1, 0), rawPixel(*src.pf(), 0, 1));
    EXPECT_EQ(rawPixel(*dst.pf(), 2, 2), rawPixel(*src.pf(), 1, 3));
    EXPECT_EQ(dst.at(0, 0).a, 0.0f);
    EXPECT_TRUE(canaryIntact(*dst.pf()));
}

TEST_P(CopyRect, OverlappingRectanglesInOneWorldCopyAsIfReadFirst) {
    World w = patterned(GetParam());
    World original = patterned(GetParam());
    const PF_Rect src_r{0, 0, 3, 4};
    const PF_Rect dst_r{1, 0, 4, 4};
    ASSERT_EQ(minihost::copyWorld(w.pf(), w.pf(), &src_r, &dst_r), PF_Err_NONE);
    for (int y = 0; y < 4; ++y)
        for (int x = 1; x < 4; ++x) EXPECT_EQ(rawPixel(*w.pf(), x, y), rawPixel(*original.pf(), x - 1, y));
}

TEST_P(CopyRect, RejectsMismatchedSizesAndCopiesNothing) {
    World src = patterned(GetParam());
    World dst(4, 4, GetParam());
    const PF_Rect src_r{0, 0, 2, 2};
    const PF_Rect dst_r{0, 0, 3, 2};
    EXPECT_EQ(minihost::copyWorld(src.pf(), dst.pf(), &src_r, &dst_r), PF_Err_BAD_CALLBACK_PARAM);
    World small(3, 4, GetParam());
    EXPECT_EQ(minihost::copyWorld(src.pf(), small.pf(), nullptr, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(minihost::copyWorld(src.pf(), dst.pf(), &src_r, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.at(x, y).a, 0.0f);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(small.at(x, y).a, 0.0f);
}

TEST_P(CopyRect, RejectsNullWorldsInvertedRectanglesAndMixedDepths) {
    World src = patterned(GetParam());
    World dst(4, 4, GetParam());
    EXPECT_EQ(minihost::copyWorld(nullptr, dst.pf(), nullptr, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(minihost::copyWorld(src.pf(), nullptr, nullptr, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    const PF_Rect inverted{2, 2, 0, 0};
    EXPECT_EQ(minihost::copyWorld(src.pf(), dst.pf(), &inverted, &inverted), PF_Err_BAD_CALLBACK_PARAM);
    const Depth other = GetParam() == Depth::k8 ? Depth::k32 : Depth::k8;
    World mixed(4, 4, other);
    EXPECT_EQ(minihost::copyWorld(src.pf(), mixed.pf(), nullptr, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(mixed.at(0, 0).a, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, CopyRect, ::testing::ValuesIn(kAllDepths), depthLabel);
