// Real text through the stand-in host and the effect: the layer image is
// drawn from the same glyphs the effect reads, and a few words land in the
// cells each alignment and each mode gives them. Every test ends with a
// clean ledger.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "minihost/core/host.h"
#include "minihost/text/font_text.h"
#include "params/param_index.h"

namespace minihost {
namespace {

struct Span {
    int first, last;  // pixel indices along one axis, inclusive
    double center() const { return (first + last + 1) / 2.0; }
};

// Runs of pixels with ink along x (or y), the other axis summed up.
std::vector<Span> inkSpans(const World& world, bool along_x) {
    const int n = along_x ? world.width() : world.height();
    const int m = along_x ? world.height() : world.width();
    std::vector<Span> spans;
    bool inside = false;
    for (int i = 0; i < n; ++i) {
        bool ink = false;
        for (int j = 0; j < m && !ink; ++j) {
            ink = (along_x ? world.at(i, j) : world.at(j, i)).a > 0.02f;
        }
        if (ink && !inside) {
            spans.push_back(Span{i, i});
        }
        if (ink) {
            spans.back().last = i;
        }
        inside = ink;
    }
    return spans;
}

struct Box {
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
};

Box controlBox(const Glyph& glyph) {
    Box b;
    for (const Contour& c : glyph.contours) {
        for (const PF_PathVertex& v : c) {
            b.left = std::min({b.left, v.x, v.tan_in_x, v.tan_out_x});
            b.right = std::max({b.right, v.x, v.tan_in_x, v.tan_out_x});
            b.top = std::min({b.top, v.y, v.tan_in_y, v.tan_out_y});
            b.bottom = std::max({b.bottom, v.y, v.tan_in_y, v.tan_out_y});
        }
    }
    return b;
}

class TextThroughHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(host_.setUp(), PF_Err_NONE);
        host_.layer().setCompSize(480, 480);
        host_.layer().setPosition(240, 240);
        host_.params().setValue(PARAM_ENABLE_GUIDE, 0);
    }
    void TearDown() override { EXPECT_TRUE(host_.ledger().clean()) << host_.ledger().report(); }

    void setText(const std::string& text, text::Flow flow) {
        text::FontTextStyle style;
        style.text = text;
        style.size_px = Animated(30.0);
        style.paragraph.flow = flow;
        host_.layer().setText(std::make_shared<text::FontText>(style));
    }

    Host host_{defaultPluginPath()};
};

TEST_F(TextThroughHost, TheLayerImageIsDrawnFromTheGlyphsTheEffectReads) {
    setText("H O E X", text::Flow::kHorizontal);  // spaced, so that no two glyphs share a column
    const Frame frame = host_.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    ASSERT_TRUE(frame.input.has_value());
    const std::vector<Glyph> glyphs = host_.layer().worldGlyphsAt(0.0);
    const std::vector<Span> ink = inkSpans(*frame.input, true);
    ASSERT_EQ(ink.size(), glyphs.size());
    for (std::size_t k = 0; k < glyphs.size(); ++k) {
        const Box box = controlBox(glyphs[k]);
        EXPECT_NEAR(ink[k].first, box.left, 1.0) << k;
        EXPECT_NEAR(ink[k].last + 1, box.right, 1.0) << k;
    }
}

struct Case {
    TextMode mode;
    TextAlignment alignment;
};

class TextCells : public TextThroughHost, public ::testing::WithParamInterface<Case> {};

TEST_P(TextCells, EachCharacterIsCentredInItsCell) {
    const Case c = GetParam();
    const bool horizontal = c.mode == TEXT_MODE_HORIZONTAL;
    setText("HEXO", horizontal ? text::Flow::kHorizontal : text::Flow::kVertical);
    host_.params().setValue(PARAM_TEXT_MODE, c.mode);
    host_.params().setValue(PARAM_TEXT_ALIGNMENT, c.alignment);
    host_.params().setValue(PARAM_CHARACTER_SIZE, 50);
    ASSERT_EQ(host_.updateParamsUI(), PF_Err_NONE);
    const Frame frame = host_.renderFrame();
    ASSERT_EQ(frame.render_err, PF_Err_NONE);
    ASSERT_TRUE(frame.output.has_value());

    const std::vector<Span> ink = inkSpans(*frame.output, horizontal);
    ASSERT_EQ(ink.size(), 4u);
    const double start = 240.0;  // the layer's position along the run
    const double cell = 50.0;
    for (int k = 0; k < 4; ++k) {
        double cell_start = start + k * cell;  // left / top
        if (c.alignment == ALIGN_CENTER) {
            cell_start = start - 2 * cell + k * cell;  // four cells about the start
        } else if (c.alignment == ALIGN_RIGHT) {
            cell_start = start - (4 - k) * cell;  // the last ends at the start
        }
        EXPECT_NEAR(ink[static_cast<std::size_t>(k)].center(), cell_start + cell / 2, 1.0) << "character " << k;
    }
    // Across the run nothing moves.
    const std::vector<Span> across_in = inkSpans(*frame.input, !horizontal);
    const std::vector<Span> across_out = inkSpans(*frame.output, !horizontal);
    ASSERT_FALSE(across_in.empty());
    ASSERT_FALSE(across_out.empty());
    EXPECT_NEAR(across_out.front().first, across_in.front().first, 1.0);
    EXPECT_NEAR(across_out.back().last, across_in.back().last, 1.0);
}

INSTANTIATE_TEST_SUITE_P(ModesAndAlignments, TextCells,
                         ::testing::Values(Case{TEXT_MODE_HORIZONTAL, ALIGN_LEFT},
                                           Case{TEXT_MODE_HORIZONTAL, ALIGN_CENTER},
                                           Case{TEXT_MODE_HORIZONTAL, ALIGN_RIGHT},
                                           Case{TEXT_MODE_VERTICAL, ALIGN_LEFT}, Case{TEXT_MODE_VERTICAL, ALIGN_CENTER},
                                           Case{TEXT_MODE_VERTICAL, ALIGN_RIGHT}));

TEST_F(TextThroughHost, AnAnimatedSizeAndColourChangeTheLayerOverTime) {
    text::FontTextStyle style;
    style.text = "H";
    style.size_px.setKeyframes({{0.0, 20.0}, {1.0, 40.0}}, Interpolation::kLinear);
    style.red.setKeyframes({{0.0, 0.0}, {1.0, 255.0}}, Interpolation::kLinear);
    host_.layer().setText(std::make_shared<text::FontText>(style));
    const std::vector<Glyph> early = host_.layer().text()->glyphsAt(0.0);
    const std::vector<Glyph> late = host_.layer().text()->glyphsAt(1.0);
    ASSERT_EQ(early.size(), 1u);
    ASSERT_EQ(late.size(), 1u);
    EXPECT_NEAR(controlBox(late[0]).top, 2 * controlBox(early[0]).top, 0.05);
    EXPECT_EQ(early[0].color.red, 0);
    EXPECT_EQ(late[0].color.red, 255);
}

}  // namespace
}  // namespace minihost
