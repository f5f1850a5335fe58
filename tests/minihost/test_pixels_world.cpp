// Worlds: layout, flags, ownership, per-pixel access and rejected sizes.
#include "test_pixels_support.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>

using namespace pixels_test;

class WorldLayout : public ::testing::TestWithParam<Depth> {};

TEST_P(WorldLayout, HasPaddedRowsFlagsFormatAndClearedPixels) {
    const Depth depth = GetParam();
    World w(5, 3, depth, 7, -2);
    const PF_EffectWorld& pf = *w.pf();
    const int row = 5 * minihost::pixelBytes(depth);
    EXPECT_GE(pf.rowbytes, row + 64);
    EXPECT_EQ(pf.rowbytes % 16, 0);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pf.data) % 64, 0u);
    EXPECT_EQ(pf.width, 5);
    EXPECT_EQ(pf.height, 3);
    EXPECT_EQ(pf.origin_x, 7);
    EXPECT_EQ(pf.origin_y, -2);
    EXPECT_EQ(pf.extent_hint.left, 0);
    EXPECT_EQ(pf.extent_hint.top, 0);
    EXPECT_EQ(pf.extent_hint.right, 5);
    EXPECT_EQ(pf.extent_hint.bottom, 3);
    EXPECT_EQ(static_cast<PF_PixelFormat>(pf.reserved_long1), minihost::pixelFormatOf(depth));
    EXPECT_TRUE(pf.world_flags & PF_WorldFlag_WRITEABLE);
    EXPECT_EQ((pf.world_flags & PF_WorldFlag_DEEP) != 0, depth != Depth::k8);
    EXPECT_EQ(minihost::depthOf(pf), depth);
    const auto* bytes = reinterpret_cast<const unsigned char*>(pf.data);
    for (int i = 0; i < pf.rowbytes * pf.height; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;

    // Memory of a freed world comes back for the next world of its size,
    // cleared again.
    const void* reused = nullptr;
    for (int round = 0; round < 2; ++round) {
        World small(5, 3, depth, 0, 0);
        auto* data = reinterpret_cast<unsigned char*>(small.pf()->data);
        for (int i = 0; i < pf.rowbytes * pf.height; ++i) ASSERT_EQ(data[i], 0) << "round " << round << ", byte " << i;
        if (round == 1) {
            EXPECT_EQ(data, reused);
        }
        reused = data;
        std::memset(data, 0xA5, static_cast<std::size_t>(pf.rowbytes * pf.height));
    }
}

TEST_P(WorldLayout, SetAndAtRoundTripAtTheDepthsPrecision) {
    const Depth depth = GetParam();
    World w(2, 2, depth);
    w.set(1, 1, Rgba{0.5f, 0.25f, 1.0f, 0.0f});
    EXPECT_TRUE(near(w.at(1, 1), Rgba{0.5f, 0.25f, 1.0f, 0.0f}, depth, 0.6f));
    EXPECT_TRUE(near(w.at(0, 1), Rgba{0, 0, 0, 0}, depth, 0.0f));
    // Row 1 starts rowbytes after row 0, not width pixels after it.
    w.set(0, 1, Rgba{1, 1, 1, 1});
    const auto* bytes = reinterpret_cast<const unsigned char*>(w.pf()->data);
    const int size = minihost::pixelBytes(depth);
    int sum = 0;
    for (int i = 0; i < size; ++i) sum += bytes[w.rowBytes() + i];
    EXPECT_GT(sum, 0);
    for (int i = 0; i < size; ++i) EXPECT_EQ(bytes[2 * size + i], 0);
}

TEST_P(WorldLayout, EightAndSixteenBitChannelsClampOutOfRangeValues) {
    const Depth depth = GetParam();
    World w(1, 1, depth);
    w.set(0, 0, Rgba{1.5f, -0.5f, 2.0f, 0.5f});
    const Rgba c = w.at(0, 0);
    if (depth == Depth::k32) {
        EXPECT_EQ(c.a, 1.5f);
        EXPECT_EQ(c.r, -0.5f);
    } else {
        EXPECT_EQ(c.a, 1.0f);
        EXPECT_EQ(c.r, 0.0f);
        EXPECT_EQ(c.g, 1.0f);
    }
}

