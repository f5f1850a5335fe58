// Worlds whose buffer does not start at the layer's origin, and an output
// whose extent_hint covers only part of it: every pixel lands at the same
// layer position as in a plain frame, and nothing is written outside the
// extent_hint.
#include <gtest/gtest.h>

#include "hostile_fixtures.h"

namespace reliability {
namespace {

using minihost::Depth;
using minihost::Frame;
using minihost::FrameRequest;
using minihost::Host;
using minihost::Rgba;

std::string depthTestName(const ::testing::TestParamInfo<Depth>& info) {
    return std::string("Bits") + minihost::depthName(info.param);
}

bool samePixel(const Rgba& a, const Rgba& b) { return a.a == b.a && a.r == b.r && a.g == b.g && a.b == b.b; }

// The world's pixel at layer (x, y); transparent outside the world.
Rgba atLayer(const minihost::World& w, int x, int y) {
    const int bx = x - w.pf()->origin_x;
    const int by = y - w.pf()->origin_y;
    if (bx < 0 || by < 0 || bx >= w.width() || by >= w.height()) {
        return {0, 0, 0, 0};
    }
    return w.at(bx, by);
}

// A round glyph: fractional box edges and anti-aliased rims.
minihost::Glyph roundGlyph(double cx, double cy, double radius) {
    minihost::Glyph g;
    g.contours = {minihost::circleContour(cx, cy, radius)};
    return g;
}

class HostileWorlds : public ::testing::TestWithParam<Depth> {
protected:
    void SetUp() override {
        host.config().depth = GetParam();
        ASSERT_EQ(host.setUp(), PF_Err_NONE);
        host.layer().setCompSize(200, 100);
        host.layer().setPosition(10, 10);
        host.layer().setGlyphs(
            {minihost::rectangleGlyph(0, 4, 20, 26), roundGlyph(40, 15, 9), minihost::rectangleGlyph(60, 4, 84, 26)});
        host.params().setValue(PARAM_CHARACTER_SIZE, 30);
        host.params().setValue(PARAM_BUFFER_EXPANSION, 3);
        reference = host.renderFrame();
        ASSERT_EQ(reference.render_err, PF_Err_NONE);
        ASSERT_TRUE(reference.output);
        ASSERT_EQ(reference.output->pf()->origin_x, 0);
    }
    void TearDown() override { EXPECT_TRUE(host.ledger().clean()) << host.ledger().report(); }

    // Every pixel of frame's output shows what the plain frame shows at the
    // same layer position.
    void expectSameLayerPicture(const Frame& frame) {
        ASSERT_EQ(frame.render_err, PF_Err_NONE);
        ASSERT_TRUE(frame.output);
        const minihost::World& out = *frame.output;
        int mismatches = 0;
        for (int y = 0; y < out.height(); ++y) {
            for (int x = 0; x < out.width(); ++x) {
                const int lx = x + out.pf()->origin_x;
                const int ly = y + out.pf()->origin_y;
                mismatches += samePixel(out.at(x, y), atLayer(*reference.output, lx, ly)) ? 0 : 1;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }

    Host host{QA_PLUGIN_PATH};
    Frame reference;
};

TEST_P(HostileWorlds, OutputAndInputWithPositiveOriginsShowTheSameLayerPicture) {
    FrameRequest request;
    request.rect = PF_LRect{30, 10, 190, 90};
    request.input_rect = PF_LRect{5, 2, 150, 70};
    expectSameLayerPicture(host.renderFrame(request));
}

TEST_P(HostileWorlds, AnOutputReachingLeftOfAndAboveTheLayerShowsTheSameLayerPicture) {
    FrameRequest request;
    request.rect = PF_LRect{-40, -20, 160, 80};
    const Frame frame = host.renderFrame(request);
    ASSERT_TRUE(frame.output);
    EXPECT_EQ(frame.output->pf()->origin_x, -40);
    expectSameLayerPicture(frame);
}

TEST_P(HostileWorlds, NothingIsWrittenOutsideTheExtentHintButTheClear) {
    FrameRequest request;
    request.rect = PF_LRect{20, 0, 200, 100};
    // Buffer pixels: layer x [40, 120), y [10, 30).
    const PF_Rect hint{20, 10, 100, 30};
    request.output_extent_hint = hint;
    request.output_fill = PF_Pixel{255, 90, 90, 90};
    const Frame frame = host.renderFrame(request);
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    ASSERT_TRUE(frame.output);
    const minihost::World& out = *frame.output;
    int inside_mismatches = 0, outside_drawn = 0, inside_drawn = 0;
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const Rgba px = out.at(x, y);
            if (x >= hint.left && x < hint.right && y >= hint.top && y < hint.bottom) {
                inside_mismatches += samePixel(px, atLayer(*reference.output, x + 20, y)) ? 0 : 1;
                inside_drawn += px.a != 0.0f ? 1 : 0;
            } else {
                // The whole output is cleared first; no character or guide
                // reaches past the hint.
                outside_drawn += px.a != 0.0f ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(inside_mismatches, 0);
    EXPECT_EQ(outside_drawn, 0);
    EXPECT_GT(inside_drawn, 0);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, HostileWorlds, ::testing::Values(Depth::k8, Depth::k16, Depth::k32), depthTestName);

}  // namespace
}  // namespace reliability
