// Private to minihost/pixels and its tests: transformWorld with its fast
// paths (whole-pixel and fractional translations) switched off, so that
// tests can hold them to the general resampler's results bit for bit.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCB.h"

namespace minihost::pixels_detail {

enum class TransformPath {
    kFastest,  // what transformWorld does: the fastest path that applies
    kGeneral,  // every pixel through the general resampler
};

/// transformWorld (world_ops.h) through the given path.
PF_Err transformWorldBy(TransformPath path, PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                        const PF_EffectWorld* src, const PF_CompositeMode* comp_mode, const PF_MaskWorld* mask,
                        const PF_FloatMatrix* matrices, A_long num_matrices, PF_Boolean src2dst_matrix,
                        const PF_Rect* dest_rect, PF_EffectWorld* dst) noexcept;

}  // namespace minihost::pixels_detail
