#include "minihost/pixels/world_ops.h"

namespace minihost {

PF_Err transformWorld(PF_Quality, PF_ModeFlags, PF_Field, const PF_EffectWorld*, const PF_CompositeMode*,
                      const PF_MaskWorld*, const PF_FloatMatrix*, A_long, PF_Boolean, const PF_Rect*,
                      PF_EffectWorld*) noexcept {
    return PF_Err_BAD_CALLBACK_PARAM;
}

}  // namespace minihost
