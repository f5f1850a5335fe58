// Control values outside their ranges, as a host (or a hand-edited project,
// or an expression) can still pass them; a zero downsample denominator; a
// layer scaled to nothing or flipped. The render ends normally with the
// documented result and asks for no world larger than a character needs.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "hostile_fixtures.h"

namespace reliability {
namespace {

using minihost::Frame;
using minihost::FrameRequest;
using minihost::Host;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Three glyphs 20, 16 and 24 wide and 22 high; at position (10, 10) they
// cover x [10, 30), [40, 56), [70, 94) and y [14, 36).
void stageThreeGlyphs(Host& host) {
    host.layer().setCompSize(200, 100);
    host.layer().setPosition(10, 10);
    host.layer().setGlyphs({minihost::rectangleGlyph(0, 4, 20, 26), minihost::rectangleGlyph(30, 4, 46, 26),
                            minihost::rectangleGlyph(60, 4, 84, 26)});
    host.params().setValue(PARAM_CHARACTER_SIZE, 30);
}

// Columns of the output (layer x) that hold anything.
std::pair<int, int> drawnColumns(const minihost::World& w) {
    int lo = std::numeric_limits<int>::max(), hi = std::numeric_limits<int>::min();
    for (int y = 0; y < w.height(); ++y) {
        for (int x = 0; x < w.width(); ++x) {
            if (w.at(x, y).a != 0.0f) {
                lo = std::min(lo, x + w.pf()->origin_x);
                hi = std::max(hi, x + w.pf()->origin_x);
            }
        }
    }
    return {lo, hi};
}

struct ControlCase {
    const char* label;
    std::function<void(Host&)> set;
    PF_Err expected_err;
    // Worlds the render may ask for, at most.
    std::vector<WorldBound> bounds;
    // What the output must show, checked when given.
    std::function<void(const minihost::World&, const minihost::CommandRecord&)> check;
};

void nothingDrawn(const minihost::World& out, const minihost::CommandRecord& render) {
    EXPECT_TRUE(allTransparent(out));
    EXPECT_EQ(render.worlds_created, 0);
}

// Glyph worlds of the three glyphs, with guides of 30-pixel cells.
const std::vector<WorldBound> kPlainBounds{{24, 22}, {30, 22}};

std::vector<ControlCase> controlCases() {
    const auto set = [](PF_ParamIndex index, double value) {
        return [index, value](Host& host) { host.params().setValue(index, value); };
    };
    const auto only_first_cell = [](const minihost::World& out, const minihost::CommandRecord&) {
        // The first character stays in its cell [10, 40); the others were
        // sent a thousand pixels and more away.
        const auto [lo, hi] = drawnColumns(out);
        EXPECT_GE(lo, 10);
        EXPECT_LT(hi, 40);
    };
    return {
        {"negative Character Size", set(PARAM_CHARACTER_SIZE, -50), PF_Err_NONE, {}, nothingDrawn},
        {"zero Character Size", set(PARAM_CHARACTER_SIZE, 0), PF_Err_NONE, {}, nothingDrawn},
        {"NaN Character Size", set(PARAM_CHARACTER_SIZE, kNaN), PF_Err_NONE, {}, nothingDrawn},
        {"Character Size 1e12 without guide",
         [](Host& host) {
             host.params().setValue(PARAM_CHARACTER_SIZE, 1e12);
             host.params().setValue(PARAM_ENABLE_GUIDE, 0);
         },
         PF_Err_NONE,
         {{24, 22}},
         [](const minihost::World& out, const minihost::CommandRecord& render) {
             // Centred in cells two billion pixels long: far outside.
             EXPECT_TRUE(allTransparent(out));
             EXPECT_EQ(render.worlds_created, 3);
         }},
        // A guide as long as a 2^31-pixel cell is more than the host gives;
        // its refusal ends the run as any failed world does.
        {"Character Size 1e12 with guide",
         set(PARAM_CHARACTER_SIZE, 1e12),
         PF_Err_OUT_OF_MEMORY,
         {{24, 22}},
         [](const minihost::World&, const minihost::CommandRecord& render) {
             EXPECT_EQ(render.worlds_created, 1);
             EXPECT_EQ(render.calls.at("PF_NewWorld"), 2);
         }},
        {"negative Buffer Expansion",
         set(PARAM_BUFFER_EXPANSION, -5),
         PF_Err_NONE,
         {{4, 2}, {20, 2}},
         [](const minihost::World&, const minihost::CommandRecord& render) {
             // Shrunk by 10 on every side: only the widest glyph keeps 4 x 2 pixels.
             EXPECT_EQ(render.worlds_created, 2);
         }},
        {"Tracking 1000", set(PARAM_TRACKING, 1000), PF_Err_NONE, kPlainBounds, only_first_cell},
        {"Tracking -1000", set(PARAM_TRACKING, -1000), PF_Err_NONE, kPlainBounds, only_first_cell},
        {"Tracking 1e300", set(PARAM_TRACKING, 1e300), PF_Err_NONE, kPlainBounds, only_first_cell},
        {"NaN Tracking", set(PARAM_TRACKING, kNaN), PF_Err_NONE, {}, nothingDrawn},
        {"Text Mode 7 reads as vertical", set(PARAM_TEXT_MODE, 7), PF_Err_NONE, {{24, 30}, {24, 30}}, nullptr},
        {"Text Alignment 0", set(PARAM_TEXT_ALIGNMENT, 0), PF_Err_NONE, kPlainBounds, nullptr},
        {"Text Alignment 9", set(PARAM_TEXT_ALIGNMENT, 9), PF_Err_NONE, kPlainBounds, nullptr},
        {"Character Index 1e10 never matches",
         [](Host& host) {
             host.params().setValue(pairIndexParam(1), 1e10);
             host.params().setValue(pairSizeParam(1), 1e10);
         },
         PF_Err_NONE, kPlainBounds, nullptr},
        {"Size -1e10 skips its character",
         [](Host& host) {
             host.params().setValue(pairIndexParam(2), 2);
             host.params().setValue(pairSizeParam(2), -1e10);
         },
         PF_Err_NONE, kPlainBounds,
         [](const minihost::World&, const minihost::CommandRecord& render) { EXPECT_EQ(render.worlds_created, 4); }},
        {"X Threshold 1e300 merges neighbours",
         [](Host& host) { host.params().setValue(PARAM_X_THRESHOLD, 1e300); },
         PF_Err_NONE,
         {{84, 22}, {30, 22}},
         [](const minihost::World&, const minihost::CommandRecord& render) {
             // The three neighbours become one character: one world and one guide.
             EXPECT_EQ(render.worlds_created, 2);
         }},
        {"negative and NaN thresholds merge nothing",
         [](Host& host) {
             host.params().setValue(PARAM_X_THRESHOLD, -1000);
             host.params().setValue(PARAM_Y_THRESHOLD, kNaN);
         },
         PF_Err_NONE, kPlainBounds,
         [](const minihost::World&, const minihost::CommandRecord& render) { EXPECT_EQ(render.worlds_created, 6); }},
    };
}

TEST(HostileControls, OutOfRangeValuesGiveTheDocumentedResultWithBoundedWorlds) {
    for (const minihost::Depth depth : {minihost::Depth::k8, minihost::Depth::k32}) {
        for (const ControlCase& c : controlCases()) {
            const std::string context = std::string(c.label) + " at " + minihost::depthName(depth) + " bpc";
            Host host(QA_PLUGIN_PATH);
            host.config().depth = depth;
            ASSERT_EQ(host.setUp(), PF_Err_NONE);
            stageThreeGlyphs(host);
            c.set(host);
            const Frame frame = host.renderFrame();
            EXPECT_EQ(frame.render_err, c.expected_err) << context;
            ASSERT_TRUE(frame.output) << context;
            const minihost::CommandRecord render = host.ledger().last();
            expectWorldsWithin(render, c.bounds, context);
            if (c.check) {
                SCOPED_TRACE(context);
                c.check(*frame.output, render);
            }
            EXPECT_TRUE(host.ledger().clean()) << context << "\n" << host.ledger().report();
        }
    }
}

TEST(HostileControls, BufferExpansion500OnA4kFrameAsksForCharacterSizedWorldsOnly) {
    Host host(QA_PLUGIN_PATH);
    ASSERT_EQ(host.setUp(), PF_Err_NONE);
    host.layer().setCompSize(3840, 2160);
    host.layer().setPosition(1800, 1000);
    host.layer().setGlyphs({minihost::rectangleGlyph(0, 4, 20, 26), minihost::rectangleGlyph(30, 4, 46, 26)});
    host.params().setValue(PARAM_CHARACTER_SIZE, 30);
    host.params().setValue(PARAM_BUFFER_EXPANSION, 500);
    const Frame frame = host.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    ASSERT_TRUE(frame.output);
    const minihost::CommandRecord render = host.ledger().last();
    // Each glyph box grows by 500 twice on every side; its guide is the
    // 30-pixel cell with 500 on either end, as high as the source rectangle.
    const std::vector<std::pair<A_long, A_long>> expected{{2020, 2022}, {1030, 2022}, {2016, 2022}, {1030, 2022}};
    EXPECT_EQ(render.world_sizes, expected);
    EXPECT_FALSE(allTransparent(*frame.output));
    EXPECT_TRUE(host.ledger().clean()) << host.ledger().report();
}

// The host's rectangle for a frame whose downsample it cannot describe.
FrameRequest wholeLayer() {
    FrameRequest r;
    r.rect = PF_LRect{0, 0, 200, 100};
    r.input_rect = PF_LRect{0, 0, 200, 100};
    return r;
}

TEST(HostileControls, AZeroDownsampleDenominatorRendersNothingAndNoError) {
    const PF_RationalScale broken[] = {{1, 0}, {0, 0}, {-1, 0}};
    for (const PF_RationalScale& ds : broken) {
        for (const bool along_x : {true, false}) {
            const std::string context =
                std::string(along_x ? "x" : "y") + " downsample " + std::to_string(ds.num) + "/0";
            Host host(QA_PLUGIN_PATH);
            ASSERT_EQ(host.setUp(), PF_Err_NONE);
            stageThreeGlyphs(host);
            (along_x ? host.config().downsample_x : host.config().downsample_y) = ds;
            const Frame frame = host.renderFrame(wholeLayer());
            EXPECT_EQ(frame.render_err, PF_Err_NONE) << context;
            ASSERT_TRUE(frame.output) << context;
            EXPECT_TRUE(allTransparent(*frame.output)) << context;
            EXPECT_EQ(host.ledger().last().worlds_created, 0) << context;
            EXPECT_TRUE(host.ledger().clean()) << context << "\n" << host.ledger().report();
        }
    }
}

TEST(HostileControls, ALayerScaledToNothingOrFlippedRendersWithoutFault) {
    struct ScaleCase {
        double x, y;
        bool nothing_along_x;  // no room along x at either API version
    };
    const ScaleCase scales[] = {{0, 0, true},       {0, 100, true},      {100, 0, false},   {-100, 100, false},
                                {100, -100, false}, {-100, -100, false}, {1e-9, 1e-9, true}};
    for (const A_short api_minor : {A_short{28}, A_short{14}}) {
        for (const ScaleCase& s : scales) {
            const std::string context =
                "scale " + std::to_string(s.x) + " x " + std::to_string(s.y) + ", API 13." + std::to_string(api_minor);
            Host host(QA_PLUGIN_PATH);
            host.config().api_minor = api_minor;
            ASSERT_EQ(host.setUp(), PF_Err_NONE);
            stageThreeGlyphs(host);
            host.layer().setScale(s.x, s.y);
            const Frame frame = host.renderFrame();
            ASSERT_TRUE(frame.output) << context;
            const minihost::CommandRecord render = host.ledger().last();
            // A layer scaled to 0 decomposes with a scale of 0, as the host
            // does: the render succeeds.
            EXPECT_EQ(frame.render_err, PF_Err_NONE) << context;
            // A cell scaled to below two pixels, or flipped to a negative
            // length (read from the Scale stream below 13.15), takes no room.
            if (s.nothing_along_x || (api_minor < 15 && s.x < 0)) {
                EXPECT_TRUE(allTransparent(*frame.output)) << context;
                EXPECT_EQ(render.worlds_created, 0) << context;
            }
            expectWorldsWithin(render, kPlainBounds, context);
            EXPECT_TRUE(host.ledger().clean()) << context << "\n" << host.ledger().report();
        }
    }
}

}  // namespace
}  // namespace reliability
