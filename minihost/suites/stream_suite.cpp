// "AEGP Stream Suite" 7 and 9: effect parameter streams and the layer's own
// transform properties.
#include "AE_GeneralPlug.h"
#include "minihost/core/detail/call_context.h"
#include "minihost/core/host.h"
#include "minihost/suites/detail/suite_tables.h"

namespace minihost::detail {
namespace {

A_Err getNewEffectStreamByIndex(AEGP_PluginID /*aegp_plugin_id*/, AEGP_EffectRefH effect_refH,
                                PF_ParamIndex param_index, AEGP_StreamRefH* streamPH) {
    return guarded(HostFunction::AEGP_GetNewEffectStreamByIndex, [&](CallContext& ctx) -> A_Err {
        if (!ctx.liveEffectRef(effect_refH)) {
            ctx.reject("effect reference not live in this call", A_Err_PARAMETER);
        }
        if (param_index < 1 || param_index >= ctx.host().params().count()) {
            ctx.reject("parameter index " + std::to_string(param_index) + " out of range", A_Err_PARAMETER);
        }
        if (streamPH == nullptr) {
            ctx.reject("null output pointer", A_Err_PARAMETER);
        }
        *streamPH = ctx.newStream(param_index);
        return A_Err_NONE;
    });
}

A_Err disposeStream(AEGP_StreamRefH streamH) {
    return guarded(
        HostFunction::AEGP_DisposeStream,
        [&](CallContext& ctx) -> A_Err {
            if (!ctx.disposeStream(streamH)) {
                ctx.reject("stream reference not live (never obtained, or disposed of already)", A_Err_PARAMETER);
            }
            return A_Err_NONE;
        },
        Kind::kGivesBack);
}

// Version 7 answers an AEGP_StreamVal, version 9 an AEGP_StreamVal2: the
// same union under two names.
template <typename StreamVal>
A_Err getLayerStreamValue(AEGP_LayerH layerH, AEGP_LayerStream which_stream, AEGP_LTimeMode time_mode,
                          const A_Time* timeP, A_Boolean /*pre_expressionB*/, StreamVal* stream_valP,
                          AEGP_StreamType* strm_typeP) {
    return guarded(HostFunction::AEGP_GetLayerStreamValue, [&](CallContext& ctx) -> A_Err {
        ctx.checkLayer(layerH);
        if (timeP == nullptr || timeP->scale == 0 || stream_valP == nullptr) {
            ctx.reject("null time, time with scale 0, or null value pointer", A_Err_PARAMETER);
        }
        if (time_mode != AEGP_LTimeMode_LayerTime && time_mode != AEGP_LTimeMode_CompTime) {
            ctx.reject("unknown time mode", A_Err_PARAMETER);
        }
        const Layer& layer = ctx.host().layer();
        double seconds = static_cast<double>(timeP->value) / static_cast<double>(timeP->scale);
        if (time_mode == AEGP_LTimeMode_CompTime) {
            seconds -= layer.timeOffset();
        }
        const LayerTransform& t = layer.transform();
        StreamVal value{};
        AEGP_StreamType type = AEGP_StreamType_ThreeD_SPATIAL;
        switch (which_stream) {
            case AEGP_LayerStream_ANCHORPOINT:
            case AEGP_LayerStream_POSITION: {
                const A_FloatPoint p = (which_stream == AEGP_LayerStream_POSITION ? t.position : t.anchor).at(seconds);
                value.three_d = {p.x, p.y, 0.0};
                break;
            }
            case AEGP_LayerStream_SCALE: {
                const A_FloatPoint s = t.scale.at(seconds);
                value.three_d = {s.x, s.y, 100.0};
                type = AEGP_StreamType_ThreeD;
                break;
            }
            case AEGP_LayerStream_ROTATION:
                value.one_d = t.rotation_degrees;
                type = AEGP_StreamType_OneD;
                break;
            case AEGP_LayerStream_OPACITY:
                value.one_d = 100.0;
                type = AEGP_StreamType_OneD;
                break;
            default:
                ctx.reject("unknown layer stream " + std::to_string(which_stream), A_Err_PARAMETER);
        }
        *stream_valP = value;
        if (strm_typeP != nullptr) {
            *strm_typeP = type;
        }
        return A_Err_NONE;
    });
}

template <typename Suite>
Suite makeSuite() {
    Suite s{};
    s.AEGP_GetNewEffectStreamByIndex = getNewEffectStreamByIndex;
    s.AEGP_DisposeStream = disposeStream;
    s.AEGP_GetLayerStreamValue = getLayerStreamValue;
    return s;
}

}  // namespace

const void* streamSuite7() {
    static const AEGP_StreamSuite2 suite = makeSuite<AEGP_StreamSuite2>();
    return &suite;
}
const void* streamSuite9() {
    static const AEGP_StreamSuite4 suite = makeSuite<AEGP_StreamSuite4>();
    return &suite;
}

}  // namespace minihost::detail
