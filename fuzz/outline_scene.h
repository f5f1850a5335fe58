// One fuzz input for the render: the glyph outlines of a text layer, the
// effect's control values, the layer's scale and the render's downsample and
// depth, decoded from bytes.
//
// Values are small numbers on a half-pixel grid or one of the values a
// broken host or project can deliver (NaN, infinities, 1e300, numbers past
// 32 bits). Lengths that decide world sizes stay within what a host would
// allocate, so that a run measures the effect, not the machine's memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "minihost/core/host.h"

namespace qa_fuzz {

struct ControlValue {
    PF_ParamIndex index;
    double value;
};

struct OutlineScene {
    std::vector<minihost::Glyph> glyphs;
    std::vector<ControlValue> controls;
    double scale_x = 100.0, scale_y = 100.0;  // percent
    PF_RationalScale downsample_x{1, 1}, downsample_y{1, 1};
    minihost::Depth depth = minihost::Depth::k8;
    A_short api_minor = 28;
};

OutlineScene decodeOutlineScene(const std::uint8_t* data, std::size_t size);

// Renders the scene through the stand-in host (one host for the process,
// set up on first use) and aborts with a message when the render breaks a
// rule: an answer other than success or a host's refusal, or a ledger that
// is not clean. The scene's glyphs move into the host's layer.
void renderOutlineScene(OutlineScene scene);

}  // namespace qa_fuzz
