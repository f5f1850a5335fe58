// Outlines no font would give: non-finite and huge coordinates, contours
// without segments, ten thousand specks. The render must end normally, draw
// the sound characters as it would without the broken ones, and ask for no
// world larger than a character's source rectangle.
#include <gtest/gtest.h>

#include <limits>

#include "hostile_fixtures.h"

namespace reliability {
namespace {

using minihost::Depth;
using minihost::Frame;
using minihost::Glyph;
using minihost::Host;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const Glyph kFirst = minihost::rectangleGlyph(0, 4, 20, 26);
const Glyph kLast = minihost::rectangleGlyph(40, 4, 56, 26);

std::string depthTestName(const ::testing::TestParamInfo<Depth>& info) {
    return std::string("Bits") + minihost::depthName(info.param);
}

class HostileOutlines : public ::testing::TestWithParam<Depth> {
protected:
    // Two sound glyphs, whatever comes between them; guide off so that the
    // pictures compare byte for byte with the render of the sound glyphs.
    Frame render(Host& h, std::vector<Glyph> between) {
        h.config().depth = GetParam();
        EXPECT_EQ(h.setUp(), PF_Err_NONE);
        h.layer().setCompSize(160, 60);
        h.layer().setPosition(10, 10);
        h.params().setValue(PARAM_CHARACTER_SIZE, 30);
        h.params().setValue(PARAM_ENABLE_GUIDE, 0);
        std::vector<Glyph> glyphs{kFirst};
        glyphs.insert(glyphs.end(), between.begin(), between.end());
        glyphs.push_back(kLast);
        h.layer().setGlyphs(glyphs);
        return h.renderFrame();
    }

    // The sound glyphs' render, for comparison.
    Frame reference() { return render(reference_host, {}); }

    void TearDown() override {
        EXPECT_TRUE(host.ledger().clean()) << host.ledger().report();
        EXPECT_TRUE(reference_host.ledger().clean()) << reference_host.ledger().report();
    }

    Host host{QA_PLUGIN_PATH};
    Host reference_host{QA_PLUGIN_PATH};
};

TEST_P(HostileOutlines, NonFiniteAndHugeCoordinatesAreSkippedAndTheRestRendersAsWithoutThem) {
    const Frame expected = reference();
    const Frame frame = render(host, {glyphWithVertex(kNaN, 10), glyphWithVertex(10, kNaN), glyphWithVertex(kInf, 10),
                                      glyphWithVertex(-kInf, 10), glyphWithVertex(10, -kInf),
                                      glyphWithVertex(1e300, 1e300), glyphWithVertex(-1e300, 10)});
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    ASSERT_TRUE(frame.output && expected.output);
    EXPECT_TRUE(sameBytes(*frame.output, *expected.output));
    // Only the two sound characters were given worlds, each its own size.
    EXPECT_EQ(host.ledger().last().world_sizes, reference_host.ledger().last().world_sizes);
    EXPECT_EQ(host.ledger().last().worlds_created, 2);
}

TEST_P(HostileOutlines, AGlyphSpanningTheWholeRangeSwallowsTheTextAndNothingIsAskedFor) {
    Glyph everything;
    everything.contours = {minihost::rectangleContour(-1e300, -1e300, 1e300, 1e300)};
    const Frame frame = render(host, {});
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    host.layer().setGlyphs({everything, kFirst, kLast});
    const Frame swallowed = host.renderFrame();
    ASSERT_EQ(swallowed.render_err, PF_Err_NONE);
    ASSERT_TRUE(swallowed.output);
    // One character of astronomic size: no world could hold it, none is asked for.
    EXPECT_TRUE(allTransparent(*swallowed.output));
    EXPECT_EQ(host.ledger().last().worlds_created, 0);
}

TEST_P(HostileOutlines, ContoursWithoutSegmentsAndGlyphsWithoutContoursAreDropped) {
    const Frame expected = reference();
    Glyph no_segments;
    no_segments.contours = {minihost::Contour{}, minihost::Contour{}};
    const Frame frame = render(host, {no_segments, Glyph{}});
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    ASSERT_TRUE(frame.output && expected.output);
    EXPECT_TRUE(sameBytes(*frame.output, *expected.output));
    EXPECT_EQ(host.ledger().last().worlds_created, 2);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, HostileOutlines, ::testing::Values(Depth::k8, Depth::k16, Depth::k32),
                         depthTestName);

TEST(HostileOutlineCount, TenThousandSpecksEachGetWorldsOfTheirOwnSizeOnly) {
    Host host(QA_PLUGIN_PATH);
    ASSERT_EQ(host.setUp(), PF_Err_NONE);
    host.layer().setCompSize(1000, 1000);
    host.layer().setPosition(0, 0);
    std::vector<Glyph> specks;
    for (int row = 0; row < 100; ++row) {
        for (int column = 0; column < 100; ++column) {
            const double x = 10.0 * column + 3.0;
            const double y = 10.0 * row + 3.0;
            specks.push_back(minihost::rectangleGlyph(x, y, x + 2.0, y + 2.0));
        }
    }
    host.layer().setGlyphs(specks);
    // No merging: every speck is its own character.
    host.params().setValue(PARAM_X_THRESHOLD, 0);
    host.params().setValue(PARAM_Y_THRESHOLD, 0);
    host.params().setValue(PARAM_CHARACTER_SIZE, 4);
    host.params().setValue(PARAM_ENABLE_GUIDE, 1);
    const Frame frame = host.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    const minihost::CommandRecord render = host.ledger().last();
    // A 2 x 2 world per speck and a 4 x 2 guide per speck, nothing larger.
    EXPECT_EQ(render.worlds_created, 20000);
    expectWorldsWithin(render, {{2, 2}, {4, 2}}, "specks");
    EXPECT_TRUE(host.ledger().clean()) << host.ledger().report();
}

}  // namespace
}  // namespace reliability
