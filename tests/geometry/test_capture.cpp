// Capture of a text layer's outlines through the stand-in host: what is read,
// how it is scaled, and what happens when a host call fails part-way.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "capture_harness.h"
#include "grouping_fixtures.h"

namespace {

using geometry_test::Box;
using geometry_test::boxOf;
using geometry_test::CaptureHarness;
using minihost::Contour;
using minihost::Glyph;
using minihost::rectangleContour;
using minihost::rectangleGlyph;

constexpr PF_Pixel kWhite{255, 255, 255, 255};

Glyph glyphOf(std::vector<Contour> contours) { return Glyph{std::move(contours), kWhite}; }

PF_PathVertex at(double x, double y) { return PF_PathVertex{x, y, x, y, x, y}; }

bool sameVertex(const PF_PathVertex& a, const PF_PathVertex& b) {
    return a.x == b.x && a.y == b.y && a.tan_in_x == b.tan_in_x && a.tan_in_y == b.tan_in_y &&
           a.tan_out_x == b.tan_out_x && a.tan_out_y == b.tan_out_y;
}

class Capture : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(host().ledger().clean()) << host().ledger().report(); }
    minihost::Host& host() { return harness.host(); }
    const minihost::CommandRecord renderRecord() { return host().ledger().last(); }

    CaptureHarness harness;
};

// --- What is read -----------------------------------------------------------

TEST_F(Capture, NoOutlinesGiveNoPathsAndNoError) {
    host().layer().setGlyphs({});
    const auto c = harness.capture();
    EXPECT_EQ(c.render_err, PF_Err_NONE);
    EXPECT_EQ(c.err, A_Err_NONE);
    EXPECT_TRUE(c.paths.empty());
    const auto record = renderRecord();
    EXPECT_EQ(record.outline_sets_obtained, 1);
    EXPECT_EQ(record.outline_sets_disposed, 1);
    // No outline to read: the path suite is never asked for.
    EXPECT_EQ(record.acquired(kPFPathDataSuite, 1), 0);
    EXPECT_EQ(record.acquired(kAEGPTextLayerSuite, 1), 1);
    EXPECT_EQ(record.released(kAEGPTextLayerSuite, 1), 1);
}

TEST_F(Capture, OnePathPerContourInTheHostsOrder) {
    host().layer().setGlyphs(
        {glyphOf({rectangleContour(0, 0, 10, 20), rectangleContour(2, 2, 8, 8)}), rectangleGlyph(30, 0, 40, 20)});
    const auto c = harness.capture();
    ASSERT_EQ(c.err, A_Err_NONE);
    ASSERT_EQ(c.paths.size(), 3u);
    EXPECT_EQ(boxOf(c.paths[0]), (Box{0, 0, 10, 20}));
    EXPECT_EQ(boxOf(c.paths[1]), (Box{2, 2, 8, 8}));
    EXPECT_EQ(boxOf(c.paths[2]), (Box{30, 0, 40, 20}));
    for (const path& p : c.paths) {
        EXPECT_EQ(p.segment_count, 4);
        EXPECT_EQ(p.vertices.size(), 4u);
    }
    EXPECT_TRUE(sameVertex(c.paths[2].vertices[1], at(40, 0)));
    // Each suite is acquired once however many outlines are read.
    EXPECT_EQ(renderRecord().acquired(kPFPathDataSuite, 1), 1);
    EXPECT_EQ(renderRecord().callCount("PF_PathVertexInfo"), 12);
}

TEST_F(Capture, BoxIncludesTangentHandlesOutsideTheCurve) {
    const Contour bulge{PF_PathVertex{10, 10, 5, 2, 20, 0}, PF_PathVertex{30, 30, 35, 40, 25, 45}};
    host().layer().setGlyphs({glyphOf({bulge})});
    const auto c = harness.capture();
    ASSERT_EQ(c.paths.size(), 1u);
    EXPECT_EQ(boxOf(c.paths[0]), (Box{5, 0, 35, 45}));
    EXPECT_TRUE(sameVertex(c.paths[0].vertices[0], bulge[0]));
    EXPECT_TRUE(sameVertex(c.paths[0].vertices[1], bulge[1]));
}

TEST_F(Capture, TangentsOnTheirVerticesGiveTheBoxOfTheVertices) {
    host().layer().setGlyphs({glyphOf({minihost::polygonContour({{4, 9}, {12, 1}, {20, 7}})})});
    const auto c = harness.capture();
    ASSERT_EQ(c.paths.size(), 1u);
    EXPECT_EQ(boxOf(c.paths[0]), (Box{4, 1, 20, 9}));
}

TEST_F(Capture, SingleVertexAwayFromTheOriginIsNotEmpty) {
    host().layer().setGlyphs({glyphOf({Contour{at(3, 4)}})});
    const auto c = harness.capture();
    ASSERT_EQ(c.paths.size(), 1u);
    EXPECT_EQ(c.paths[0].segment_count, 1);
    EXPECT_EQ(boxOf(c.paths[0]), (Box{3, 4, 3, 4}));
    EXPECT_FALSE(isEmptyPath(c.paths[0]));
}

