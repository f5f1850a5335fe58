#include "minihost/text/font.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "minihost/text/text_error.h"

namespace minihost::text {
namespace {

constexpr double kMaxSizePx = 10000.0;

// Pixels to 26.6 fixed point, the unit both libraries are scaled to.
long toFixed26(double px) { return std::lround(px * 64.0); }

}  // namespace

Font::Font(const FontFile& file, double size_px) : size_px_(size_px) {
    if (!(size_px > 0.0 && size_px <= kMaxSizePx)) {
        throw TextError("font size " + std::to_string(size_px) + " is outside 0 to " +
                        std::to_string(static_cast<int>(kMaxSizePx)) + " pixels");
    }
    library_ = newFtLibrary();
    face_ = newFtFace(library_.get(), file.path, file.face_index);
    const long size26 = std::max(1L, toFixed26(size_px));
    // At 72 dpi a point is a pixel, so the char size is the em in 26.6 pixels.
    if (FT_Set_Char_Size(face_.get(), 0, size26, 72, 72) != 0) {
        throw TextError("font \"" + file.path + "\" cannot be set to size " + std::to_string(size_px));
    }
    blob_.reset(hb_blob_create_from_file_or_fail(file.path.c_str()));
    if (!blob_) {
        throw TextError("cannot read font file \"" + file.path + "\"");
    }
    hb_face_.reset(hb_face_create(blob_.get(), static_cast<unsigned>(file.face_index)));
    hb_font_.reset(hb_font_create(hb_face_.get()));
    if (hb_face_get_glyph_count(hb_face_.get()) == 0) {
        throw TextError("font file \"" + file.path + "\" holds no glyphs HarfBuzz can read");
    }
    const int scale = static_cast<int>(size26);
    hb_font_set_scale(hb_font_.get(), scale, scale);
}

ShapedRun Font::shape(std::string_view utf8, Flow flow) const {
    HbBuffer buffer(hb_buffer_create());
    if (!hb_buffer_allocation_successful(buffer.get())) {
        throw TextError("out of memory while shaping text");
    }
    hb_buffer_add_utf8(buffer.get(), utf8.data(), static_cast<int>(utf8.size()), 0, static_cast<int>(utf8.size()));
    hb_buffer_guess_segment_properties(buffer.get());
    const bool right_to_left = hb_buffer_get_direction(buffer.get()) == HB_DIRECTION_RTL;
    if (flow == Flow::kVertical) {
        hb_buffer_set_direction(buffer.get(), HB_DIRECTION_TTB);
    }
    hb_shape(hb_font_.get(), buffer.get(), nullptr, 0);

    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer.get(), &count);
    ShapedRun run;
    run.glyphs.reserve(count);
    double pen_x = 0.0;
    double pen_y = 0.0;  // HarfBuzz's y points up; ours points down
    for (unsigned i = 0; i < count; ++i) {
        ShapedGlyph g;
        g.glyph_id = info[i].codepoint;
        g.cluster = info[i].cluster;
        g.x = (pen_x + pos[i].x_offset) / 64.0;
        g.y = -(pen_y + pos[i].y_offset) / 64.0;
        run.glyphs.push_back(g);
        pen_x += pos[i].x_advance;
        pen_y += pos[i].y_advance;
    }
    run.advance = flow == Flow::kHorizontal ? std::abs(pen_x) / 64.0 : std::abs(pen_y) / 64.0;
    // Right-to-left runs come out in visual order; the host lists outlines
    // in the order of the text.
    if (right_to_left && flow == Flow::kHorizontal) {
        std::reverse(run.glyphs.begin(), run.glyphs.end());
    }
    return run;
}

bool Font::hasGlyph(char32_t code_point) const { return FT_Get_Char_Index(face_.get(), code_point) != 0; }

std::vector<Contour> Font::outline(unsigned glyph_id, double x, double y) const {
    // Unhinted, so that the outline scales exactly as HarfBuzz's advances do.
    if (FT_Load_Glyph(face_.get(), glyph_id, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) {
        return {};  // a glyph the font cannot load draws nothing
    }
    const FT_GlyphSlot slot = face_->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) {
        return {};
    }
    return convertOutline(slot->outline, OutlinePlacement{x, y});
}

}  // namespace minihost::text
