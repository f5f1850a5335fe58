#include "minihost/pixels/world_ops.h"

namespace minihost {

PF_Err copyWorld(const PF_EffectWorld*, PF_EffectWorld*, const PF_Rect*, const PF_Rect*) noexcept {
    return PF_Err_BAD_CALLBACK_PARAM;
}

}  // namespace minihost