TEST_F(Capture, SingleVertexAtTheOriginIsEmptyAndGroupingDropsIt) {
    host().layer().setGlyphs({glyphOf({Contour{at(0, 0)}}), rectangleGlyph(10, 0, 20, 20)});
    const auto c = harness.capture();
    ASSERT_EQ(c.paths.size(), 2u);
    EXPECT_EQ(c.paths[0].segment_count, 1);
    EXPECT_TRUE(isEmptyPath(c.paths[0]));

    const auto g = harness.characters(0, 0, 1, 0);
    ASSERT_EQ(g.characters.size(), 1u);
    EXPECT_EQ(boxOf(g.characters[0]), (Box{10, 0, 20, 20}));
}

// --- Scaling ----------------------------------------------------------------

TEST_F(Capture, HalfDownsampleOnXHalvesOnlyXValues) {
    host().config().downsample_x = {1, 2};
    const Contour bulge{PF_PathVertex{10, 10, 6, 2, 20, 0}, PF_PathVertex{30, 30, 36, 40, 24, 45}};
    host().layer().setGlyphs({glyphOf({bulge})});
    const auto c = harness.capture();
    ASSERT_EQ(c.paths.size(), 1u);
    EXPECT_EQ(boxOf(c.paths[0]), (Box{3, 0, 18, 45}));
    EXPECT_TRUE(sameVertex(c.paths[0].vertices[0], PF_PathVertex{5, 10, 3, 2, 10, 0}));
    EXPECT_TRUE(sameVertex(c.paths[0].vertices[1], PF_PathVertex{15, 30, 18, 40, 12, 45}));
}

TEST_F(Capture, DenominatorIsReadUnsigned) {
    // 2^30 / 2^31 is one half; read as signed the denominator would be
    // negative and the box mirrored.
    host().config().downsample_y = {1 << 30, 1u << 31};
    host().layer().setGlyphs({rectangleGlyph(10, 20, 30, 60)});
    const auto c = harness.capture();
    ASSERT_EQ(c.paths.size(), 1u);
    EXPECT_EQ(boxOf(c.paths[0]), (Box{10, 10, 30, 30}));
}

// --- Failures ---------------------------------------------------------------

