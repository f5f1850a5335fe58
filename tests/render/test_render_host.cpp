// The smart render end to end through the stand-in host, in every depth:
// where characters land, guides, failures, origins. Every character moves by
// whole pixels (a fractional box edge is taken out of the move), so the host
// copies pixels unresampled and positions can be compared exactly.
#include <gtest/gtest.h>

#include <cstring>

#include "host_fixtures.h"

using namespace minihost;
using namespace render_test;

namespace {

// Red, green, blue, yellow, magenta at half intensity.
const PF_Pixel kGuide[5] = {
    {255, 128, 0, 0}, {255, 0, 128, 0}, {255, 0, 0, 128}, {255, 128, 128, 0}, {255, 128, 0, 128}};

std::string depthTestName(const ::testing::TestParamInfo<Depth>& param_info) {
    return std::string("Bits") + depthName(param_info.param);
}

class RenderEndToEnd : public ::testing::TestWithParam<Depth> {
protected:
    void SetUp() override {
        host.config().depth = GetParam();
        ASSERT_EQ(host.setUp(), PF_Err_NONE);
        host.layer().setCompSize(420, 120);
        host.layer().setPosition(100, 40);
        host.params().setValue(PARAM_ENABLE_GUIDE, 0);
    }
    void TearDown() override { EXPECT_TRUE(host.ledger().clean()) << host.ledger().report(); }

    // Three glyphs 20, 14.5 and 24 wide; at position (100, 40) they cover
    // x [100, 120), [130, 146), [160, 184). The second has fractional edges
    // (130.75 and 145.25), so its pixels are the columns from the floor of one
    // edge to the ceiling of the other, partly covered at both ends.
    void threeGlyphs() {
        host.layer().setGlyphs(
            {rectangleGlyph(0, 0, 20, 30), rectangleGlyph(30.75, 0, 45.25, 30), rectangleGlyph(60, 5, 84, 30)});
    }
    const std::vector<pixel_box> kThreeSources{{100, 40, 120, 70}, {130, 40, 146, 70}, {160, 45, 184, 70}};
    // Cells of 50 from x 100, each glyph centred: moved by 15, 37 and 53.
    const std::vector<pixel_box> kThreeLanded{{115, 40, 135, 70}, {167, 40, 183, 70}, {213, 45, 237, 70}};
    const std::vector<int> kThreeMoves{15, 37, 53};

