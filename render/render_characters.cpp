#include "render/render_characters.h"

#include "AE_EffectCB.h"
#include "AE_EffectSuites.h"
#include "AE_GeneralPlug.h"
#include "geometry/text_characters.h"
#include "host/scoped_suite.h"
#include "host/suite_handler.h"
#include "render/composite_character.h"
#include "render/guide_overlay.h"
#include "render/layer_pose.h"
#include "render/layout.h"
#include "render/render_setup.h"

namespace {

void drawRun(const PF_InData& in_data, const PF_WorldSuite2& worlds, RenderSettings& settings, PF_EffectWorld& input,
             PF_EffectWorld& output) {
    const world_origins origins{input.origin_x, input.origin_y, output.origin_x, output.origin_y};
    run_state run = prepareRun(settings);
    for (std::size_t k = 0; k < settings.characters.size(); ++k) {
        placement p;
        if (!computePlacement(settings, run, k, origins, p)) {
            continue;
        }
        compositeCharacter(in_data, worlds, settings, p, input, output);
        if (settings.enable_guide) {
            drawGuide(in_data, worlds, settings, p, k, output);
        }
    }
}

}  // namespace

PF_Err RenderCharacters(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_EffectWorld* input,
                        PF_EffectWorld* output) {
    // Declared so that the render ends in this order whichever way it ends:
    // the world suite is released, then the characters are freed, then the
    // cache releases the AEGP suites. Making the cache asks nothing of the
    // host, so the world suite is still the first suite acquired.
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RenderSettings settings;
    const ScopedSuite world_suite(kPFWorldSuite, kPFWorldSuiteVersion2, in_data, out_data);
    const PF_WorldSuite2& worlds = *world_suite.as<PF_WorldSuite2>();
    const param_values values = readParamValues(params);

    // From here on the output is transparent wherever no character lands.
    (void)in_data->utils->fill(in_data->effect_ref, nullptr, nullptr, output);
    settings.status = worlds.PF_GetPixelFormat(output, &settings.pixel_format);

    AEGP_LayerH layer = nullptr;
    AEGP_ObjectType type = AEGP_ObjectType_AV;
    if (settings.status == PF_Err_NONE) {
        settings.status = suites.PFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
    }
    if (settings.status == PF_Err_NONE) {
        settings.status = suites.LayerSuite11()->AEGP_GetLayerObjectType(layer, &type);
    }
    if (settings.status != PF_Err_NONE || type != AEGP_ObjectType_TEXT) {
        return settings.status;
    }

    const A_Time layer_time{in_data->current_time, in_data->time_scale};
    layer_pose pose;
    settings.status = readLayerPose(*in_data, suites, layer, layer_time, settings.status, pose);
    scaleToRender(values, pose, in_data->downsample_x, in_data->downsample_y, settings);

    // Whatever the capture delivered is laid out; its error is not ours to
    // report (none leaves the output transparent).
    (void)getTextCharacters(in_data, layer, layer_time, settings.x_tolerance, settings.y_tolerance, settings.characters,
                            settings.alignment, settings.expansion);

    drawRun(*in_data, worlds, settings, *input, *output);
    return settings.status;
}
