// Glyph outlines in the host's path form: the conversion from FreeType's
// contours on tiny hand-made outlines, and real glyphs against FreeType's own
// rasterisation of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "minihost/text/font.h"
#include "minihost/text/ft_guards.h"
#include "minihost/text/outline_convert.h"

namespace minihost::text {
namespace {

constexpr char ON = FT_CURVE_TAG_ON;
constexpr char CONIC = FT_CURVE_TAG_CONIC;
constexpr char CUBIC = FT_CURVE_TAG_CUBIC;

// A one-contour FT_Outline over points given in whole pixels (y up).
struct HandOutline {
    std::vector<FT_Vector> points;
    std::vector<char> tags;
    std::vector<short> ends;
    FT_Outline outline{};

    HandOutline(std::vector<std::pair<long, long>> px, std::vector<char> t, std::vector<short> contour_ends = {})
        : tags(std::move(t)), ends(std::move(contour_ends)) {
        for (auto [x, y] : px) {
            points.push_back(FT_Vector{x * 64, y * 64});
        }
        if (ends.empty()) {
            ends.push_back(static_cast<short>(points.size() - 1));
        }
        outline.n_points = static_cast<short>(points.size());
        outline.n_contours = static_cast<short>(ends.size());
        outline.points = points.data();
        outline.tags = tags.data();
        outline.contours = ends.data();
    }
};

void expectVertex(const PF_PathVertex& v, double x, double y, double in_x, double in_y, double out_x, double out_y) {
    EXPECT_DOUBLE_EQ(v.x, x);
    EXPECT_DOUBLE_EQ(v.y, y);
    EXPECT_DOUBLE_EQ(v.tan_in_x, in_x);
    EXPECT_DOUBLE_EQ(v.tan_in_y, in_y);
    EXPECT_DOUBLE_EQ(v.tan_out_x, out_x);
    EXPECT_DOUBLE_EQ(v.tan_out_y, out_y);
}

TEST(OutlineConvert, StraightSegmentsKeepTheirTangentsOnTheirEnds) {
    HandOutline square({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {ON, ON, ON, ON});
    const auto contours = convertOutline(square.outline, OutlinePlacement{100.0, 50.0});
    ASSERT_EQ(contours.size(), 1u);
    ASSERT_EQ(contours[0].size(), 4u);
    // y flips: the outline's y = 10 lies 10 pixels above the origin.
    expectVertex(contours[0][0], 100, 50, 100, 50, 100, 50);
    expectVertex(contours[0][1], 110, 50, 110, 50, 110, 50);
    expectVertex(contours[0][2], 110, 40, 110, 40, 110, 40);
    expectVertex(contours[0][3], 100, 40, 100, 40, 100, 40);
}

TEST(OutlineConvert, QuadraticIsRaisedToCubicWithControlsTwoThirdsOfTheWay) {
    // on (0,0), conic (30,30), on (60,0): cubic controls at (20,20) and (40,20).
    HandOutline hump({{0, 0}, {30, 30}, {60, 0}}, {ON, CONIC, ON});
    const auto contours = convertOutline(hump.outline, OutlinePlacement{});
    ASSERT_EQ(contours.size(), 1u);
    ASSERT_EQ(contours[0].size(), 2u);
    expectVertex(contours[0][0], 0, 0, 0, 0, 20, -20);    // closing line: in-tangent on the point
    expectVertex(contours[0][1], 60, 0, 40, -20, 60, 0);  // closing line: out-tangent on the point
}

TEST(OutlineConvert, ConsecutiveConicsImplyAVertexMidway) {
    // Four conic controls only (a diamond of controls): the implied on-curve
    // points lie midway between neighbours; the first is between last and first.
    HandOutline ring({{0, 30}, {30, 0}, {0, -30}, {-30, 0}}, {CONIC, CONIC, CONIC, CONIC});
    const auto contours = convertOutline(ring.outline, OutlinePlacement{});
    ASSERT_EQ(contours.size(), 1u);
    ASSERT_EQ(contours[0].size(), 4u);
    const auto& v = contours[0];
    // Start at mid((-30,0),(0,30)) = (-15,15), y flipped to -15.
    EXPECT_DOUBLE_EQ(v[0].x, -15.0);
    EXPECT_DOUBLE_EQ(v[0].y, -15.0);
    EXPECT_DOUBLE_EQ(v[1].x, 15.0);
    EXPECT_DOUBLE_EQ(v[1].y, -15.0);
    // The segment v0 -> v1 bends through control (0,30) -> (0,-30) after the flip.
    EXPECT_DOUBLE_EQ(v[0].tan_out_x, -15.0 + 2.0 / 3.0 * 15.0);
    EXPECT_DOUBLE_EQ(v[0].tan_out_y, -15.0 + 2.0 / 3.0 * -15.0);
    EXPECT_DOUBLE_EQ(v[1].tan_in_x, 15.0 + 2.0 / 3.0 * -15.0);
    // The closing segment v3 -> v0 sets v0's in-tangent.
    EXPECT_DOUBLE_EQ(v[0].tan_in_x, -15.0 + 2.0 / 3.0 * -15.0);
    EXPECT_DOUBLE_EQ(v[0].tan_in_y, -15.0 + 2.0 / 3.0 * 15.0);
}

TEST(OutlineConvert, CubicControlsPassThroughAndARepeatedStartPointIsDropped) {
    // A CFF-style contour that repeats its start point at the end.
    HandOutline drop({{0, 0}, {10, 20}, {30, 20}, {40, 0}, {0, 0}}, {ON, CUBIC, CUBIC, ON, ON});
    const auto contours = convertOutline(drop.outline, OutlinePlacement{});
    ASSERT_EQ(contours.size(), 1u);
    ASSERT_EQ(contours[0].size(), 2u);
    expectVertex(contours[0][0], 0, 0, 0, 0, 10, -20);
    expectVertex(contours[0][1], 40, 0, 30, -20, 40, 0);
}

TEST(OutlineConvert, ContoursKeepTheirOrderAndDegenerateOnesGo) {
    HandOutline two({{0, 0}, {5, 5}, {5, 5}, {0, 0}, {10, 0}, {10, 10}}, {ON, ON, ON, ON, ON, ON}, {1, 2, 5});
    const auto contours = convertOutline(two.outline, OutlinePlacement{});
    // Contour 1 is a single point: it encloses nothing and is dropped.
    ASSERT_EQ(contours.size(), 2u);
    EXPECT_EQ(contours[0].size(), 2u);
    EXPECT_EQ(contours[1].size(), 3u);
    EXPECT_DOUBLE_EQ(contours[1][2].y, -10.0);
}

struct Box {
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    void add(double x, double y) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
};

Box controlBox(const std::vector<Contour>& contours) {
    Box box;
    for (const Contour& c : contours) {
        for (const PF_PathVertex& v : c) {
            box.add(v.x, v.y);
            box.add(v.tan_in_x, v.tan_in_y);
            box.add(v.tan_out_x, v.tan_out_y);
        }
    }
    return box;
}

// FreeType's own anti-aliased rendering of the glyph, unhinted, with the
// glyph origin at pixel (0, 0) of the layer: the box of its non-zero pixels.
Box renderedAlphaBox(const FontFile& file, double size_px, unsigned glyph_id) {
    FtLibrary library = newFtLibrary();
    FtFace face = newFtFace(library.get(), file.path, file.face_index);
    EXPECT_EQ(FT_Set_Char_Size(face.get(), 0, std::lround(size_px * 64.0), 72, 72), 0);
    EXPECT_EQ(FT_Load_Glyph(face.get(), glyph_id, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP), 0);
    EXPECT_EQ(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL), 0);
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    Box box;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned col = 0; col < bitmap.width; ++col) {
            if (bitmap.buffer[static_cast<int>(row) * bitmap.pitch + static_cast<int>(col)] != 0) {
                const double x = face->glyph->bitmap_left + static_cast<double>(col);
                const double y = -face->glyph->bitmap_top + static_cast<double>(row);
                box.add(x, y);
                box.add(x + 1.0, y + 1.0);
            }
        }
    }
    return box;
}

