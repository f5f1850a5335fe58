// Anti-aliased filling of closed outlines, to draw a text layer's image from
// exact glyph shapes.
#pragma once

#include <vector>

#include "AE_Effect.h"
#include "AE_EffectSuites.h"

namespace minihost {

/// Fills the closed contours into dst with the nonzero winding rule and
/// composites colour x coverage over what is there (straight alpha, source
/// over: the same arithmetic as transformWorld's PF_Xfer_IN_FRONT).
///
/// A contour is a list of vertices; the segment from vertex i to vertex i+1
/// (the last one back to the first) is the cubic Bezier curve v_i, out_i,
/// in_{i+1}, v_{i+1} (x/y, tan_out_x/tan_out_y, tan_in_x/tan_in_y: absolute
/// points). A straight segment has its tangent points on its ends. Point p
/// lands at buffer position (p.x x scale_x + offset_x, p.y x scale_y +
/// offset_y); pixel (i, j) covers [i, i+1) x [j, j+1).
///
/// Drawn by FreeType's anti-aliasing rasterizer, whose coverage is the area
/// of the pixel inside the shape in 256ths, rounded down (a whole pixel is
/// exactly 1). Points go to it in 1/64 pixel, clamped to a million pixels
/// either way; curves are handed over as cubics split finely enough that the
/// chords it draws stay within 1/512 pixel of them. Contours with fewer than
/// two vertices or a point that is not finite add nothing; a glyph of more
/// than 32767 points is drawn in parts, a contour that long not at all.
/// Throws std::invalid_argument for a world that transformWorld would
/// reject, std::bad_alloc when memory runs out.
void fillOutlines(PF_EffectWorld& dst, const std::vector<std::vector<PF_PathVertex>>& contours, PF_Pixel color,
                  double scale_x, double scale_y, double offset_x, double offset_y);

}  // namespace minihost
