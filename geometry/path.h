// One glyph outline as the host delivers it, scaled to the render's pixels.
#pragma once

#include <vector>

#include "AE_EffectSuites.h"

struct path {
    A_long segment_count = 0;             // equals vertices.size()
    std::vector<PF_PathVertex> vertices;  // host's index order, scaled
    double left = 0.0;                    // box of every vertex and both tangent points
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

// A path whose box is exactly (0, 0, 0, 0) counts as empty: it has no
// segments, or grouping has already placed it in a character.
inline bool isEmptyPath(const path& p) { return p.left == 0.0 && p.top == 0.0 && p.right == 0.0 && p.bottom == 0.0; }
