// A plug-in scripted by the test, to drive the host's own rules: EffectMain
// runs whatever the current script says, so a test can misbehave on purpose
// (leak a suite, dispose of a world twice, ...) and see the ledger catch it.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "AE_Effect.h"
#include "AE_GeneralPlug.h"
#include "minihost/core/host.h"

namespace scripted {

using Script = std::function<PF_Err(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef**, void*)>;

inline Script& script() {
    static Script s;
    return s;
}

inline PF_Err effectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                         PF_LayerDef* /*output*/, void* extra) {
    return script() ? script()(cmd, in_data, out_data, params, extra) : PF_Err_NONE;
}

/// A host around the scripted plug-in, running s for every command.
inline std::unique_ptr<minihost::Host> host(Script s) {
    script() = std::move(s);
    return std::make_unique<minihost::Host>(minihost::Plugin::fromEntryPoints(&effectMain));
}

template <typename Suite>
const Suite* acquire(PF_InData* in, const char* name, A_long version) {
    const void* p = nullptr;
    return in->pica_basicP->AcquireSuite(name, version, &p) == 0 ? static_cast<const Suite*>(p) : nullptr;
}

/// Declares one float slider (value v) during PARAMS_SETUP.
inline PF_Err addSlider(PF_InData* in, A_long disk_id, double v, PF_ParamFlags flags = 0) {
    PF_ParamDef def{};
    def.param_type = PF_Param_FLOAT_SLIDER;
    def.uu.id = disk_id;
    def.flags = flags;
    def.u.fs_d.value = v;
    def.u.fs_d.valid_max = 1000;
    def.u.fs_d.slider_max = 100;
    return in->inter.add_param(in->effect_ref, -1, &def);
}

/// Declares one popup with the given choices during PARAMS_SETUP.
inline PF_Err addPopup(PF_InData* in, A_long disk_id, const char* choices, A_short n, PF_ParamValue v) {
    PF_ParamDef def{};
    def.param_type = PF_Param_POPUP;
    def.uu.id = disk_id;
    def.u.pd.value = v;
    def.u.pd.dephault = static_cast<A_short>(v);
    def.u.pd.num_choices = n;
    def.u.pd.u.namesptr = choices;
    return in->inter.add_param(in->effect_ref, -1, &def);
}

/// The pre-render a well-behaved effect does: input checked out under id 0
/// with the request, extent = the request.
inline PF_Err preRender(PF_InData* in, void* extra) {
    auto* pre = static_cast<PF_PreRenderExtra*>(extra);
    PF_CheckoutResult result{};
    const PF_Err err = pre->cb->checkout_layer(in->effect_ref, 0, 0, &pre->input->output_request, in->current_time,
                                               in->time_step, in->time_scale, &result);
    pre->output->result_rect = pre->input->output_request.rect;
    pre->output->max_result_rect = pre->input->output_request.rect;
    return err;
}

}  // namespace scripted
