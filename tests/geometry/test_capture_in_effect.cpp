// The effect's own render around the capture: a host call failing part-way,
// a missing suite and broken outline points, through the built plug-in.
#include <gtest/gtest.h>

#include <limits>

#include "minihost/core/host.h"
#include "params/param_index.h"

namespace {

using minihost::Contour;
using minihost::Glyph;
using minihost::rectangleGlyph;

class CaptureInEffect : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(host.setUp(), PF_Err_NONE);
        host.layer().setGlyphs(
            {rectangleGlyph(10, 10, 20, 40), rectangleGlyph(30, 10, 45, 40), rectangleGlyph(60, 10, 70, 40)});
        host.ledger().clear();
    }
    void TearDown() override { EXPECT_TRUE(host.ledger().clean()) << host.ledger().report(); }

    minihost::CommandRecord render() {
        const minihost::Frame frame = host.renderFrame();
        EXPECT_EQ(frame.pre_render_err, PF_Err_NONE);
        render_err = frame.render_err;
        return host.ledger().last();
    }

    minihost::Host host;
    PF_Err render_err = PF_Err_NONE;
};

TEST_F(CaptureInEffect, ReadsEveryOutlineOnceAndDisposesOfTheSet) {
    const auto record = render();
    EXPECT_EQ(render_err, PF_Err_NONE);
    EXPECT_EQ(record.callCount("AEGP_GetIndexedTextOutline"), 3);
    EXPECT_EQ(record.callCount("PF_PathVertexInfo"), 12);
    EXPECT_EQ(record.outline_sets_obtained, 1);
    EXPECT_EQ(record.outline_sets_disposed, 1);
}

TEST_F(CaptureInEffect, FailingOutlineMidwayStopsReadingAndTheRenderGoesOn) {
    host.faults().failNth("AEGP_GetIndexedTextOutline", 2, A_Err_GENERIC);
    const auto record = render();
    // The render does not act on the capture's error.
    EXPECT_EQ(render_err, PF_Err_NONE);
    EXPECT_EQ(record.callCount("AEGP_GetIndexedTextOutline"), 2);
    EXPECT_EQ(record.callCount("PF_PathVertexInfo"), 4);
    EXPECT_EQ(record.outline_sets_disposed, 1);
}

TEST_F(CaptureInEffect, FailingVertexMidwayStopsReadingAndTheRenderGoesOn) {
    host.faults().failNth("PF_PathVertexInfo", 7, A_Err_PARAMETER);
    const auto record = render();
    EXPECT_EQ(render_err, PF_Err_NONE);
    EXPECT_EQ(record.callCount("PF_PathVertexInfo"), 7);
    EXPECT_EQ(record.callCount("AEGP_GetIndexedTextOutline"), 2);
    EXPECT_EQ(record.outline_sets_disposed, 1);
}

TEST_F(CaptureInEffect, MissingPathSuiteEndsTheRenderWithEverythingGivenBack) {
    host.faults().missingSuite(kPFPathDataSuite, 1);
    const auto record = render();
    EXPECT_EQ(render_err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(record.outline_sets_obtained, 1);
    EXPECT_EQ(record.outline_sets_disposed, 1);
}

TEST_F(CaptureInEffect, NonFiniteOutlinePointsRenderWithoutFault) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double huge = 1e300;
    host.layer().setGlyphs({rectangleGlyph(10, 10, 20, 40),
                            Glyph{{Contour{PF_PathVertex{nan, 5, nan, 5, nan, 5}}}, {255, 255, 255, 255}},
                            Glyph{{Contour{PF_PathVertex{inf, -inf, inf, -inf, inf, -inf}}}, {255, 255, 255, 255}},
                            Glyph{{Contour{PF_PathVertex{-huge, 0, huge, 0, huge, huge}}}, {255, 255, 255, 255}},
                            rectangleGlyph(60, 10, 70, 40)});
    host.params().setValue(PARAM_ENABLE_GUIDE, 1);
    host.params().setValue(PARAM_BUFFER_EXPANSION, 2);
    for (const A_long alignment : {1, 2, 3}) {
        host.params().setValue(PARAM_TEXT_ALIGNMENT, alignment);
        render();
        EXPECT_EQ(render_err, PF_Err_NONE) << alignment;
    }
}

}  // namespace
