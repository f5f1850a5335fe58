// Laying out a paragraph: lines, leading, alignment about an anchor point and
// the flow direction, as a text layer of the host does.
//
// Horizontal: line k's baseline lies k * leading below the anchor; "start"
// puts the line's start at the anchor, "center" its middle, "end" its end.
// Vertical: glyphs stand upright, one under the other, centred on their
// column; column k lies k * leading left of the anchor (columns run right to
// left), and "start" puts the column's top at the anchor.
#pragma once

#include <string>
#include <vector>

#include "minihost/text/font.h"

namespace minihost::text {

enum class Align { kStart, kCenter, kEnd };  // left/top, center, right/bottom

struct ParagraphStyle {
    double leading_px = 0.0;  // 0: 120 % of the font's size
    Align align = Align::kStart;
    Flow flow = Flow::kHorizontal;
};

// One glyph's outlines, in text order, in layer pixels at full resolution,
// relative to the anchor, y down. Glyphs without ink (spaces) are left out.
struct LaidOutGlyph {
    std::vector<Contour> contours;
    unsigned line = 0;     // which line (or column) of the paragraph
    unsigned cluster = 0;  // byte offset of its text in the whole paragraph
};

// Lays out utf8 (lines separated by "\n", "\r\n" or "\r"). Throws TextError.
std::vector<LaidOutGlyph> layoutParagraph(const std::string& utf8, const Font& font, const ParagraphStyle& style);

// The leading that style gives: its own, or 120 % of the font's size.
double leadingOf(const ParagraphStyle& style, double size_px);

}  // namespace minihost::text
