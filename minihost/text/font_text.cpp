#include "minihost/text/font_text.h"

#include <algorithm>
#include <cmath>

#include "minihost/text/font.h"

namespace minihost::text {
namespace {

A_u_char channel(double value) {
    if (!(value > 0.0)) {
        return 0;  // NaN too
    }
    return static_cast<A_u_char>(std::lround(std::min(value, 255.0)));
}

}  // namespace

FontText::FontText(FontTextStyle style) : style_(std::move(style)), file_(findFont(style_.font)) {
    // Opening the font at the size of time 0 checks the file and the size
    // before any frame renders; an animated size is checked at every frame.
    fixed_ = layoutAt(style_.size_px.at(0.0));
    if (style_.size_px.animated()) {
        fixed_.clear();
    }
}

std::vector<Glyph> FontText::layoutAt(double size_px) const {
    const Font font(file_, size_px);
    std::vector<Glyph> glyphs;
    for (LaidOutGlyph& g : layoutParagraph(style_.text, font, style_.paragraph)) {
        glyphs.push_back(Glyph{std::move(g.contours), PF_Pixel{}});
    }
    return glyphs;
}

PF_Pixel FontText::colorAt(double t) const {
    return PF_Pixel{channel(style_.alpha.at(t)), channel(style_.red.at(t)), channel(style_.green.at(t)),
                    channel(style_.blue.at(t))};
}

std::vector<Glyph> FontText::glyphsAt(double layer_seconds) const {
    std::vector<Glyph> glyphs = style_.size_px.animated() ? layoutAt(style_.size_px.at(layer_seconds)) : fixed_;
    const PF_Pixel color = colorAt(layer_seconds);
    for (Glyph& g : glyphs) {
        g.color = color;
    }
    return glyphs;
}

}  // namespace minihost::text
