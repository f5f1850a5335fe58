// The plug-in's two exported functions, with C linkage.
#pragma once

#include "AE_Effect.h"
#include "AE_PluginData.h"
#include "host/export.h"

extern "C" {
QA_EXPORT PF_Err EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                            PF_LayerDef* output, void* extra);

QA_EXPORT PF_Err PluginDataEntryFunction(PF_PluginDataPtr inPtr, PF_PluginDataCB inPluginDataCallBackPtr,
                                         SPBasicSuite* inSPBasicSuitePtr, const char* inHostName,
                                         const char* inHostVersion);
}
