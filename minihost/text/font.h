// One font at one size: FreeType for the outlines, HarfBuzz for shaping. Both
// read the same file and scale the same font units linearly (no hinting), so
// the pen positions HarfBuzz gives and the outlines FreeType gives agree.
//
// A Font is not safe to use from two threads at once; make one per thread.
#pragma once

#include <string_view>
#include <vector>

#include "minihost/text/font_lookup.h"
#include "minihost/text/ft_guards.h"
#include "minihost/text/hb_guards.h"
#include "minihost/text/outline_convert.h"

namespace minihost::text {

enum class Flow { kHorizontal, kVertical };  // vertical runs top to bottom

// One glyph of a shaped run, in pixels relative to the run's start, y down.
struct ShapedGlyph {
    unsigned glyph_id = 0;
    unsigned cluster = 0;  // byte offset of its text in the run
    double x = 0.0;        // where the glyph's own origin goes
    double y = 0.0;
};

struct ShapedRun {
    std::vector<ShapedGlyph> glyphs;  // in text order
    double advance = 0.0;             // length of the run along its flow, >= 0
};

class Font {
public:
    // size_px: the em size in pixels (> 0, at most 10000). Throws TextError.
    Font(const FontFile& file, double size_px);

    // Shapes one line of UTF-8 text (no line breaks) with kerning, ligatures
    // and mark positioning, as the font's tables say.
    ShapedRun shape(std::string_view utf8, Flow flow) const;

    // The glyph's contours with its origin at (x, y) in layer pixels, y down.
    std::vector<Contour> outline(unsigned glyph_id, double x, double y) const;

    // True when the font maps the character to a glyph of its own.
    bool hasGlyph(char32_t code_point) const;

    double size() const { return size_px_; }

private:
    double size_px_;
    FtLibrary library_;
    FtFace face_;
    HbBlob blob_;
    HbFace hb_face_;
    HbFont hb_font_;
};

}  // namespace minihost::text
