// The guide: a half-intensity colour block over every drawn character's cell,
// composited in Screen mode so that the cells can be seen while the effect is
// set up. Along the layout axis it covers the cell with the expansion on both
// sides; across it, the character's source rectangle.
#pragma once

#include <array>
#include <cstddef>

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"
#include "render/layout.h"
#include "render/render_settings.h"

// Red, green, blue, yellow, magenta, by run position modulo 5; 8-bit colours
// whatever the render's depth.
inline constexpr std::array<PF_Pixel, 5> kGuideColors{{
    {255, 128, 0, 0},
    {255, 0, 128, 0},
    {255, 0, 0, 128},
    {255, 128, 128, 0},
    {255, 128, 0, 128},
}};

inline constexpr PF_CompositeMode kGuideCompositeMode{PF_Xfer_SCREEN, 0, 255, false, 0x8000};

// Colour of the guide at 0-based run index k; skipped characters use theirs up.
const PF_Pixel& guideColor(std::size_t k);

// The guide's matrix: the character's translation without its centring, so
// that the block starts where the cell's expansion margin starts.
PF_FloatMatrix guideMatrix(const RenderSettings& settings, const placement& p);

// Draws the guide of the character at run index k; nothing unless
// settings.status is 0. World creation and disposal feed settings.status.
void drawGuide(const PF_InData& in_data, const PF_WorldSuite2& worlds, RenderSettings& settings, const placement& p,
               std::size_t k, PF_EffectWorld& output);
