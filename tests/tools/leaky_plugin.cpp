// A plug-in that breaks a host rule on purpose: it hands every command to
// the real effect, and in each smart render also acquires "PF ANSI Suite"
// without releasing it.
#include <dlfcn.h>

#include "AE_Effect.h"
#include "AE_EffectCBSuites.h"
#include "AE_PluginData.h"
#include "host/export.h"

namespace {

PF_FilterProc realEffectMain() {
    static void* const module = dlopen(QA_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    return module == nullptr ? nullptr : reinterpret_cast<PF_FilterProc>(dlsym(module, "EffectMain"));
}

PluginDataEntryFunctionPtr realPluginData() {
    static void* const module = dlopen(QA_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    return module == nullptr ? nullptr
                             : reinterpret_cast<PluginDataEntryFunctionPtr>(dlsym(module, "PluginDataEntryFunction"));
}

}  // namespace

extern "C" QA_EXPORT PF_Err EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                       PF_LayerDef* output, void* extra) {
    const PF_FilterProc real = realEffectMain();
    if (real == nullptr) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    if (cmd == PF_Cmd_SMART_RENDER && in_data != nullptr && in_data->pica_basicP != nullptr) {
        const void* suite = nullptr;
        in_data->pica_basicP->AcquireSuite(kPFANSISuite, kPFANSISuiteVersion1, &suite);
    }
    return real(cmd, in_data, out_data, params, output, extra);
}

extern "C" QA_EXPORT PF_Err PluginDataEntryFunction(PF_PluginDataPtr inPtr, PF_PluginDataCB cb, SPBasicSuite* basic,
                                                    const char* host_name, const char* host_version) {
    const PluginDataEntryFunctionPtr real = realPluginData();
    return real == nullptr ? PF_Err_INTERNAL_STRUCT_DAMAGED : real(inPtr, cb, basic, host_name, host_version);
}
