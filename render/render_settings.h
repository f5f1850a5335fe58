// What one frame's render derives once from the parameters, the layer and the
// render's resolution, and what layout, compositing and guide read.
//
// Lengths are pixels of the current render in the layer's coordinate space:
// parameter lengths already carry the layer's scale and the downsample
// factor, and characters come in the same space.
#pragma once

#include <array>
#include <vector>

#include "AE_Effect.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"
#include "geometry/character.h"
#include "params/param_index.h"

// One "Custom Size" pair: the run position it applies to (-1: none) and its
// cell length.
struct custom_size {
    A_long index = -1;
    A_long size = 0;
};

struct RenderSettings {
    bool horizontal = true;  // "Text Mode" is Horizontal; anything else lays out along y
    A_long alignment = ALIGN_LEFT;
    bool enable_guide = true;
    double dsx = 1.0;  // downsample factors of the render
    double dsy = 1.0;
    double scale_x = 1.0;     // layer scale (1.0 is 100 %) times dsx
    double scale_y = 1.0;     // layer scale times dsy
    double axis_scale = 1.0;  // scale_x when horizontal, else scale_y
    double start = 0.0;       // layer position along the layout axis
    A_long cell_size = 0;
    std::array<custom_size, kCustomSizePairs> custom_sizes{};
    double track_step = 0.0;
    double x_tolerance = 0.0;
    double y_tolerance = 0.0;
    A_long expansion = 0;
    PF_PixelFormat pixel_format = PF_PixelFormat_INVALID;
    std::vector<character> characters;
    // Sticky: each host call that can fail is made only while this is 0, and
    // the first error stays.
    PF_Err status = PF_Err_NONE;
};
