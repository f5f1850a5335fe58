// A text layer's content set in a real font: the stand-in host's text source
// for everything that is not a hand-made test glyph.
//
// The glyphs are laid out about the layer's anchor (see text_layout.h); the
// layer's transform then places them in the comp. Font size and fill colour
// may be animated; everything else holds for the whole layer.
#pragma once

#include <memory>
#include <string>

#include "minihost/model/animated.h"
#include "minihost/text/font_lookup.h"
#include "minihost/text/text_layout.h"
#include "minihost/model/text_source.h"

namespace minihost::text {

struct FontTextStyle {
    std::string text;                                              // UTF-8, lines separated by line breaks
    std::string font = kDefaultFontFamily;                         // family name or font file path
    Animated size_px{40.0};                                        // em size in layer pixels
    ParagraphStyle paragraph;                                      // leading, alignment, flow
    Animated red{255.0}, green{255.0}, blue{255.0}, alpha{255.0};  // 0 to 255
};

class FontText : public TextSource {
public:
    // Finds and opens the font and checks the size; throws TextError with
    // a one-line message when the font is missing or the size unusable.
    explicit FontText(FontTextStyle style);

    // Safe from several threads at once: each call shapes with a Font of its
    // own unless the size never changes, when the layout made at
    // construction is handed out.
    std::vector<Glyph> glyphsAt(double layer_seconds) const override;

    const FontFile& fontFile() const { return file_; }

    // Characters of the text drawn as the font draws what it has no glyph
    // for (its "missing" box, or nothing), and tabs, which a text layer
    // draws as the font does: each once, in text order.
    const std::vector<char32_t>& unsupportedCharacters() const { return unsupported_; }

private:
    std::vector<Glyph> layoutAt(double size_px) const;
    PF_Pixel colorAt(double layer_seconds) const;

    FontTextStyle style_;
    FontFile file_;
    std::vector<Glyph> fixed_;  // the layout when the size is not animated
    std::vector<char32_t> unsupported_;
};

}  // namespace minihost::text
