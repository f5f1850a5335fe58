// Where a text layer's glyphs come from.
//
// A glyph is one or more closed contours (PF_PathVertex lists: vertex point,
// in-tangent point and out-tangent point, absolute, y down) with a fill
// colour, in the text's own coordinates: the layer's transform (anchor point,
// scale, rotation, position, parent) maps them into the comp's pixel space.
// The outline set the effect reads and the layer image it gets are both made
// from glyphsAt: outlines in text order, image filled with anti-aliased
// coverage.
//
// ExactText is a source a test controls glyph by glyph; a font-backed source
// plugs into the same interface from its own files.
#pragma once

#include <vector>

#include "AE_Effect.h"
#include "AE_EffectSuites.h"

namespace minihost {

using Contour = std::vector<PF_PathVertex>;

struct Glyph {
    std::vector<Contour> contours;  // in text order
    PF_Pixel color{255, 255, 255, 255};
};

class TextSource {
public:
    virtual ~TextSource() = default;
    /// The glyphs at a time in seconds of layer time, in text order. Must be
    /// safe to call from several threads at once.
    virtual std::vector<Glyph> glyphsAt(double layer_seconds) const = 0;
    /// The glyphs themselves when they are the same at every time (read
    /// without a copy), else null.
    virtual const std::vector<Glyph>* fixedGlyphs() const { return nullptr; }
};

/// Glyphs a test gives, the same at every time.
class ExactText : public TextSource {
public:
    ExactText() = default;
    explicit ExactText(std::vector<Glyph> glyphs) : glyphs_(std::move(glyphs)) {}
    std::vector<Glyph> glyphsAt(double layer_seconds) const override;
    const std::vector<Glyph>* fixedGlyphs() const override { return &glyphs_; }

private:
    std::vector<Glyph> glyphs_;
};

/// A straight-edged contour through the points (tangents on the vertices).
Contour polygonContour(const std::vector<A_FloatPoint>& points);
/// The rectangle [left, right] x [top, bottom], clockwise on screen.
Contour rectangleContour(double left, double top, double right, double bottom);
/// A circle of four cubic Bézier arcs.
Contour circleContour(double cx, double cy, double radius);
/// The same contour run the other way round (a hole under nonzero winding).
Contour reversed(const Contour& contour);
/// A glyph made of one rectangle.
Glyph rectangleGlyph(double left, double top, double right, double bottom, PF_Pixel color = {255, 255, 255, 255});

}  // namespace minihost
