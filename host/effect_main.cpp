#include "host/entry_points.h"
#include "host/export.h"
#include "host/handlers.h"

namespace {

PF_Err dispatch(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                void* extra) {
    switch (cmd) {
        case PF_Cmd_ABOUT:
            return About(in_data, out_data);
        case PF_Cmd_GLOBAL_SETUP:
            return GlobalSetup(out_data);
        case PF_Cmd_PARAMS_SETUP:
            return ParamsSetup(in_data, out_data, params, output);
        case PF_Cmd_UPDATE_PARAMS_UI:
            return UpdateParamsUI(in_data, out_data, params, output);
        case PF_Cmd_SMART_PRE_RENDER:
            return SmartPreRender(in_data, static_cast<PF_PreRenderExtra*>(extra));
        case PF_Cmd_SMART_RENDER:
            return SmartRender(in_data, out_data, static_cast<PF_SmartRenderExtra*>(extra));
        default:
            // Sequence, frame and audio commands, the plain render, parameter
            // changes, events and anything newer: nothing to do.
            return PF_Err_NONE;
    }
}

}  // namespace

extern "C" QA_EXPORT PF_Err EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                       PF_LayerDef* output, void* extra) {
    // The one exception boundary: no exception may cross into the host.
    try {
        return dispatch(cmd, in_data, out_data, params, output, extra);
    } catch (int err) {
        return err;
    } catch (...) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}
