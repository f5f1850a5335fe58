// Real glyphs through the effect's own grouping: the outlines a text layer
// hands out must come together as the characters a reader sees, at the
// effect's default thresholds (10 pixels) and the sizes text is set at.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "geometry/text_characters.h"
#include "minihost/text/font.h"
#include "minihost/text/text_layout.h"
#include "params/param_index.h"

namespace minihost::text {
namespace {

constexpr double kDefaultThreshold = 10.0;

// The paths capture would build from these outlines: one per contour, in
// text order, boxed over every vertex and tangent point.
std::vector<path> pathsOf(const std::vector<LaidOutGlyph>& glyphs) {
    std::vector<path> paths;
    for (const LaidOutGlyph& g : glyphs) {
        for (const Contour& c : g.contours) {
            path p;
            p.segment_count = static_cast<A_long>(c.size());
            p.vertices = c;
            p.left = p.right = c.front().x;
            p.top = p.bottom = c.front().y;
            for (const PF_PathVertex& v : c) {
                p.left = std::min({p.left, v.x, v.tan_in_x, v.tan_out_x});
                p.right = std::max({p.right, v.x, v.tan_in_x, v.tan_out_x});
                p.top = std::min({p.top, v.y, v.tan_in_y, v.tan_out_y});
                p.bottom = std::max({p.bottom, v.y, v.tan_in_y, v.tan_out_y});
            }
            paths.push_back(std::move(p));
        }
    }
    return paths;
}

struct Grouped {
    std::size_t outlines = 0;
    std::vector<character> characters;
};

// Laid out about an anchor well inside the layer, so no box is (0,0,0,0).
Grouped group(const std::string& text, double size_px = 36.0, Flow flow = Flow::kHorizontal) {
    const Font font(findFont(kDefaultFontFamily), size_px);
    ParagraphStyle style;
    style.flow = flow;
    std::vector<LaidOutGlyph> glyphs = layoutParagraph(text, font, style);
    for (LaidOutGlyph& g : glyphs) {
        for (Contour& c : g.contours) {
            for (PF_PathVertex& v : c) {
                v.x += 100;
                v.tan_in_x += 100;
                v.tan_out_x += 100;
                v.y += 100;
                v.tan_in_y += 100;
                v.tan_out_y += 100;
            }
        }
    }
    std::vector<path> paths = pathsOf(glyphs);
    Grouped out;
    out.outlines = paths.size();
    groupCharacters(paths, kDefaultThreshold, kDefaultThreshold, ALIGN_LEFT, 0, out.characters);
    return out;
}

TEST(TextGrouping, AnOWithItsCounterIsTwoOutlinesAndOneCharacter) {
    const Grouped o = group("o");
    EXPECT_EQ(o.outlines, 2u);
    ASSERT_EQ(o.characters.size(), 1u);
    EXPECT_EQ(o.characters[0].path_count, 2);
}

TEST(TextGrouping, DotsJoinTheirStemsAtTheDefaultThresholds) {
    for (const char* letter : {"i", "j"}) {
        const Grouped g = group(letter);
        EXPECT_EQ(g.outlines, 2u) << letter;
        EXPECT_EQ(g.characters.size(), 1u) << letter;
    }
    // Apart by a space, so that neighbours do not fall within each other.
    const Grouped word = group("i j i");
    EXPECT_EQ(word.outlines, 6u);
    EXPECT_EQ(word.characters.size(), 3u);
}

TEST(TextGrouping, ACombiningAccentJoinsItsLetter) {
    // q with a combining acute: a letter and a mark glyph, shaped apart.
    const Grouped g = group("aq\xcc\x81z");
    EXPECT_EQ(g.outlines, 2u + 2u + 1u + 1u);
    ASSERT_EQ(g.characters.size(), 3u);
    EXPECT_EQ(g.characters[1].path_count, 3);
}

TEST(TextGrouping, SeparateLettersStaySeparate) {
    EXPECT_EQ(group("HEXO").characters.size(), 4u);
    EXPECT_EQ(group("HEXO", 36.0, Flow::kVertical).characters.size(), 4u);
}

}  // namespace
}  // namespace minihost::text
