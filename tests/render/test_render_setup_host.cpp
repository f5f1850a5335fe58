// Through the stand-in host: how the render reads the layer and scales to the
// render, the pre-render's extent, checkouts and a missing world suite.
#include <gtest/gtest.h>

#include <cstring>

#include "AE_EffectCBSuites.h"
#include "host_fixtures.h"

using namespace minihost;
using namespace render_test;

namespace {

class RenderSetupThroughHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(host.setUp(), PF_Err_NONE);
        host.layer().setCompSize(420, 120);
        host.layer().setPosition(100, 40);
        host.params().setValue(PARAM_ENABLE_GUIDE, 0);
    }
    void TearDown() override { EXPECT_TRUE(host.ledger().clean()) << host.ledger().report(); }

    std::vector<pixel_box> render(const FrameRequest& request = {}) {
        const Frame frame = host.renderFrame(request);
        EXPECT_EQ(frame.render_err, PF_Err_NONE);
        return frame.output ? drawnBoxes(*frame.output) : std::vector<pixel_box>{};
    }

    Host host{QA_PLUGIN_PATH};
};

TEST_F(RenderSetupThroughHost, HalfResolutionTruncatesSizesAfterScaling) {
    host.config().downsample_x = {1, 2};
    host.config().downsample_y = {1, 2};
    host.params().setValue(PARAM_CHARACTER_SIZE, 51);   // 25.5 -> 25
    host.params().setValue(PARAM_BUFFER_EXPANSION, 3);  // 1.5 -> 1
    // At half resolution x [50, 61) and [70, 81); start 50, advance 27.
    host.layer().setGlyphs({rectangleGlyph(0, 0, 22, 30), rectangleGlyph(40, 0, 62, 30)});
    EXPECT_EQ(render(), (std::vector<pixel_box>{{57, 20, 68, 35}, {84, 20, 95, 35}}));
}

TEST_F(RenderSetupThroughHost, TwoHundredPercentAtHalfResolutionKeepsTheCellSize) {
    host.config().downsample_x = {1, 2};
    host.config().downsample_y = {1, 2};
    host.layer().setScale(200, 200);
    host.params().setValue(PARAM_BUFFER_EXPANSION, 3);  // 1.5 -> 1, no layer scale
    // Glyphs 10 render pixels wide; cells 50, advance 52, start 50.
    host.layer().setGlyphs({rectangleGlyph(0, 0, 10, 10), rectangleGlyph(20, 0, 30, 10)});
    EXPECT_EQ(render(), (std::vector<pixel_box>{{70, 20, 80, 30}, {122, 20, 132, 30}}));
}

TEST_F(RenderSetupThroughHost, FiftyPercentHalvesSizesAndTrackingButNotTheExpansion) {
    host.layer().setScale(50, 50);
    host.params().setValue(PARAM_CHARACTER_SIZE, 60);   // cell 30
    host.params().setValue(PARAM_TRACKING, 10);         // step 5
    host.params().setValue(PARAM_BUFFER_EXPANSION, 4);  // 4 at any layer scale
    host.layer().setGlyphs({rectangleGlyph(0, 0, 40, 40), rectangleGlyph(60, 0, 100, 40)});
    // Advance 38; the second character moves one tracking step.
    EXPECT_EQ(render(), (std::vector<pixel_box>{{105, 40, 125, 60}, {148, 40, 168, 60}}));
}

TEST_F(RenderSetupThroughHost, FlippedLayerSkipsEveryCharacter) {
    host.layer().setScale(-100, 100);
    host.layer().setGlyphs({rectangleGlyph(0, 0, 20, 30), rectangleGlyph(30, 0, 50, 30)});
    const Frame frame = host.renderFrame();
    EXPECT_EQ(frame.render_err, PF_Err_NONE);
    EXPECT_FALSE(allTransparent(*frame.input));
    EXPECT_TRUE(allTransparent(*frame.output));
    EXPECT_EQ(host.ledger().last().worlds_created, 0);
}

// An anchor point and a parent move the glyphs by -10 + 30 in x.
class PositionSource : public RenderSetupThroughHost {
protected:
    void SetUp() override {
        RenderSetupThroughHost::SetUp();
        host.layer().setAnchor(10, 0);
        LayerTransform parent;
        parent.position.set(30, 0);
        host.layer().setParent(parent);
        host.layer().setGlyphs({rectangleGlyph(0, 0, 20, 30)});  // at x [120, 140)
    }
};

