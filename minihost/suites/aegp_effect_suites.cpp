// "AEGP Dynamic Stream Suite" 2 and "AEGP Effect Suite" 2: hiding parameter
// streams and disposing of effect references.
#include "AE_GeneralPlug.h"
#include "minihost/core/detail/call_context.h"
#include "minihost/core/host.h"
#include "minihost/suites/detail/suite_tables.h"

namespace minihost::detail {
namespace {

A_Err setDynamicStreamFlag(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag, A_Boolean undoableB, A_Boolean setB) {
    return guarded(HostFunction::AEGP_SetDynamicStreamFlag, [&](CallContext& ctx) -> A_Err {
        StreamObject* stream = ctx.liveStream(streamH);
        if (stream == nullptr) {
            ctx.reject("stream reference not live in this call", A_Err_PARAMETER);
        }
        if (one_flag == 0 || (one_flag & (one_flag - 1)) != 0) {
            ctx.reject("not exactly one flag", A_Err_PARAMETER);
        }
        // The panel update runs outside the undo history.
        if (undoableB != 0 && ctx.cmd() == PF_Cmd_UPDATE_PARAMS_UI) {
            ctx.reject("undoable change during PF_Cmd_UPDATE_PARAMS_UI", A_Err_PARAMETER);
        }
        ctx.host().panel().setDynamicFlag(stream->index, one_flag, setB != 0);
        return A_Err_NONE;
    });
}

A_Err disposeEffect(AEGP_EffectRefH effectH) {
    return guarded(
        HostFunction::AEGP_DisposeEffect,
        [&](CallContext& ctx) -> A_Err {
            if (!ctx.disposeEffectRef(effectH)) {
                ctx.reject("effect reference not live (never obtained, or disposed of already)", A_Err_PARAMETER);
            }
            return A_Err_NONE;
        },
        Kind::kGivesBack);
}

}  // namespace

const void* dynamicStreamSuite2() {
    static const AEGP_DynamicStreamSuite2 suite = [] {
        AEGP_DynamicStreamSuite2 s{};
        s.AEGP_SetDynamicStreamFlag = setDynamicStreamFlag;
        return s;
    }();
    return &suite;
}

const void* effectSuite2() {
    static const AEGP_EffectSuite2 suite = [] {
        AEGP_EffectSuite2 s{};
        s.AEGP_DisposeEffect = disposeEffect;
        return s;
    }();
    return &suite;
}

}  // namespace minihost::detail