TEST_F(Capture, ZeroDenominatorReadsNothing) {
    host().config().downsample_x = {1, 0};
    host().layer().setGlyphs({rectangleGlyph(10, 20, 30, 60)});
    const auto c = harness.capture();
    EXPECT_EQ(c.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(c.paths.empty());
    EXPECT_EQ(renderRecord().callCount("AEGP_GetNewTextOutlines"), 0);
}

TEST_F(Capture, FailingOutlineSetLeavesNothingToDispose) {
    host().layer().setGlyphs({rectangleGlyph(10, 20, 30, 60)});
    host().faults().failNth("AEGP_GetNewTextOutlines", 1, A_Err_ALLOC);
    const auto c = harness.capture();
    EXPECT_EQ(c.err, A_Err_ALLOC);
    EXPECT_TRUE(c.paths.empty());
    EXPECT_EQ(renderRecord().callCount("AEGP_GetNumTextOutlines"), 0);
    EXPECT_EQ(renderRecord().callCount("AEGP_DisposeTextOutlines"), 0);
}

TEST_F(Capture, FailingCountStillDisposesOfTheSet) {
    host().layer().setGlyphs({rectangleGlyph(10, 20, 30, 60)});
    host().faults().failNth("AEGP_GetNumTextOutlines", 1, A_Err_GENERIC);
    const auto c = harness.capture();
    EXPECT_EQ(c.err, A_Err_GENERIC);
    EXPECT_TRUE(c.paths.empty());
    EXPECT_EQ(renderRecord().outline_sets_disposed, 1);
}

TEST_F(Capture, FailingOutlineStopsReadingAndKeepsTheCompleteOnes) {
    host().layer().setGlyphs(
        {rectangleGlyph(0, 0, 10, 20), rectangleGlyph(20, 0, 30, 20), rectangleGlyph(40, 0, 50, 20)});
    host().faults().failNth("AEGP_GetIndexedTextOutline", 2, A_Err_PARAMETER);
    const auto c = harness.capture();
    EXPECT_EQ(c.err, A_Err_PARAMETER);
    ASSERT_EQ(c.paths.size(), 1u);
    EXPECT_EQ(boxOf(c.paths[0]), (Box{0, 0, 10, 20}));
    const auto record = renderRecord();
    EXPECT_EQ(record.callCount("AEGP_GetIndexedTextOutline"), 2);
    EXPECT_EQ(record.callCount("PF_PathNumSegments"), 1);
    EXPECT_EQ(record.outline_sets_disposed, 1);
}

TEST_F(Capture, FailingVertexDropsThePartlyReadOutline) {
    host().layer().setGlyphs({rectangleGlyph(0, 0, 10, 20), rectangleGlyph(20, 0, 30, 20)});
    host().faults().failNth("PF_PathVertexInfo", 6, A_Err_GENERIC);  // the second outline's second vertex
    const auto c = harness.capture();
    EXPECT_EQ(c.err, A_Err_GENERIC);
    ASSERT_EQ(c.paths.size(), 1u);
    EXPECT_EQ(boxOf(c.paths[0]), (Box{0, 0, 10, 20}));
    EXPECT_EQ(renderRecord().callCount("PF_PathVertexInfo"), 6);
    EXPECT_EQ(renderRecord().outline_sets_disposed, 1);
}

TEST_F(Capture, FailingSegmentCountStopsReading) {
    host().layer().setGlyphs({rectangleGlyph(0, 0, 10, 20), rectangleGlyph(20, 0, 30, 20)});
    host().faults().failNth("PF_PathNumSegments", 1, A_Err_GENERIC);
    const auto c = harness.capture();
    EXPECT_EQ(c.err, A_Err_GENERIC);
    EXPECT_TRUE(c.paths.empty());
    EXPECT_EQ(renderRecord().callCount("PF_PathVertexInfo"), 0);
    EXPECT_EQ(renderRecord().callCount("AEGP_GetIndexedTextOutline"), 1);
}

TEST_F(Capture, MissingPathSuiteEndsTheCallAndStillDisposesOfTheSet) {
    host().layer().setGlyphs({rectangleGlyph(0, 0, 10, 20)});
    host().faults().missingSuite(kPFPathDataSuite, 1);
    const auto c = harness.capture();
    EXPECT_EQ(c.render_err, PF_Err_BAD_CALLBACK_PARAM);
    const auto record = renderRecord();
    EXPECT_EQ(record.outline_sets_obtained, 1);
    EXPECT_EQ(record.outline_sets_disposed, 1);
    EXPECT_EQ(record.released(kAEGPTextLayerSuite, 1), 1);
}

TEST_F(Capture, MissingTextSuiteEndsTheCallBeforeAnyOutline) {
    host().layer().setGlyphs({rectangleGlyph(0, 0, 10, 20)});
    host().faults().missingSuite(kAEGPTextLayerSuite, 1, /*leave_pointer=*/true);
    const auto c = harness.capture();
    EXPECT_EQ(c.render_err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(renderRecord().callCount("AEGP_GetNewTextOutlines"), 0);
}

TEST_F(Capture, FailingDisposeIsReportedWhenNothingFailedBefore) {
    host().layer().setGlyphs({rectangleGlyph(0, 0, 10, 20)});
    host().faults().failNth("AEGP_DisposeTextOutlines", 1, A_Err_GENERIC);
    const auto c = harness.capture();
    EXPECT_EQ(c.err, A_Err_GENERIC);
    EXPECT_EQ(c.paths.size(), 1u);  // what was read stays
    EXPECT_EQ(renderRecord().callCount("AEGP_DisposeTextOutlines"), 1);
}

TEST_F(Capture, EarlierErrorWinsOverAFailingDispose) {
    host().layer().setGlyphs({rectangleGlyph(0, 0, 10, 20)});
    host().faults().failNth("PF_PathNumSegments", 1, A_Err_PARAMETER);
    host().faults().failNth("AEGP_DisposeTextOutlines", 1, A_Err_GENERIC);
    const auto c = harness.capture();
    EXPECT_EQ(c.err, A_Err_PARAMETER);
    EXPECT_EQ(renderRecord().callCount("AEGP_DisposeTextOutlines"), 1);
}

// --- Capture and grouping together ------------------------------------------

TEST_F(Capture, GroupingRunsOnWhatWasReadBeforeAFailure) {
    host().layer().setGlyphs({glyphOf({rectangleContour(0, 0, 10, 20), rectangleContour(2, 2, 8, 8)}),
                              rectangleGlyph(30, 0, 40, 20), rectangleGlyph(60, 0, 70, 20)});
    host().faults().failNth("AEGP_GetIndexedTextOutline", 4, A_Err_GENERIC);
    const auto g = harness.characters(0, 0, 2, 1);
    EXPECT_EQ(g.err, A_Err_GENERIC);
    ASSERT_EQ(g.characters.size(), 2u);
    EXPECT_EQ(g.characters[0].path_count, 2);
    EXPECT_EQ(boxOf(g.characters[0]), (Box{-1, -1, 11, 21}));
    EXPECT_EQ(boxOf(g.characters[1]), (Box{29, -1, 41, 21}));
    EXPECT_EQ(g.characters[0].slot, -1);
    EXPECT_EQ(g.characters[1].slot, 1);
}

TEST_F(Capture, NonFiniteOutlinePointsGiveAnUnusableCharacterOnly) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    host().layer().setGlyphs(
        {rectangleGlyph(0, 0, 10, 20), glyphOf({Contour{at(nan, 5), at(inf, -inf)}}), rectangleGlyph(30, 0, 40, 20)});
    const auto g = harness.characters(100, 100, 1, 2);
    EXPECT_EQ(g.err, A_Err_NONE);
    ASSERT_EQ(g.characters.size(), 3u);  // the broken one sits between the others and merges with neither
    EXPECT_TRUE(std::isnan(g.characters[1].left));
    EXPECT_EQ(boxOf(g.characters[0]), (Box{-2, -2, 12, 22}));
}

}  // namespace
