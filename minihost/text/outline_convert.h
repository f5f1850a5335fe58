// FreeType outlines into the host's path form.
//
// A contour becomes one closed list of PF_PathVertex: every on-curve point is
// a vertex; the segment from vertex i to vertex i + 1 (the last one wrapping to
// the first) is the cubic Bezier vertex_i, out-tangent_i, in-tangent_(i+1),
// vertex_(i+1). Quadratic curves are raised to cubics; a straight segment has
// its tangents on its ends. Two quadratic control points in a row imply the
// on-curve point midway, which becomes a vertex too.
#pragma once

#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "AE_EffectSuites.h"

namespace minihost::text {

using Contour = std::vector<PF_PathVertex>;

// Where the outline's origin lands in layer pixels (y down). FreeType's
// outline is in 26.6 fixed point with y up.
struct OutlinePlacement {
    double origin_x = 0.0;
    double origin_y = 0.0;
};

// Converts every contour of outline, in the outline's order. Contours with
// fewer than two distinct points are dropped: they enclose nothing.
std::vector<Contour> convertOutline(const FT_Outline& outline, OutlinePlacement placement);

}  // namespace minihost::text
