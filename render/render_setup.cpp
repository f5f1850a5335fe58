#include "render/render_setup.h"

#include "render/int_conversion.h"

param_values readParamValues(PF_ParamDef* const params[]) {
    param_values v;
    v.horizontal = params[PARAM_TEXT_MODE]->u.pd.value == TEXT_MODE_HORIZONTAL;
    // Slider lengths are whole pixels: truncated toward zero, saturated (see
    // int_conversion.h) so that absurd host values stay defined.
    v.character_size = truncateSaturated(params[PARAM_CHARACTER_SIZE]->u.fs_d.value);
    v.x_threshold = params[PARAM_X_THRESHOLD]->u.fs_d.value;
    v.y_threshold = params[PARAM_Y_THRESHOLD]->u.fs_d.value;
    v.tracking = params[PARAM_TRACKING]->u.fs_d.value;
    // Only the low byte of a checkbox value counts.
    v.enable_guide = (params[PARAM_ENABLE_GUIDE]->u.bd.value & 0xFF) != 0;
    v.alignment = params[PARAM_TEXT_ALIGNMENT]->u.pd.value;
    for (int p = 1; p <= kCustomSizePairs; ++p) {
        custom_size& pair = v.custom_sizes[static_cast<std::size_t>(p - 1)];
        const A_long index = truncateSaturated(params[pairIndexParam(p)]->u.fs_d.value);
        // "Character Index" 0 means the pair is unused: -1 matches no position.
        pair.index = index == 0 ? -1 : index;
        pair.size = truncateSaturated(params[pairSizeParam(p)]->u.fs_d.value);
    }
    v.buffer_expansion = truncateSaturated(params[PARAM_BUFFER_EXPANSION]->u.fs_d.value);
    return v;
}

void scaleToRender(const param_values& values, const layer_pose& pose, PF_RationalScale downsample_x,
                   PF_RationalScale downsample_y, RenderSettings& s) {
    s.horizontal = values.horizontal;
    s.alignment = values.alignment;
    s.enable_guide = values.enable_guide;

    s.dsx = downsampleFactor(downsample_x);
    s.dsy = downsampleFactor(downsample_y);
    const double position_x = pose.position_x * s.dsx;
    const double position_y = pose.position_y * s.dsy;
    s.scale_x = pose.scale_x * s.dsx;
    s.scale_y = pose.scale_y * s.dsy;

    s.axis_scale = s.horizontal ? s.scale_x : s.scale_y;
    s.start = s.horizontal ? position_x : position_y;

    // Truncated a second time after scaling; saturated because a degenerate
    // layer matrix or downsample factor can make the product NaN or infinite.
    s.cell_size = truncateSaturated(static_cast<double>(values.character_size) * s.axis_scale);
    for (std::size_t i = 0; i < s.custom_sizes.size(); ++i) {
        s.custom_sizes[i].index = values.custom_sizes[i].index;
        s.custom_sizes[i].size = truncateSaturated(static_cast<double>(values.custom_sizes[i].size) * s.axis_scale);
    }
    s.track_step = s.axis_scale * values.tracking;
    s.x_tolerance = values.x_threshold * s.scale_x;
    s.y_tolerance = values.y_threshold * s.scale_y;
    // The margin follows the horizontal downsample in both modes and ignores
    // the layer's scale: it is a margin of buffer pixels, not of the text.
    s.expansion = truncateSaturated(static_cast<double>(values.buffer_expansion) * s.dsx);
}