TEST_P(WorldLayout, AllocateAndFreeAPlugInOwnedStruct) {
    const Depth depth = GetParam();
    PF_EffectWorld pf{};
    ASSERT_EQ(minihost::allocateWorld(pf, 3, 4, depth), PF_Err_NONE);
    EXPECT_NE(pf.data, nullptr);
    EXPECT_EQ(minihost::depthOf(pf), depth);
    EXPECT_EQ(pf.rowbytes, minihost::paddedRowBytes(3, depth));
    minihost::freeWorld(pf);
    EXPECT_EQ(pf.data, nullptr);
    EXPECT_EQ(pf.width, 0);
    minihost::freeWorld(pf);  // a zeroed struct is left alone
}

TEST_P(WorldLayout, EmptyWorldsStillHaveABuffer) {
    World w(0, 0, GetParam());
    EXPECT_NE(w.pf()->data, nullptr);
    EXPECT_EQ(w.width(), 0);
}

TEST_P(WorldLayout, MoveLeavesTheSourceEmpty) {
    World a(2, 2, GetParam());
    a.set(1, 0, Rgba{1, 1, 0, 0});
    World b(std::move(a));
    EXPECT_EQ(a.pf()->data, nullptr);
    EXPECT_TRUE(near(b.at(1, 0), Rgba{1, 1, 0, 0}, GetParam(), 0));
    World c(1, 1, Depth::k8);
    c = std::move(b);
    EXPECT_EQ(c.width(), 2);
    EXPECT_EQ(c.depth(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, WorldLayout, ::testing::ValuesIn(kAllDepths), depthLabel);

TEST(WorldRejects, NegativeAndOversizedSizes) {
    PF_EffectWorld pf{};
    pf.width = 99;
    EXPECT_EQ(minihost::allocateWorld(pf, -1, 4, Depth::k8), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(pf.data, nullptr);
    EXPECT_EQ(pf.width, 0);
    EXPECT_EQ(minihost::allocateWorld(pf, 4, -1, Depth::k16), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(minihost::allocateWorld(pf, minihost::kMaxWorldSide + 1, 1, Depth::k32), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(pf.data, nullptr);
    EXPECT_THROW(World(-1, 1, Depth::k8), std::invalid_argument);
    EXPECT_THROW(World(1, minihost::kMaxWorldSide + 1, Depth::k8), std::invalid_argument);
}

TEST(WorldRejects, PixelAccessOutsideTheBufferOrWithoutAFormat) {
    World w(2, 2, Depth::k8);
    EXPECT_THROW(w.at(2, 0), std::out_of_range);
    EXPECT_THROW(w.at(0, -1), std::out_of_range);
    EXPECT_THROW(w.set(-1, 0, Rgba{}), std::out_of_range);
    PF_EffectWorld unknown = *w.pf();
    unknown.reserved_long1 = 0;
    EXPECT_THROW(minihost::readPixel(unknown, 0, 0), std::invalid_argument);
    EXPECT_THROW(minihost::depthOf(unknown), std::invalid_argument);
}

TEST(PixelFormats, CodesMapBothWays) {
    for (Depth d : kAllDepths) EXPECT_EQ(minihost::depthFromFormat(minihost::pixelFormatOf(d)), d);
    EXPECT_EQ(minihost::pixelFormatOf(Depth::k8), PF_PixelFormat_ARGB32);
    EXPECT_EQ(minihost::pixelFormatOf(Depth::k16), PF_PixelFormat_ARGB64);
    EXPECT_EQ(minihost::pixelFormatOf(Depth::k32), PF_PixelFormat_ARGB128);
    EXPECT_FALSE(minihost::depthFromFormat(PF_PixelFormat_INVALID).has_value());
}
