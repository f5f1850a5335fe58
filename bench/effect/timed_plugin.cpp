#include "bench/effect/timed_plugin.h"

#include <atomic>

#include "AE_EffectCB.h"
#include "AE_Effect.h"
#include "bench/effect/cpu_clock.h"

namespace bench_effect {
namespace {

PF_FilterProc realEffectMain() {
    static const std::shared_ptr<const minihost::Plugin> real = minihost::Plugin::load(QA_PLUGIN_PATH);
    return real->effectMain();
}

std::atomic<long long> render_nanoseconds{0};

PF_Err timedMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                 void* extra) {
    if (cmd != PF_Cmd_SMART_RENDER) {
        return realEffectMain()(cmd, in_data, out_data, params, output, extra);
    }
    const auto start = ThreadCpuClock::now();
    const PF_Err err = realEffectMain()(cmd, in_data, out_data, params, output, extra);
    const auto spent = ThreadCpuClock::now() - start;
    render_nanoseconds += std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count();
    return err;
}

PF_Err passThroughMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* /*params*/[],
                       PF_LayerDef* /*output*/, void* extra) {
    switch (cmd) {
        case PF_Cmd_GLOBAL_SETUP:
            out_data->out_flags2 = PF_OutFlag2_SUPPORTS_SMART_RENDER | PF_OutFlag2_SUPPORTS_THREADED_RENDERING;
            return PF_Err_NONE;
        case PF_Cmd_PARAMS_SETUP:
            out_data->num_params = 1;
            return PF_Err_NONE;
        case PF_Cmd_SMART_PRE_RENDER: {
            auto* pre = static_cast<PF_PreRenderExtra*>(extra);
            PF_CheckoutResult result{};
            const PF_Err err =
                pre->cb->checkout_layer(in_data->effect_ref, 0, 0, &pre->input->output_request, in_data->current_time,
                                        in_data->time_step, in_data->time_scale, &result);
            pre->output->result_rect = pre->input->output_request.rect;
            pre->output->max_result_rect = pre->input->output_request.rect;
            return err;
        }
        case PF_Cmd_SMART_RENDER: {
            auto* render = static_cast<PF_SmartRenderExtra*>(extra);
            PF_EffectWorld* input = nullptr;
            PF_EffectWorld* out = nullptr;
            PF_Err err = render->cb->checkout_layer_pixels(in_data->effect_ref, 0, &input);
            if (err == PF_Err_NONE) {
                err = render->cb->checkout_output(in_data->effect_ref, &out);
            }
            if (err == PF_Err_NONE && input != nullptr && out != nullptr) {
                err = in_data->utils->copy(in_data->effect_ref, input, out, nullptr, nullptr);
            }
            return err;
        }
        default:
            return PF_Err_NONE;
    }
}

}  // namespace

std::shared_ptr<const minihost::Plugin> timedEffect() {
    (void)realEffectMain();
    return minihost::Plugin::fromEntryPoints(&timedMain);
}

double takeSmartRenderSeconds() { return static_cast<double>(render_nanoseconds.exchange(0)) * 1e-9; }

std::shared_ptr<const minihost::Plugin> passThrough() { return minihost::Plugin::fromEntryPoints(&passThroughMain); }

}  // namespace bench_effect