TEST_F(PositionSource, BeforeMinorVersion15TheLayersOwnPositionCounts) {
    host.config().api_minor = 14;
    EXPECT_EQ(render(), (std::vector<pixel_box>{{115, 40, 135, 70}}));
    EXPECT_EQ(host.ledger().last().callCount("AEGP_GetLayerStreamValue"), 2);
    EXPECT_EQ(host.ledger().last().callCount("AEGP_GetLayerToWorldXform"), 0);
}

TEST_F(PositionSource, FromMinorVersion15ParentAndAnchorEnter) {
    host.config().api_minor = 15;
    EXPECT_EQ(render(), (std::vector<pixel_box>{{135, 40, 155, 70}}));
    EXPECT_EQ(host.ledger().last().callCount("AEGP_GetLayerStreamValue"), 0);
    EXPECT_EQ(host.ledger().last().callCount("AEGP_MatrixDecompose4"), 1);
    // The capture gives its two suites back as it ends; then the world suite
    // goes back before the render's cache gives back its five.
    const std::vector<std::string> releases = host.ledger().last().release_order;
    ASSERT_EQ(releases.size(), 8u);
    EXPECT_EQ(releases[2], suiteKey(kPFWorldSuite, kPFWorldSuiteVersion2));
}

TEST_F(PositionSource, BeforeMinorVersion15TheScaleStreamIsPercent) {
    host.config().api_minor = 14;
    host.layer().setAnchor(0, 0);
    host.layer().setParent(std::nullopt);
    host.layer().setScale(50, 100);
    host.params().setValue(PARAM_CHARACTER_SIZE, 60);        // cell 30
    host.layer().setGlyphs({rectangleGlyph(0, 0, 40, 30)});  // x [100, 120)
    EXPECT_EQ(render(), (std::vector<pixel_box>{{105, 40, 125, 70}}));
}

TEST_F(RenderSetupThroughHost, FailingPixelFormatOrTransformQueryLeavesTheOutputTransparent) {
    host.layer().setGlyphs({rectangleGlyph(0, 0, 20, 30)});
    // The output is cleared before the first query that can fail.
    for (const char* function : {"PF_GetPixelFormat", "AEGP_GetLayerToWorldXform"}) {
        host.faults().reset();
        host.faults().failNth(function, 1, A_Err_GENERIC);
        FrameRequest request;
        request.output_fill = PF_Pixel{255, 0, 255, 0};
        const Frame frame = host.renderFrame(request);
        EXPECT_EQ(frame.render_err, A_Err_GENERIC) << function;
        EXPECT_TRUE(allTransparent(*frame.output)) << function;
    }
}

TEST_F(RenderSetupThroughHost, LaterFrameOfAnOffsetLayerReadsEverythingAtItsOwnTime) {
    // Layer second 1 of a layer that starts at comp second 2. Position 100 and
    // "Character Size" 50 hold only at layer second 1: the layer's matrix is
    // asked at comp second 3, its streams in layer time, the parameters and
    // the outlines at the frame's own time.
    host.config().current_time = 24;  // time scale 24
    host.layer().setTimeOffset(2);
    host.layer().transform().position.setKeyframes({{0, 40, 40}, {1, 100, 40}, {3, 160, 40}});
    host.params().setKeyframes(PARAM_CHARACTER_SIZE, {{0, 30}, {1, 50}, {3, 70}});
    host.layer().setGlyphs({rectangleGlyph(0, 0, 20, 30), rectangleGlyph(30, 0, 46, 30)});
    for (const int minor : {14, 28}) {  // the layer's streams, then its matrix
        SCOPED_TRACE(minor);
        host.config().api_minor = static_cast<A_short>(minor);
        const Frame frame = host.renderFrame();
        ASSERT_EQ(frame.render_err, PF_Err_NONE);
        EXPECT_EQ(drawnBoxes(*frame.input), (std::vector<pixel_box>{{100, 40, 120, 70}, {130, 40, 146, 70}}));
        EXPECT_EQ(drawnBoxes(*frame.output), (std::vector<pixel_box>{{115, 40, 135, 70}, {167, 40, 183, 70}}));
        expectMovedExactly(*frame.input, *frame.output, {100, 40, 120, 70}, 15, 0);
        expectMovedExactly(*frame.input, *frame.output, {130, 40, 146, 70}, 37, 0);
    }
}

