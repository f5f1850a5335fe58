#include "render/composite_character.h"

#include "AE_EffectCB.h"
#include "render/temporary_world.h"

void transformOnto(const PF_InData& in_data, const PF_EffectWorld& src, const PF_CompositeMode& mode,
                   const PF_FloatMatrix& matrix, PF_EffectWorld& output) {
    // Not checked: a failed composite leaves the character missing or
    // partial, which is no reason to stop the run.
    (void)in_data.utils->transform_world(in_data.effect_ref, in_data.quality, PF_MF_Alpha_STRAIGHT, in_data.field, &src,
                                         &mode, nullptr, &matrix, 1, true, &output.extent_hint, &output);
}

void compositeCharacter(const PF_InData& in_data, const PF_WorldSuite2& worlds, RenderSettings& settings,
                        const placement& p, PF_EffectWorld& input, PF_EffectWorld& output) {
    if (settings.status != PF_Err_NONE) {
        return;
    }
    TemporaryWorld glyph(worlds, in_data.effect_ref);
    settings.status = glyph.create(p.width, p.height, settings.pixel_format);
    if (settings.status != PF_Err_NONE) {
        return;
    }
    // Same size on both sides: one to one. Where the rectangle leaves the
    // input, the cleared world stays transparent.
    PF_Rect source = p.buffer_rect;
    (void)in_data.utils->copy(in_data.effect_ref, &input, &glyph.world(), &source, nullptr);
    transformOnto(in_data, glyph.world(), kCharacterCompositeMode, p.translation, output);
    settings.status = glyph.dispose();
}
