#include "timing_shim.h"

#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "AE_EffectCB.h"
#include "AE_PluginData.h"
#include "host/export.h"

namespace {

using Clock = std::chrono::steady_clock;

struct real_plugin {
    PF_FilterProc effect_main = nullptr;
    PluginDataEntryFunctionPtr plugin_data = nullptr;
};

const real_plugin& realPlugin() {
    static const real_plugin plugin = [] {
        // Kept loaded for the life of the process.
        void* handle = dlopen(QA_REAL_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            std::fprintf(stderr, "timing shim: %s\n", dlerror());
            std::abort();
        }
        real_plugin p;
        p.effect_main = reinterpret_cast<PF_FilterProc>(dlsym(handle, "EffectMain"));
        p.plugin_data = reinterpret_cast<PluginDataEntryFunctionPtr>(dlsym(handle, "PluginDataEntryFunction"));
        if (p.effect_main == nullptr || p.plugin_data == nullptr) {
            std::fprintf(stderr, "timing shim: entry points missing\n");
            std::abort();
        }
        return p;
    }();
    return plugin;
}

QaRenderTimings g_timings{};
bool g_stub = false;
const PF_UtilCallbacks* g_host_utils = nullptr;

std::int64_t nanosSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
}

PF_Err timedFill(PF_ProgPtr effect_ref, const PF_Pixel* color, const PF_Rect* rect, PF_EffectWorld* world) {
    ++g_timings.fills;
    if (g_stub) {
        return PF_Err_NONE;
    }
    const Clock::time_point t0 = Clock::now();
    const PF_Err err = g_host_utils->fill(effect_ref, color, rect, world);
    g_timings.pixel_callback_ns += nanosSince(t0);
    return err;
}

PF_Err timedCopy(PF_ProgPtr effect_ref, PF_EffectWorld* src, PF_EffectWorld* dst, PF_Rect* src_r, PF_Rect* dst_r) {
    ++g_timings.copies;
    if (g_stub) {
        return PF_Err_NONE;
    }
    const Clock::time_point t0 = Clock::now();
    const PF_Err err = g_host_utils->copy(effect_ref, src, dst, src_r, dst_r);
    g_timings.pixel_callback_ns += nanosSince(t0);
    return err;
}

PF_Err timedTransform(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                      const PF_EffectWorld* src, const PF_CompositeMode* mode, const PF_MaskWorld* mask,
                      const PF_FloatMatrix* matrices, A_long count, PF_Boolean src2dst, const PF_Rect* dest_rect,
                      PF_EffectWorld* dst) {
    ++g_timings.transforms;
    if (g_stub) {
        return PF_Err_NONE;
    }
    const Clock::time_point t0 = Clock::now();
    const PF_Err err = g_host_utils->transform_world(effect_ref, quality, m_flags, field, src, mode, mask, matrices,
                                                     count, src2dst, dest_rect, dst);
    g_timings.pixel_callback_ns += nanosSince(t0);
    return err;
}

}  // namespace

extern "C" {

QA_EXPORT void QaResetRenderTimings(int stub_pixel_callbacks) {
    g_timings = QaRenderTimings{};
    g_stub = stub_pixel_callbacks != 0;
}

QA_EXPORT QaRenderTimings QaReadRenderTimings() { return g_timings; }

QA_EXPORT PF_Err EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                            PF_LayerDef* output, void* extra) {
    const real_plugin& real = realPlugin();
    if (cmd != PF_Cmd_SMART_RENDER || in_data == nullptr || in_data->utils == nullptr) {
        return real.effect_main(cmd, in_data, out_data, params, output, extra);
    }
    PF_UtilCallbacks utils = *in_data->utils;
    utils.fill = timedFill;
    utils.copy = timedCopy;
    utils.transform_world = timedTransform;
    PF_InData timed_in = *in_data;
    timed_in.utils = &utils;
    g_host_utils = in_data->utils;

    const Clock::time_point t0 = Clock::now();
    const PF_Err err = real.effect_main(cmd, &timed_in, out_data, params, output, extra);
    g_timings.smart_render_ns += nanosSince(t0);
    ++g_timings.smart_renders;
    return err;
}

QA_EXPORT PF_Err PluginDataEntryFunction(PF_PluginDataPtr inPtr, PF_PluginDataCB callback, SPBasicSuite* basic,
                                         const char* host_name, const char* host_version) {
    return realPlugin().plugin_data(inPtr, callback, basic, host_name, host_version);
}
}