class GlyphBox : public ::testing::TestWithParam<const char*> {};

TEST_P(GlyphBox, OutlineBoxMatchesRenderedAlphaWithinAPixel) {
    const FontFile file = findFont(kDefaultFontFamily);
    const double size = 37.5;
    const Font font(file, size);
    const ShapedRun run = font.shape(GetParam(), Flow::kHorizontal);
    ASSERT_EQ(run.glyphs.size(), 1u);
    const Box outline = controlBox(font.outline(run.glyphs[0].glyph_id, 0.0, 0.0));
    const Box alpha = renderedAlphaBox(file, size, run.glyphs[0].glyph_id);
    EXPECT_NEAR(outline.left, alpha.left, 1.0);
    EXPECT_NEAR(outline.right, alpha.right, 1.0);
    EXPECT_NEAR(outline.top, alpha.top, 1.0);
    EXPECT_NEAR(outline.bottom, alpha.bottom, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Letters, GlyphBox, ::testing::Values("o", "g", "Q", "W", "&", "7"));

TEST(GlyphOutline, PlacementMovesEveryPointByTheOrigin) {
    const Font font(findFont(kDefaultFontFamily), 30.0);
    const unsigned id = font.shape("g", Flow::kHorizontal).glyphs.at(0).glyph_id;
    const auto at0 = font.outline(id, 0.0, 0.0);
    const auto moved = font.outline(id, 12.25, -7.5);
    ASSERT_EQ(at0.size(), moved.size());
    for (std::size_t c = 0; c < at0.size(); ++c) {
        ASSERT_EQ(at0[c].size(), moved[c].size());
        for (std::size_t i = 0; i < at0[c].size(); ++i) {
            EXPECT_DOUBLE_EQ(moved[c][i].tan_in_x, at0[c][i].tan_in_x + 12.25);
            EXPECT_DOUBLE_EQ(moved[c][i].tan_out_y, at0[c][i].tan_out_y - 7.5);
        }
    }
}

}  // namespace
}  // namespace minihost::text
