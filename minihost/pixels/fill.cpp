#include "minihost/pixels/world_ops.h"

namespace minihost {

PF_Err fillWorld(const PF_Pixel*, const PF_Rect*, PF_EffectWorld*) noexcept { return PF_Err_BAD_CALLBACK_PARAM; }

}  // namespace minihost
