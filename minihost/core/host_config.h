// What the host puts into PF_InData for every command, and the pixel depth
// of its render worlds.
#pragma once

#include "AE_Effect.h"
#include "minihost/core/four_chars.h"
#include "minihost/pixels/depth.h"

namespace minihost {

inline constexpr A_long kApplIdAfterEffects = static_cast<A_long>(fourChars("FXTC"));
inline constexpr A_long kApplIdPremierePro = static_cast<A_long>(fourChars("PrMr"));

struct HostConfig {
    A_long appl_id = kApplIdAfterEffects;
    /// Effect API version; the render reads position and scale differently
    /// below minor 15 and from 15 on.
    A_short api_major = 13;
    A_short api_minor = 28;
    PF_Quality quality = PF_Quality_HI;
    PF_Field field = PF_Field_FRAME;
    /// Layer time of the frame, in units of 1 / time_scale seconds.
    A_long current_time = 0;
    A_long time_step = 1;
    A_u_long time_scale = 24;
    A_long total_time = 240;
    PF_RationalScale downsample_x{1, 1};
    PF_RationalScale downsample_y{1, 1};
    Depth depth = Depth::k8;
};

}  // namespace minihost
