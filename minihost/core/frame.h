// One frame as the host renders it: PF_Cmd_SMART_PRE_RENDER, then (when the
// pre-render succeeded) PF_Cmd_SMART_RENDER.
#pragma once

#include <optional>

#include "AE_Effect.h"
#include "minihost/pixels/world.h"

namespace minihost {

struct FrameRequest {
    /// Layer time in units of 1 / time_scale s; default HostConfig::current_time.
    std::optional<A_long> time;
    /// The rectangle the host asks for, in layer pixels at the current
    /// resolution; default the layer's bounds (the comp rectangle times the
    /// downsample factors, rounded up).
    std::optional<PF_LRect> rect;
    /// Area the input world covers; default what the effect checked out,
    /// clipped to the layer's bounds. Its left/top become the input's origin.
    std::optional<PF_LRect> input_rect;
    /// Depth of the input and output worlds; default HostConfig::depth.
    std::optional<Depth> depth;
    /// Colour the output world holds before the render (the real host gives
    /// no guarantee); default transparent black.
    std::optional<PF_Pixel> output_fill;
    /// The output world's extent_hint, in its buffer pixels; default the
    /// whole world.
    std::optional<PF_Rect> output_extent_hint;
    /// checkout_layer_pixels succeeds but hands back no world.
    bool no_input = false;
    /// checkout_output succeeds but hands back no world.
    bool no_output = false;
};

struct Frame {
    PF_Err pre_render_err = PF_Err_NONE;
    /// Only meaningful when rendered: the smart render runs only after a
    /// successful pre-render.
    PF_Err render_err = PF_Err_NONE;
    bool rendered = false;
    /// What the effect answered in the pre-render's output record.
    PF_PreRenderOutput pre{};
    /// What the host answered to the effect's checkout_layer (id 0).
    PF_CheckoutResult checkout{};
    /// The layer image the effect was handed (origin = its rectangle's
    /// left/top), and the output world: the request clipped to the
    /// pre-render's result_rect. Absent when the host had none to give.
    std::optional<World> input;
    std::optional<World> output;
    /// The output record of the smart render (message, flags).
    PF_OutData out_data{};
};

}  // namespace minihost
