// Fonts found by name or file, shaping (kerning, ligatures, marks) and the
// layout of lines, alignment and flow about the anchor.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "minihost/text/font.h"
#include "minihost/text/text_error.h"
#include "minihost/text/text_layout.h"

namespace minihost::text {
namespace {

struct Box {
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    double centerX() const { return (left + right) / 2; }
    double centerY() const { return (top + bottom) / 2; }
};

Box boxOf(const std::vector<Contour>& contours) {
    Box b;
    for (const Contour& c : contours) {
        for (const PF_PathVertex& v : c) {
            b.left = std::min({b.left, v.x, v.tan_in_x, v.tan_out_x});
            b.right = std::max({b.right, v.x, v.tan_in_x, v.tan_out_x});
            b.top = std::min({b.top, v.y, v.tan_in_y, v.tan_out_y});
            b.bottom = std::max({b.bottom, v.y, v.tan_in_y, v.tan_out_y});
        }
    }
    return b;
}

const FontFile& dejaVu() {
    static const FontFile file = findFont(kDefaultFontFamily);
    return file;
}

TEST(FontLookup, FindsTheDefaultFamilyByNameAndAcceptsItsFile) {
    EXPECT_TRUE(dejaVu().path.ends_with("DejaVuSans.ttf")) << dejaVu().path;
    EXPECT_EQ(findFont("dejavu sans").path, dejaVu().path);  // names compare without case
    EXPECT_EQ(findFont(dejaVu().path).path, dejaVu().path);
}

TEST(FontLookup, RefusesAFamilyItDoesNotHaveInsteadOfFallingBack) {
    try {
        findFont("Quillarray Missing Sans");
        FAIL() << "a missing family was accepted";
    } catch (const TextError& e) {
        EXPECT_NE(std::string(e.what()).find("\"Quillarray Missing Sans\" not found"), std::string::npos) << e.what();
    }
    EXPECT_THROW(findFont("/nonexistent/font.ttf"), TextError);
    EXPECT_THROW(findFont(""), TextError);
}

TEST(FontLookup, AFileThatIsNoFontFailsWhenOpened) {
    const auto path = std::filesystem::temp_directory_path() / "quillarray_not_a_font.ttf";
    std::ofstream(path) << "not a font";
    EXPECT_THROW(Font(findFont(path.string()), 20.0), TextError);
    std::filesystem::remove(path);
}

TEST(FontSize, MustBePositiveAndFinite) {
    EXPECT_THROW(Font(dejaVu(), 0.0), TextError);
    EXPECT_THROW(Font(dejaVu(), -3.0), TextError);
    EXPECT_THROW(Font(dejaVu(), std::nan("")), TextError);
    EXPECT_THROW(Font(dejaVu(), 1e9), TextError);
    EXPECT_NO_THROW(Font(dejaVu(), 0.5));
}

TEST(Shaping, KernsPairsAndFormsLigatures) {
    const Font font(dejaVu(), 40.0);
    const double a = font.shape("A", Flow::kHorizontal).advance;
    const double v = font.shape("V", Flow::kHorizontal).advance;
    EXPECT_LT(font.shape("AV", Flow::kHorizontal).advance, a + v - 1.0);
    EXPECT_EQ(font.shape("fi", Flow::kHorizontal).glyphs.size(), 1u);
    EXPECT_EQ(font.shape("o", Flow::kHorizontal).glyphs.size(), 1u);
}

TEST(Shaping, ACombiningAccentIsOutlinedAboveItsLetter) {
    const Font font(dejaVu(), 40.0);
    // q has no precomposed form with an acute: two glyphs, one cluster.
    const ShapedRun run = font.shape("q\xcc\x81", Flow::kHorizontal);
    ASSERT_EQ(run.glyphs.size(), 2u);
    EXPECT_EQ(run.glyphs[0].cluster, run.glyphs[1].cluster);
    const Box letter = boxOf(font.outline(run.glyphs[0].glyph_id, run.glyphs[0].x, run.glyphs[0].y));
    const Box accent = boxOf(font.outline(run.glyphs[1].glyph_id, run.glyphs[1].x, run.glyphs[1].y));
    EXPECT_LT(accent.bottom, letter.top);  // above it
    EXPECT_GT(accent.left, letter.left);   // and over it, not after it
    EXPECT_LT(accent.right, letter.right);
    // e has a precomposed form; its outlines are still the letter's and the accent's.
    EXPECT_EQ(font.outline(font.shape("e\xcc\x81", Flow::kHorizontal).glyphs.at(0).glyph_id, 0, 0).size(), 3u);
}

TEST(Layout, SpacesHaveNoInkAndGlyphsFollowTheText) {
    const Font font(dejaVu(), 30.0);
    const auto glyphs = layoutParagraph("a b", font, ParagraphStyle{});
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].cluster, 0u);
    EXPECT_EQ(glyphs[1].cluster, 2u);
    EXPECT_LT(boxOf(glyphs[0].contours).right, boxOf(glyphs[1].contours).left);
}

