// From checked-out parameters, the layer's position and scale and the
// render's downsample factors to the frame's RenderSettings. Plain arithmetic:
// the host calls that fetch the inputs live in render_characters.cpp and
// layer_pose.cpp.
#pragma once

#include <array>

#include "AE_Effect.h"
#include "geometry/downsample_factor.h"
#include "render/render_settings.h"

// The parameter values the render reads, converted but not yet scaled.
struct param_values {
    bool horizontal = true;
    A_long alignment = ALIGN_LEFT;
    bool enable_guide = true;
    A_long character_size = 0;  // truncated toward zero
    double x_threshold = 0.0;
    double y_threshold = 0.0;
    double tracking = 0.0;
    std::array<custom_size, kCustomSizePairs> custom_sizes{};  // sizes not yet scaled
    A_long buffer_expansion = 0;                               // truncated toward zero
};

// The layer's position (layer pixels at full resolution) and scale (1.0 is
// 100 %). What the host did not deliver stays 0.
struct layer_pose {
    double position_x = 0.0;
    double position_y = 0.0;
    double scale_x = 0.0;
    double scale_y = 0.0;
};

// Reads the definitions checked out for this frame, indexed by ParamIndex;
// index 0 (the input layer) is not read, nor are the four side parameters.
param_values readParamValues(PF_ParamDef* const params[]);

// Fills every field of settings except pixel_format, characters and status.
void scaleToRender(const param_values& values, const layer_pose& pose, PF_RationalScale downsample_x,
                   PF_RationalScale downsample_y, RenderSettings& settings);