    Host host{QA_PLUGIN_PATH};
};

TEST_P(RenderEndToEnd, EachCharacterLandsCentredInItsCellAndRowsStay) {
    threeGlyphs();
    const Frame frame = host.renderFrame();
    ASSERT_EQ(frame.pre_render_err, PF_Err_NONE);
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    ASSERT_TRUE(frame.input && frame.output);
    EXPECT_EQ(drawnBoxes(*frame.input), kThreeSources);
    EXPECT_EQ(drawnBoxes(*frame.output), kThreeLanded);
    for (std::size_t k = 0; k < 3; ++k) {
        expectMovedExactly(*frame.input, *frame.output, kThreeSources[k], kThreeMoves[k], 0);
    }
    // One character world per character, nothing else.
    EXPECT_EQ(host.ledger().last().worlds_created, 3);
}

TEST_P(RenderEndToEnd, NonZeroWorldOriginsChangeNothingInLayerSpace) {
    threeGlyphs();
    FrameRequest request;
    request.rect = PF_LRect{60, 20, 380, 110};
    request.input_rect = PF_LRect{90, 30, 300, 100};
    const Frame frame = host.renderFrame(request);
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    ASSERT_TRUE(frame.input && frame.output);
    ASSERT_EQ(originX(*frame.output), 60);
    ASSERT_EQ(originY(*frame.output), 20);
    ASSERT_EQ(originX(*frame.input), 90);
    ASSERT_EQ(originY(*frame.input), 30);
    EXPECT_EQ(drawnBoxes(*frame.output), kThreeLanded);
    for (std::size_t k = 0; k < 3; ++k) {
        expectMovedExactly(*frame.input, *frame.output, kThreeSources[k], kThreeMoves[k], 0);
    }
}

TEST_P(RenderEndToEnd, CenterAlignmentCentresTheRunOnThePosition) {
    threeGlyphs();
    host.layer().setPosition(200, 40);
    host.params().setValue(PARAM_TEXT_ALIGNMENT, ALIGN_CENTER);
    Frame frame = host.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    // Cells at 125, 175, 225; the glyphs sit at x 200, 230, 260 in the input.
    EXPECT_EQ(drawnBoxes(*frame.output),
              (std::vector<pixel_box>{{140, 40, 160, 70}, {192, 40, 208, 70}, {238, 45, 262, 70}}));

    // The centring adds up each position's own cell: 50 + 80 + 50, so the
    // cells begin at 110, 160 and 240.
    host.params().setValue(PARAM_PAIR1_INDEX, 2);
    host.params().setValue(PARAM_PAIR1_SIZE, 80);
    frame = host.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    EXPECT_EQ(drawnBoxes(*frame.output),
              (std::vector<pixel_box>{{125, 40, 145, 70}, {192, 40, 208, 70}, {253, 45, 277, 70}}));
}

TEST_P(RenderEndToEnd, VerticalModeMovesAlongYOnly) {
    host.layer().setCompSize(120, 300);
    host.layer().setPosition(40, 50);
    host.params().setValue(PARAM_TEXT_MODE, TEXT_MODE_VERTICAL);
    host.layer().setGlyphs({rectangleGlyph(0, 0, 20, 20), rectangleGlyph(4, 30, 16, 46)});
    Frame frame = host.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    // Cells of 50 from y 50: heights 20 and 16 centred, columns untouched.
    EXPECT_EQ(drawnBoxes(*frame.output, true), (std::vector<pixel_box>{{40, 65, 60, 85}, {44, 117, 56, 133}}));
    expectMovedExactly(*frame.input, *frame.output, {40, 50, 60, 70}, 0, 15);
    expectMovedExactly(*frame.input, *frame.output, {44, 80, 56, 96}, 0, 37);

    // An expansion of 3 puts 6 pixels between the cells and still moves
    // nothing across the axis.
    host.params().setValue(PARAM_BUFFER_EXPANSION, 3);
    frame = host.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    EXPECT_EQ(drawnBoxes(*frame.output, true), (std::vector<pixel_box>{{40, 65, 60, 85}, {44, 123, 56, 139}}));
    expectMovedExactly(*frame.input, *frame.output, {40, 50, 60, 70}, 0, 15);
    expectMovedExactly(*frame.input, *frame.output, {44, 80, 56, 96}, 0, 43);
    // Each guide runs from 3 before its cell to 3 after it, [47, 103) and
    // [103, 159), on the columns of its source rectangle: the glyph and twice
    // the expansion either side, x [34, 66) and [38, 62).
    host.params().setValue(PARAM_ENABLE_GUIDE, 1);
    frame = host.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    EXPECT_EQ(drawnBoxes(*frame.output, true), (std::vector<pixel_box>{{34, 47, 66, 159}}));
    expectColour(atLayer(*frame.output, 34, 102), kGuide[0], "first guide's last row");
    expectColour(atLayer(*frame.output, 38, 103), kGuide[1], "second guide's first row");
    EXPECT_EQ(atLayer(*frame.output, 37, 103).a, 0.0f);
}

TEST_P(RenderEndToEnd, NonTextLayerRendersTransparentWithoutError) {
    host.layer().setObjectType(AEGP_ObjectType_AV);
    host.layer().setSolidColor({255, 200, 10, 10});
    threeGlyphs();
    FrameRequest request;
    request.output_fill = PF_Pixel{255, 0, 255, 0};
    const Frame frame = host.renderFrame(request);
    EXPECT_EQ(frame.render_err, PF_Err_NONE);
    ASSERT_TRUE(frame.input && frame.output);
    EXPECT_FALSE(allTransparent(*frame.input));
    EXPECT_TRUE(allTransparent(*frame.output));
    // Nothing past the type check: no outlines, no worlds.
    EXPECT_EQ(host.ledger().last().outline_sets_obtained, 0);
    EXPECT_EQ(host.ledger().last().worlds_created, 0);
}

TEST_P(RenderEndToEnd, TextWithoutGlyphsRendersTransparent) {
    host.layer().setGlyphs({});
    FrameRequest request;
    request.output_fill = PF_Pixel{255, 0, 255, 0};
    const Frame frame = host.renderFrame(request);
    EXPECT_EQ(frame.render_err, PF_Err_NONE);
    EXPECT_TRUE(allTransparent(*frame.output));
}

TEST_P(RenderEndToEnd, GuidesCycleThroughFiveColours) {
    std::vector<Glyph> glyphs;
    for (int k = 0; k < 6; ++k) {
        glyphs.push_back(rectangleGlyph(40.0 * k, 0, 40.0 * k + 20, 30));
    }
    host.layer().setGlyphs(glyphs);
    host.params().setValue(PARAM_ENABLE_GUIDE, 1);
    const Frame frame = host.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    for (int k = 0; k < 6; ++k) {
        // Inside cell k, left of its glyph: only the guide shows there.
        const int x = 100 + 50 * k + 2;
        expectColour(atLayer(*frame.output, x, 55), kGuide[k % 5], "guide " + std::to_string(k));
        // The guide covers the source rectangle's rows and no more.
        EXPECT_EQ(atLayer(*frame.output, x, 39).a, 0.0f);
        EXPECT_EQ(atLayer(*frame.output, x, 70).a, 0.0f);
    }
    // Guides tile the run without gaps: the cells' union is one block.
    EXPECT_EQ(drawnBoxes(*frame.output), (std::vector<pixel_box>{{100, 40, 400, 70}}));

    // With an expansion of 2 each guide starts 2 before its cell and is 54
    // long; its rows are the glyph's and twice the expansion either side.
    host.params().setValue(PARAM_BUFFER_EXPANSION, 2);
    const Frame expanded = host.renderFrame();
    ASSERT_EQ(expanded.render_err, PF_Err_NONE);
    EXPECT_EQ(drawnBoxes(*expanded.output), (std::vector<pixel_box>{{98, 36, 420, 74}}));
    expectColour(atLayer(*expanded.output, 151, 55), kGuide[0], "first guide's last column");
    expectColour(atLayer(*expanded.output, 152, 55), kGuide[1], "second guide's first column");

    // Right alignment runs from the last character of the text: it gets red,
    // in the cell [50, 100), and the one before it green, in [0, 50).
    host.params().setValue(PARAM_BUFFER_EXPANSION, 0);
    host.params().setValue(PARAM_TEXT_ALIGNMENT, ALIGN_RIGHT);
    const Frame right = host.renderFrame();
    ASSERT_EQ(right.render_err, PF_Err_NONE);
    expectColour(atLayer(*right.output, 52, 55), kGuide[0], "last character's guide");
    expectColour(atLayer(*right.output, 2, 55), kGuide[1], "last but one character's guide");
}

TEST_P(RenderEndToEnd, GuideOffLeavesEveryCharacterPixelAsWithTheGuide) {
    threeGlyphs();
    const Frame off = host.renderFrame();
    host.params().setValue(PARAM_ENABLE_GUIDE, 1);
    const Frame on = host.renderFrame();
    ASSERT_EQ(off.render_err, PF_Err_NONE);
    ASSERT_EQ(on.render_err, PF_Err_NONE);
    // White glyphs stay white under a Screen-mode guide, so every opaque
    // character pixel is the same with and without it (up to the float
    // rounding of the screen in 32 bits).
    int character_pixels = 0;
    for (int y = 0; y < off.output->height(); ++y) {
        for (int x = 0; x < off.output->width(); ++x) {
            const Rgba px = off.output->at(x, y);
            if (px.a == 1.0f) {
                ++character_pixels;
                const Rgba guided = on.output->at(x, y);
                constexpr float kRounding = 1e-6f;
                EXPECT_EQ(guided.a, px.a) << x << ", " << y;
                EXPECT_NEAR(guided.r, px.r, kRounding) << x << ", " << y;
                EXPECT_NEAR(guided.g, px.g, kRounding) << x << ", " << y;
                EXPECT_NEAR(guided.b, px.b, kRounding) << x << ", " << y;
            }
        }
    }
    EXPECT_EQ(character_pixels, 20 * 30 + 14 * 30 + 24 * 25);
    EXPECT_EQ(drawnBoxes(*on.output), (std::vector<pixel_box>{{100, 40, 250, 70}}));
}

TEST_P(RenderEndToEnd, SkippedCharacterTakesNoRoomButUsesUpItsGuideColour) {
    // The second glyph crosses no pixel boundary: a source one pixel wide.
    // The fourth is two pixels square, just enough to be drawn.
    host.layer().setGlyphs({rectangleGlyph(0, 0, 20, 30), rectangleGlyph(30.2, 0, 30.7, 30),
                            rectangleGlyph(60, 0, 80, 30), rectangleGlyph(100, 0, 102, 2)});
    host.params().setValue(PARAM_ENABLE_GUIDE, 1);
    const Frame frame = host.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    expectColour(atLayer(*frame.output, 102, 55), kGuide[0], "first guide");
    expectColour(atLayer(*frame.output, 152, 55), kGuide[2], "third guide, in the second cell");
    expectColour(atLayer(*frame.output, 202, 41), kGuide[3], "fourth guide, in the third cell");
    EXPECT_EQ(drawnBoxes(*frame.output), (std::vector<pixel_box>{{100, 40, 250, 70}}));
}

TEST_P(RenderEndToEnd, LaterCharactersAndGuidesLieInFrontOfEarlierOnes) {
    // Tracking -20 pulls the second character 20 pixels into the first cell:
    // a red glyph at [105, 145) under a red guide [100, 150), then a blue
    // glyph at [135, 175) under a green guide [130, 180).
    host.layer().setGlyphs(
        {rectangleGlyph(0, 0, 40, 30, {255, 255, 0, 0}), rectangleGlyph(50, 0, 90, 30, {255, 0, 0, 255})});
    host.params().setValue(PARAM_TRACKING, -20);
    host.params().setValue(PARAM_ENABLE_GUIDE, 1);
    const Frame frame = host.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    const PF_Pixel red_under_green{255, 255, 128, 0};
    const PF_Pixel blue_under_green{255, 0, 128, 255};
    expectColour(atLayer(*frame.output, 132, 55), red_under_green, "first glyph under both guides");
    expectColour(atLayer(*frame.output, 140, 55), blue_under_green, "second glyph over the first");
    expectColour(atLayer(*frame.output, 147, 55), blue_under_green, "second glyph over the first guide");
}

TEST_P(RenderEndToEnd, WorldFailingPartWayKeepsEarlierCharacters) {
    threeGlyphs();
    host.faults().failNth("PF_NewWorld", 3, PF_Err_OUT_OF_MEMORY);
    // A check-in failing afterwards does not replace the render's error.
    host.faults().failNth("checkin_param", 7, PF_Err_INTERNAL_STRUCT_DAMAGED);
    const Frame frame = host.renderFrame();
    EXPECT_EQ(frame.render_err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(drawnBoxes(*frame.output), (std::vector<pixel_box>{kThreeLanded[0], kThreeLanded[1]}));
    EXPECT_EQ(host.faults().callCount("PF_NewWorld"), 3);
    EXPECT_EQ(host.faults().fired(), 2);
    EXPECT_EQ(host.ledger().last().params_checked_in, PARAM_NUM_PARAMS - 1);
}

TEST_P(RenderEndToEnd, GuideWorldFailingStopsTheRunAfterItsCharacter) {
    threeGlyphs();
    host.params().setValue(PARAM_ENABLE_GUIDE, 1);
    // Character 1, guide 1, character 2, then guide 2 fails.
    host.faults().failNth("PF_NewWorld", 4, PF_Err_OUT_OF_MEMORY);
    const Frame frame = host.renderFrame();
    EXPECT_EQ(frame.render_err, PF_Err_OUT_OF_MEMORY);
    // The first cell with its guide, the second character bare.
    EXPECT_EQ(drawnBoxes(*frame.output), (std::vector<pixel_box>{{100, 40, 150, 70}, kThreeLanded[1]}));
    EXPECT_EQ(host.ledger().last().worlds_created, 3);
}

INSTANTIATE_TEST_SUITE_P(Depths, RenderEndToEnd, ::testing::Values(Depth::k8, Depth::k16, Depth::k32), depthTestName);

}  // namespace