TEST_F(RenderSetupThroughHost, PreRenderDeclaresTheRequestWhateverTheExpansion) {
    FrameRequest request;
    request.rect = PF_LRect{10, 20, 110, 90};
    for (double expansion : {0.0, 50.0}) {
        host.params().setValue(PARAM_BUFFER_EXPANSION, expansion);
        const Frame frame = host.renderFrame(request);
        EXPECT_EQ(frame.pre_render_err, PF_Err_NONE);
        EXPECT_EQ(frame.pre.result_rect.left, 10);
        EXPECT_EQ(frame.pre.result_rect.top, 20);
        EXPECT_EQ(frame.pre.result_rect.right, 110);
        EXPECT_EQ(frame.pre.result_rect.bottom, 90);
        EXPECT_EQ(std::memcmp(&frame.pre.result_rect, &frame.pre.max_result_rect, sizeof(PF_LRect)), 0);
        EXPECT_EQ(frame.pre.flags, PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS);
        EXPECT_EQ(frame.pre.pre_render_data, nullptr);
        ASSERT_TRUE(frame.output);
        EXPECT_EQ(frame.output->width(), 100);
        EXPECT_EQ(frame.output->height(), 70);
    }
}

TEST_F(RenderSetupThroughHost, PreRenderWithAFailingCheckoutStillDeclaresTheExtent) {
    host.faults().failNth("checkout_layer", 1, PF_Err_OUT_OF_MEMORY);
    FrameRequest request;
    request.rect = PF_LRect{10, 20, 110, 90};
    const Frame frame = host.renderFrame(request);
    EXPECT_EQ(frame.pre_render_err, PF_Err_OUT_OF_MEMORY);
    EXPECT_FALSE(frame.rendered);
    EXPECT_EQ(frame.pre.result_rect.right, 110);
    EXPECT_EQ(frame.pre.max_result_rect.bottom, 90);
    EXPECT_EQ(frame.pre.flags, PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS);
}

TEST_F(RenderSetupThroughHost, MissingWorldSuiteShowsTheMessageAndLeavesTheOutput) {
    host.layer().setGlyphs({rectangleGlyph(0, 0, 20, 30)});
    host.faults().missingSuite(kPFWorldSuite, kPFWorldSuiteVersion2);
    FrameRequest request;
    request.output_fill = PF_Pixel{255, 0, 255, 0};
    const Frame frame = host.renderFrame(request);
    EXPECT_EQ(frame.render_err, A_Err_MISSING_SUITE);
    EXPECT_NE(frame.out_data.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);
    EXPECT_STREQ(frame.out_data.return_msg, "Not able to acquire AEFX Suite.");
    // Not cleared: every pixel still holds what the host put there.
    EXPECT_EQ(drawnBoxes(*frame.output), (std::vector<pixel_box>{{0, 0, 420, 120}}));
    EXPECT_EQ(frame.output->at(5, 5).g, 1.0f);
    // The parameters went back although the render ended by an exception.
    EXPECT_EQ(host.ledger().last().params_checked_out, PARAM_NUM_PARAMS - 1);
    EXPECT_EQ(host.ledger().last().params_checked_in, PARAM_NUM_PARAMS - 1);
}

TEST_F(RenderSetupThroughHost, MissingLayerSuiteEndsTheRenderWithItsError) {
    host.layer().setGlyphs({rectangleGlyph(0, 0, 20, 30)});
    host.faults().missingSuite(kAEGPLayerSuite, kAEGPLayerSuiteVersion5);
    const Frame frame = host.renderFrame();
    EXPECT_EQ(frame.render_err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.ledger().last().params_checked_in, PARAM_NUM_PARAMS - 1);
}

