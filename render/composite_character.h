// Moves one character's pixels from the input into its place in the output:
// its source rectangle is copied one to one into a world of its size, which
// the host's transform_world composites onto the output, so that every pixel
// format takes the same path and the host does the sub-pixel resampling.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"
#include "render/layout.h"
#include "render/render_settings.h"

// Source over destination at full opacity.
inline constexpr PF_CompositeMode kCharacterCompositeMode{PF_Xfer_IN_FRONT, 0, 255, false, 0x8000};

// Draws nothing unless settings.status is 0. The world's creation and its
// disposal feed settings.status; copy and transform_world results do not.
void compositeCharacter(const PF_InData& in_data, const PF_WorldSuite2& worlds, RenderSettings& settings,
                        const placement& p, PF_EffectWorld& input, PF_EffectWorld& output);

// transform_world of src onto output through one matrix, as characters and
// guides both are: quality and field of in_data, straight alpha, no mask, the
// output's extent_hint as the destination rectangle. Its result is not used.
void transformOnto(const PF_InData& in_data, const PF_EffectWorld& src, const PF_CompositeMode& mode,
                   const PF_FloatMatrix& matrix, PF_EffectWorld& output);
