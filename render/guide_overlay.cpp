#include "render/guide_overlay.h"

#include "AE_EffectCB.h"
#include "render/composite_character.h"
#include "render/matrix.h"
#include "render/temporary_world.h"

const PF_Pixel& guideColor(std::size_t k) { return kGuideColors[k % kGuideColors.size()]; }

PF_FloatMatrix guideMatrix(const RenderSettings& settings, const placement& p) {
    PF_FloatMatrix m = p.translation;
    if (settings.horizontal) {
        TranslateMatrix(m, -p.center_offset, 0.0);
    } else {
        TranslateMatrix(m, 0.0, -p.center_offset);
    }
    return m;
}

void drawGuide(const PF_InData& in_data, const PF_WorldSuite2& worlds, RenderSettings& settings, const placement& p,
               std::size_t k, PF_EffectWorld& output) {
    if (settings.status != PF_Err_NONE) {
        return;
    }
    const A_long width = settings.horizontal ? p.advance : p.width;
    const A_long height = settings.horizontal ? p.height : p.advance;
    TemporaryWorld block(worlds, in_data.effect_ref);
    settings.status = block.create(width, height, settings.pixel_format);
    if (settings.status != PF_Err_NONE) {
        return;
    }
    (void)in_data.utils->fill(in_data.effect_ref, &guideColor(k), nullptr, &block.world());
    transformOnto(in_data, block.world(), kGuideCompositeMode, guideMatrix(settings, p), output);
    settings.status = block.dispose();
}
