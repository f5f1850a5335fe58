// "AEGP PF Interface Suite" 1: the effect's layer and references to the
// effect instance.
#include "AE_GeneralPlug.h"
#include "minihost/call_context.h"
#include "minihost/suites/suite_tables.h"

namespace minihost::detail {
namespace {

A_Err GetEffectLayer(PF_ProgPtr effect_ref, AEGP_LayerH* layerPH) {
    return guarded("AEGP_GetEffectLayer", [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref, "AEGP_GetEffectLayer");
        if (layerPH == nullptr) {
            ctx.reject("AEGP_GetEffectLayer", "null output pointer", A_Err_PARAMETER);
        }
        *layerPH = ctx.layerHandle();
        return A_Err_NONE;
    });
}

A_Err GetNewEffectForEffect(AEGP_PluginID /*aegp_plugin_id*/, PF_ProgPtr effect_ref, AEGP_EffectRefH* effect_refPH) {
    return guarded("AEGP_GetNewEffectForEffect", [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref, "AEGP_GetNewEffectForEffect");
        if (effect_refPH == nullptr) {
            ctx.reject("AEGP_GetNewEffectForEffect", "null output pointer", A_Err_PARAMETER);
        }
        *effect_refPH = ctx.newEffectRef();
        return A_Err_NONE;
    });
}

const AEGP_PFInterfaceSuite1 kSuite = {GetEffectLayer, GetNewEffectForEffect, nullptr, nullptr, nullptr};

}  // namespace

const void* pfInterfaceSuite1() { return &kSuite; }

}  // namespace minihost::detail