TEST_F(RenderSetupThroughHost, FailingCheckoutsAndCheckInsAnswerTheFirstErrorAndCheckInEveryOneCheckedOut) {
    host.layer().setGlyphs({rectangleGlyph(0, 0, 20, 30)});
    for (int n : {1, 2, 17, PARAM_NUM_PARAMS - 1}) {
        host.faults().reset();
        host.faults().failNth("checkout_param", n, PF_Err_OUT_OF_MEMORY);
        FrameRequest request;
        request.output_fill = PF_Pixel{255, 0, 255, 0};
        const Frame frame = host.renderFrame(request);
        EXPECT_EQ(frame.render_err, PF_Err_OUT_OF_MEMORY) << n;
        EXPECT_EQ(host.faults().callCount("checkout_param"), n);
        EXPECT_EQ(host.ledger().last().params_checked_out, n - 1);
        EXPECT_EQ(host.ledger().last().params_checked_in, n - 1);
        // No render: the output is as the host handed it over.
        EXPECT_EQ(frame.output->at(5, 5).g, 1.0f) << n;
    }

    // Several failures in one frame: the first one is answered, a failing
    // check-in replaces no earlier error, and every definition checked out
    // goes back.
    constexpr PF_Err kFirst = 4201, kSecond = 4202;
    struct Case {
        const char* first_function;
        int first_n;
        int checkin_n;  // the check-in that fails with kSecond
        int checked_out;
    };
    const Case cases[] = {{"checkout_param", 5, 2, 4}, {"checkin_param", 3, 10, PARAM_NUM_PARAMS - 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first_function);
        host.faults().reset();
        host.faults().failNth(c.first_function, c.first_n, kFirst);
        host.faults().failNth("checkin_param", c.checkin_n, kSecond);
        const Frame frame = host.renderFrame();
        EXPECT_EQ(frame.render_err, kFirst);
        EXPECT_EQ(host.faults().fired(), 2);
        EXPECT_EQ(host.ledger().last().params_checked_out, c.checked_out);
        EXPECT_EQ(host.ledger().last().params_checked_in, c.checked_out);
    }
}

TEST_F(RenderSetupThroughHost, FailingWorldCheckoutsCheckOutNoParameter) {
    for (const char* function : {"checkout_layer_pixels", "checkout_output"}) {
        host.faults().reset();
        host.faults().failNth(function, 1, PF_Err_OUT_OF_MEMORY);
        const Frame frame = host.renderFrame();
        EXPECT_EQ(frame.render_err, PF_Err_OUT_OF_MEMORY) << function;
        EXPECT_EQ(host.faults().callCount("checkout_param"), 0) << function;
        // The output is not asked for once the input failed.
        EXPECT_EQ(host.faults().callCount("checkout_output"), std::strcmp(function, "checkout_output") == 0 ? 1 : 0);
    }
}

TEST_F(RenderSetupThroughHost, NoInputClearsTheOutputAndNoOutputDrawsNothing) {
    host.layer().setGlyphs({rectangleGlyph(0, 0, 20, 30)});
    FrameRequest request;
    request.no_input = true;
    request.output_fill = PF_Pixel{255, 0, 255, 0};
    Frame frame = host.renderFrame(request);
    EXPECT_EQ(frame.render_err, PF_Err_NONE);
    EXPECT_TRUE(allTransparent(*frame.output));
    EXPECT_EQ(host.ledger().last().params_checked_in, PARAM_NUM_PARAMS - 1);

    request = FrameRequest{};
    request.no_output = true;
    frame = host.renderFrame(request);
    EXPECT_EQ(frame.render_err, PF_Err_NONE);
    EXPECT_EQ(host.ledger().last().worlds_created, 0);
    EXPECT_EQ(host.ledger().last().callCount("fill"), 0);
}

TEST_F(RenderSetupThroughHost, FramesRenderedAtOnceMatchOneByOne) {
    host.layer().setGlyphs({rectangleGlyph(0, 0, 20, 30), rectangleGlyph(30, 0, 46, 30)});
    host.params().setValue(PARAM_ENABLE_GUIDE, 1);
    const std::vector<pixel_box> alone = render();
    const std::vector<Frame> frames = host.renderFrames(std::vector<FrameRequest>(6), 3);
    for (const Frame& frame : frames) {
        EXPECT_EQ(frame.render_err, PF_Err_NONE);
        EXPECT_EQ(drawnBoxes(*frame.output), alone);
    }
}

}  // namespace
