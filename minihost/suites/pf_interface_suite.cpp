// "AEGP PF Interface Suite" 1: the effect's layer and references to the
// effect instance.
#include "AE_GeneralPlug.h"
#include "minihost/core/detail/call_context.h"
#include "minihost/suites/detail/suite_tables.h"

namespace minihost::detail {
namespace {

A_Err getEffectLayer(PF_ProgPtr effect_ref, AEGP_LayerH* layerPH) {
    return guarded(HostFunction::AEGP_GetEffectLayer, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        if (layerPH == nullptr) {
            ctx.reject("null output pointer", A_Err_PARAMETER);
        }
        *layerPH = ctx.layerHandle();
        return A_Err_NONE;
    });
}

A_Err getNewEffectForEffect(AEGP_PluginID /*aegp_plugin_id*/, PF_ProgPtr effect_ref, AEGP_EffectRefH* effect_refPH) {
    return guarded(HostFunction::AEGP_GetNewEffectForEffect, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        if (effect_refPH == nullptr) {
            ctx.reject("null output pointer", A_Err_PARAMETER);
        }
        *effect_refPH = ctx.newEffectRef();
        return A_Err_NONE;
    });
}

const AEGP_PFInterfaceSuite1 kSuite = {getEffectLayer, getNewEffectForEffect, nullptr, nullptr, nullptr};

}  // namespace

const void* pfInterfaceSuite1() { return &kSuite; }

}  // namespace minihost::detail
