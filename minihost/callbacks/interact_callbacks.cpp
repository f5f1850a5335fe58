// PF_InteractCallbacks: declaring parameters and checking them out and in.
#include "minihost/core/detail/call_context.h"
#include "minihost/core/host.h"

namespace minihost::detail {
namespace {

PF_Err checkoutParam(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long /*time_step*/,
                     A_u_long time_scale, PF_ParamDef* param) {
    return guarded(HostFunction::checkout_param, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        const Params& params = ctx.host().params();
        if (index < 0 || index >= params.count()) {
            ctx.reject("parameter index " + std::to_string(index) + " out of range (" + std::to_string(params.count()) +
                           " parameters)",
                       PF_Err_INVALID_INDEX);
        }
        if (param == nullptr) {
            ctx.reject("null definition", PF_Err_BAD_CALLBACK_PARAM);
        }
        if (time_scale == 0) {
            ctx.reject("time scale 0", PF_Err_BAD_CALLBACK_PARAM);
        }
        *param = params.definitionAt(index, static_cast<double>(what_time) / static_cast<double>(time_scale));
        ctx.paramCheckedOut(param, index);
        return PF_Err_NONE;
    });
}

PF_Err checkinParam(PF_ProgPtr effect_ref, PF_ParamDef* param) {
    return guarded(
        HostFunction::checkin_param,
        [&](CallContext& ctx) -> A_Err {
            ctx.checkRef(effect_ref);
            if (param == nullptr) {
                ctx.reject("null definition", PF_Err_BAD_CALLBACK_PARAM);
            }
            if (!ctx.paramCheckedIn(param)) {
                ctx.reject("definition not checked out (or checked in already)", PF_Err_BAD_CALLBACK_PARAM);
            }
            return PF_Err_NONE;
        },
        Kind::kGivesBack);
}

PF_Err addParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def) {
    return guarded(HostFunction::add_param, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        ctx.checkCommand({PF_Cmd_PARAMS_SETUP});
        Params& params = ctx.host().params();
        if (index != -1 && index != params.count()) {
            ctx.reject("index " + std::to_string(index) + " neither -1 nor the next index", PF_Err_INVALID_INDEX);
        }
        if (def == nullptr) {
            ctx.reject("null definition", PF_Err_BAD_CALLBACK_PARAM);
        }
        const std::string problem = params.append(*def);
        if (!problem.empty()) {
            ctx.violationInCall("parameter " + std::to_string(params.count() - 1) + ": " + problem);
        }
        return PF_Err_NONE;
    });
}

PF_Err abortCallback(PF_ProgPtr effect_ref) {
    return guarded(HostFunction::abort, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        return PF_Err_NONE;
    });
}

PF_Err progressCallback(PF_ProgPtr effect_ref, A_long /*current*/, A_long /*total*/) {
    return guarded(HostFunction::progress, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        return PF_Err_NONE;
    });
}

}  // namespace

PF_InteractCallbacks interactCallbacks() {
    PF_InteractCallbacks cb{};
    cb.checkout_param = checkoutParam;
    cb.checkin_param = checkinParam;
    cb.add_param = addParam;
    cb.abort = abortCallback;
    cb.progress = progressCallback;
    return cb;
}

}  // namespace minihost::detail
