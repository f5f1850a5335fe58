// "AEGP Layer Suite" 11, 13 and 14: the effect's layer, its type, its
// times and its layer-to-world matrix. The three versions share one set of
// functions.
#include <cmath>

#include "AE_GeneralPlug.h"
#include "minihost/core/detail/call_context.h"
#include "minihost/core/host.h"
#include "minihost/suites/detail/suite_tables.h"

namespace minihost::detail {
namespace {

double secondsOf(CallContext& ctx, const A_Time* t) {
    if (t == nullptr) {
        ctx.reject("null time", A_Err_PARAMETER);
    }
    if (t->scale == 0) {
        ctx.reject("time with scale 0", A_Err_PARAMETER);
    }
    return static_cast<double>(t->value) / static_cast<double>(t->scale);
}

A_Err getLayerObjectType(AEGP_LayerH layerH, AEGP_ObjectType* object_type) {
    return guarded(HostFunction::AEGP_GetLayerObjectType, [&](CallContext& ctx) -> A_Err {
        ctx.checkLayer(layerH);
        if (object_type == nullptr) {
            ctx.reject("null output pointer", A_Err_PARAMETER);
        }
        *object_type = ctx.host().layer().objectType();
        return A_Err_NONE;
    });
}

// Layer and comp times share the scale; the offset is rounded to its ticks.
A_Err shiftTime(CallContext& ctx, AEGP_LayerH layerH, const A_Time* in, A_Time* out, double sign) {
    ctx.checkLayer(layerH);
    (void)secondsOf(ctx, in);
    if (out == nullptr) {
        ctx.reject("null output pointer", A_Err_PARAMETER);
    }
    const double ticks = std::round(ctx.host().layer().timeOffset() * static_cast<double>(in->scale));
    out->value = static_cast<A_long>(static_cast<double>(in->value) + sign * ticks);
    out->scale = in->scale;
    return A_Err_NONE;
}

A_Err convertCompToLayerTime(AEGP_LayerH layerH, const A_Time* comp_time, A_Time* layer_time) {
    return guarded(HostFunction::AEGP_ConvertCompToLayerTime,
                   [&](CallContext& ctx) -> A_Err { return shiftTime(ctx, layerH, comp_time, layer_time, -1.0); });
}

A_Err convertLayerToCompTime(AEGP_LayerH layerH, const A_Time* layer_time, A_Time* comp_time) {
    return guarded(HostFunction::AEGP_ConvertLayerToCompTime,
                   [&](CallContext& ctx) -> A_Err { return shiftTime(ctx, layerH, layer_time, comp_time, 1.0); });
}

A_Err getLayerToWorldXform(AEGP_LayerH layerH, const A_Time* comp_time, A_Matrix4* transform) {
    return guarded(HostFunction::AEGP_GetLayerToWorldXform, [&](CallContext& ctx) -> A_Err {
        ctx.checkLayer(layerH);
        const double seconds = secondsOf(ctx, comp_time);
        if (transform == nullptr) {
            ctx.reject("null output pointer", A_Err_PARAMETER);
        }
        *transform = ctx.host().layer().worldMatrixAt(seconds);
        return A_Err_NONE;
    });
}

template <typename Suite>
Suite makeSuite() {
    Suite s{};
    s.AEGP_GetLayerObjectType = getLayerObjectType;
    s.AEGP_ConvertCompToLayerTime = convertCompToLayerTime;
    s.AEGP_ConvertLayerToCompTime = convertLayerToCompTime;
    s.AEGP_GetLayerToWorldXform = getLayerToWorldXform;
    return s;
}

}  // namespace

const void* layerSuite11() {
    static const AEGP_LayerSuite5 suite = makeSuite<AEGP_LayerSuite5>();
    return &suite;
}
const void* layerSuite13() {
    static const AEGP_LayerSuite7 suite = makeSuite<AEGP_LayerSuite7>();
    return &suite;
}
const void* layerSuite14() {
    static const AEGP_LayerSuite8 suite = makeSuite<AEGP_LayerSuite8>();
    return &suite;
}

}  // namespace minihost::detail
