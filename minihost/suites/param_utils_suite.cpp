// "PF Param Utils Suite" 3: the panel update.
#include <cstring>

#include "AE_EffectSuites.h"
#include "minihost/core/detail/call_context.h"
#include "minihost/core/host.h"
#include "minihost/suites/detail/suite_tables.h"

namespace minihost::detail {
namespace {

int countChoices(const char* text) {
    int n = 1;
    for (const char* p = text; *p != '\0'; ++p) {
        n += *p == '|' ? 1 : 0;
    }
    return n;
}

PF_Err updateParamUI(PF_ProgPtr effect_ref, PF_ParamIndex param_index, const PF_ParamDef* defP) {
    return guarded(HostFunction::PF_UpdateParamUI, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        ctx.checkCommand({PF_Cmd_UPDATE_PARAMS_UI, PF_Cmd_USER_CHANGED_PARAM, PF_Cmd_EVENT});
        const Params& params = ctx.host().params();
        if (param_index < 1 || param_index >= params.count()) {
            ctx.reject("parameter index " + std::to_string(param_index) + " out of range", PF_Err_INVALID_INDEX);
        }
        if (defP == nullptr) {
            ctx.reject("null definition", PF_Err_BAD_CALLBACK_PARAM);
        }
        const PF_ParamDef& declared = params.definition(param_index);
        if (defP->param_type != declared.param_type) {
            ctx.reject("changes the type of parameter " + std::to_string(param_index), PF_Err_BAD_CALLBACK_PARAM);
        }
        if (std::memchr(defP->name, '\0', sizeof(defP->name)) == nullptr) {
            ctx.reject("name not terminated within its 32 bytes", PF_Err_BAD_CALLBACK_PARAM);
        }
        if (defP->param_type == PF_Param_POPUP) {
            if (defP->u.pd.u.namesptr == nullptr) {
                ctx.reject("popup without choice text", PF_Err_BAD_CALLBACK_PARAM);
            }
            // The host shows its own choice text, where new choices are written.
            if (defP->u.pd.num_choices != declared.u.pd.num_choices ||
                countChoices(params.choices(param_index).c_str()) != declared.u.pd.num_choices) {
                ctx.reject("changes the number of choices of parameter " + std::to_string(param_index),
                           PF_Err_BAD_CALLBACK_PARAM);
            }
        }
        ctx.host().panel().update(param_index, *defP, params.choices(param_index));
        return PF_Err_NONE;
    });
}

PF_Err getCurrentState(PF_ProgPtr, PF_ParamIndex, const A_Time*, const A_Time*, PF_State*) {
    return guarded(HostFunction::PF_GetCurrentState,
                   [&](CallContext& ctx) -> A_Err { ctx.reject("unexpected call", PF_Err_BAD_CALLBACK_PARAM); });
}

const PF_ParamUtilsSuite3 kSuite = {updateParamUI, getCurrentState, nullptr, nullptr, nullptr,
                                    nullptr,       nullptr,         nullptr, nullptr};

}  // namespace

const void* paramUtilsSuite3() { return &kSuite; }

}  // namespace minihost::detail
