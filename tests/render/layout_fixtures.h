// Small builders for layout tests: boxes, settings and a laid-out run.
#pragma once

#include <cstddef>
#include <vector>

#include "geometry/character.h"
#include "render/layout.h"
#include "render/render_settings.h"

inline character box(double left, double top, double right, double bottom, A_long slot = 0) {
    character c;
    c.left = left;
    c.top = top;
    c.right = right;
    c.bottom = bottom;
    c.slot = slot;
    return c;
}

// n boxes 20 wide and 20 high, 30 apart, slots numbered as grouping numbers
// them for the alignment.
inline std::vector<character> row(std::size_t n, A_long alignment) {
    std::vector<character> cs;
    const auto count = static_cast<A_long>(n);
    for (A_long k = 0; k < count; ++k) {
        A_long slot = 0;
        if (alignment == ALIGN_LEFT) {
            slot = k;
        } else if (alignment == ALIGN_RIGHT) {
            slot = count - 1 - k;
        } else if (alignment == ALIGN_CENTER) {
            slot = count % 2 == 1 ? k - (count - 1) / 2 : (k < count / 2 ? k - count / 2 : k - count / 2 + 1);
        }
        const double x = 10.0 + 30.0 * k;
        cs.push_back(box(x, 5.0, x + 20.0, 25.0, slot));
    }
    return cs;
}

inline RenderSettings settingsFor(A_long alignment, std::vector<character> cs, double start = 100.0,
                                  A_long cell_size = 50, A_long expansion = 0, double track_step = 0.0) {
    RenderSettings s;
    s.alignment = alignment;
    s.characters = std::move(cs);
    s.start = start;
    s.cell_size = cell_size;
    s.expansion = expansion;
    s.track_step = track_step;
    return s;
}

struct laid_out {
    std::size_t k;  // run index, which also picks the guide colour
    placement p;
};

// Prepares the run and places every character, as the render does.
inline std::vector<laid_out> layOut(RenderSettings& s, const world_origins& origins = {}) {
    std::vector<laid_out> out;
    run_state run = prepareRun(s);
    for (std::size_t k = 0; k < s.characters.size(); ++k) {
        placement p;
        if (computePlacement(s, run, k, origins, p)) {
            out.push_back({k, p});
        }
    }
    return out;
}

// Where the character's box edge (left, or top in vertical mode) lands along
// the layout axis, in layer coordinates. Source pixel 0 is the floor of the
// edge minus the expansion, so the edge is source pixel fraction + expansion.
inline double landedEdge(const RenderSettings& s, const placement& p, const world_origins& origins = {}) {
    const double e = s.expansion;
    if (s.horizontal) {
        return p.translation.mat[2][0] + e + p.fraction_x + origins.output_x;
    }
    return p.translation.mat[2][1] + e + p.fraction_y + origins.output_y;
}
