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

// The text's code points; a byte that starts no valid UTF-8 sequence stands
// for itself (as U+FFFD would be drawn for it).
std::vector<char32_t> codePoints(const std::string& utf8) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const int length = byte < 0x80           ? 1
                           : (byte >> 5) == 0x6  ? 2
                           : (byte >> 4) == 0xe  ? 3
                           : (byte >> 3) == 0x1e ? 4
                                                 : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > utf8.size()) {
            out.push_back(0xfffd);
            ++i;
            continue;
        }
        char32_t c = length == 1 ? byte : byte & (0x7f >> length);
        for (int k = 1; k < length; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3f);
        }
        out.push_back(c);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

}  // namespace

FontText::FontText(FontTextStyle style) : style_(std::move(style)), file_(findFont(style_.font)) {
    // Opening the font at the size of time 0 checks the file and the size
    // before any frame renders; an animated size is checked at every frame.
    fixed_ = layoutAt(style_.size_px.at(0.0));
    const Font font(file_, style_.size_px.at(0.0));
    for (const char32_t c : codePoints(style_.text)) {
        const bool line_break = c == U'\n' || c == U'\r';
        if (!line_break && (c == U'\t' || !font.hasGlyph(c)) &&
            std::find(unsupported_.begin(), unsupported_.end(), c) == unsupported_.end()) {
            unsupported_.push_back(c);
        }
    }
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