TEST(Layout, LinesStepDownByTheLeading) {
    const Font font(dejaVu(), 30.0);
    ParagraphStyle style;
    style.leading_px = 41.5;
    const auto glyphs = layoutParagraph("x\nx\r\n\rx", font, style);
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_EQ(glyphs[2].line, 3u);  // empty lines still take their leading
    const Box first = boxOf(glyphs[0].contours);
    EXPECT_DOUBLE_EQ(boxOf(glyphs[1].contours).top, first.top + 41.5);
    EXPECT_DOUBLE_EQ(boxOf(glyphs[2].contours).top, first.top + 3 * 41.5);
    EXPECT_DOUBLE_EQ(boxOf(glyphs[1].contours).left, first.left);
    style.leading_px = 0.0;
    EXPECT_DOUBLE_EQ(leadingOf(style, 30.0), 36.0);  // 120 % of the size
}

TEST(Layout, AlignmentPlacesEachLineAboutTheAnchor) {
    const Font font(dejaVu(), 30.0);
    const double wide = font.shape("wide", Flow::kHorizontal).advance;
    const double i = font.shape("i", Flow::kHorizontal).advance;
    ParagraphStyle style;
    for (Align align : {Align::kStart, Align::kCenter, Align::kEnd}) {
        style.align = align;
        const auto glyphs = layoutParagraph("wide\ni", font, style);
        ASSERT_EQ(glyphs.size(), 5u);
        const double shift_wide = align == Align::kStart ? 0.0 : align == Align::kCenter ? -wide / 2 : -wide;
        const double shift_i = align == Align::kStart ? 0.0 : align == Align::kCenter ? -i / 2 : -i;
        const auto ref = font.outline(font.shape("w", Flow::kHorizontal).glyphs[0].glyph_id, shift_wide, 0.0);
        EXPECT_DOUBLE_EQ(boxOf(glyphs[0].contours).left, boxOf(ref).left);
        const auto ref_i = font.outline(font.shape("i", Flow::kHorizontal).glyphs[0].glyph_id, shift_i, 36.0);
        EXPECT_DOUBLE_EQ(boxOf(glyphs[4].contours).left, boxOf(ref_i).left);
        EXPECT_DOUBLE_EQ(boxOf(glyphs[4].contours).top, boxOf(ref_i).top);
    }
}

TEST(Layout, VerticalFlowStacksUprightGlyphsInColumnsFromRightToLeft) {
    const Font font(dejaVu(), 30.0);
    ParagraphStyle style;
    style.flow = Flow::kVertical;
    style.leading_px = 50.0;
    const auto glyphs = layoutParagraph("oo\no", font, style);
    ASSERT_EQ(glyphs.size(), 3u);
    const Box a = boxOf(glyphs[0].contours);
    const Box b = boxOf(glyphs[1].contours);
    const Box c = boxOf(glyphs[2].contours);
    EXPECT_NEAR(a.centerX(), 0.0, 1.0);  // centred on the column
    EXPECT_DOUBLE_EQ(b.centerX(), a.centerX());
    EXPECT_GT(b.top, a.bottom);  // top to bottom
    EXPECT_GT(a.top, 0.0);       // the column starts at the anchor
    EXPECT_DOUBLE_EQ(c.centerX(), a.centerX() - 50.0);
    EXPECT_DOUBLE_EQ(c.top, a.top);

    style.align = Align::kEnd;
    const double length = font.shape("oo", Flow::kVertical).advance;
    const auto bottom = layoutParagraph("oo", font, style);
    EXPECT_DOUBLE_EQ(boxOf(bottom[0].contours).top, a.top - length);
    EXPECT_LT(boxOf(bottom[1].contours).bottom, 0.0);
}

TEST(Layout, SizeScalesEveryOutline) {
    const Font small(dejaVu(), 20.0);
    const Font large(dejaVu(), 40.0);
    const Box s = boxOf(layoutParagraph("H", small, ParagraphStyle{})[0].contours);
    const Box l = boxOf(layoutParagraph("H", large, ParagraphStyle{})[0].contours);
    EXPECT_NEAR(l.top, 2 * s.top, 0.05);  // both sizes round to 1/64 pixel
    EXPECT_NEAR(l.right, 2 * s.right, 0.05);
}

}  // namespace
}  // namespace minihost::text
