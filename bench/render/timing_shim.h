// A stand-in plug-in module for the render benchmark: it loads the real
// plug-in and forwards every command to it, but hands PF_Cmd_SMART_RENDER a
// copy of PF_InData whose fill, copy and transform_world time (or skip) the
// host's own callbacks. The benchmark reads the sums through the C functions
// below, found with dlsym. Single-threaded use only.
#pragma once

#include <cstdint>

extern "C" {

struct QaRenderTimings {
    std::int64_t smart_render_ns;    // whole EffectMain calls for PF_Cmd_SMART_RENDER
    std::int64_t pixel_callback_ns;  // inside fill, copy and transform_world
    std::int64_t smart_renders;
    std::int64_t fills, copies, transforms;
};

typedef void (*QaResetRenderTimingsFunc)(int stub_pixel_callbacks);
typedef QaRenderTimings (*QaReadRenderTimingsFunc)();
}
