#include "minihost/text/text_layout.h"

#include <string_view>

namespace minihost::text {
namespace {

struct Line {
    std::string_view text;
    std::size_t offset = 0;  // of text in the paragraph
};

std::vector<Line> splitLines(const std::string& utf8) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (utf8[i] == '\n' || utf8[i] == '\r') {
            lines.push_back(Line{std::string_view(utf8).substr(begin, i - begin), begin});
            i += (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ? 2 : 1;
            begin = i;
        } else {
            ++i;
        }
    }
    lines.push_back(Line{std::string_view(utf8).substr(begin), begin});
    return lines;
}

// How far before the anchor a run of this length starts along its flow.
double alignShift(Align align, double advance) {
    switch (align) {
        case Align::kCenter:
            return -advance * 0.5;
        case Align::kEnd:
            return -advance;
        case Align::kStart:
            break;
    }
    return 0.0;
}

}  // namespace

double leadingOf(const ParagraphStyle& style, double size_px) {
    return style.leading_px > 0.0 ? style.leading_px : size_px * 1.2;
}

std::vector<LaidOutGlyph> layoutParagraph(const std::string& utf8, const Font& font, const ParagraphStyle& style) {
    std::vector<LaidOutGlyph> glyphs;
    const double leading = leadingOf(style, font.size());
    const std::vector<Line> lines = splitLines(utf8);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (lines[k].text.empty()) {
            continue;
        }
        const ShapedRun run = font.shape(lines[k].text, style.flow);
        const double shift = alignShift(style.align, run.advance);
        const double across = static_cast<double>(k) * leading;
        for (const ShapedGlyph& g : run.glyphs) {
            const double x = style.flow == Flow::kHorizontal ? g.x + shift : g.x - across;
            const double y = style.flow == Flow::kHorizontal ? g.y + across : g.y + shift;
            LaidOutGlyph out;
            out.contours = font.outline(g.glyph_id, x, y);
            if (out.contours.empty()) {
                continue;
            }
            out.line = static_cast<unsigned>(k);
            out.cluster = static_cast<unsigned>(lines[k].offset + g.cluster);
            glyphs.push_back(std::move(out));
        }
    }
    return glyphs;
}

}  // namespace minihost::text
