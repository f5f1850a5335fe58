/* The plug-in-data entry point: the host asks the plug-in for its identity
 * before it loads it as an effect. */
#ifndef QA_SDK_AE_PLUGINDATA_H
#define QA_SDK_AE_PLUGINDATA_H

#include "A.h"
#include "SP/SPBasic.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct PF_PluginData* PF_PluginDataPtr;

/* Receives the effect's identity; its result is handed back unchanged. */
typedef A_Err (*PF_PluginDataCB)(PF_PluginDataPtr inPtr, const A_u_char* inNamePtr, const A_u_char* inMatchNamePtr,
                                 const A_u_char* inCategoryPtr, const A_u_char* inEntryPointNamePtr, A_long inkind,
                                 A_long inApiVersionMajor, A_long inApiVersionMinor, A_long inReservedInfo);

typedef A_Err (*PF_PluginDataCB2)(PF_PluginDataPtr inPtr, const A_u_char* inNamePtr, const A_u_char* inMatchNamePtr,
                                  const A_u_char* inCategoryPtr, const A_u_char* inEntryPointNamePtr, A_long inkind,
                                  A_long inApiVersionMajor, A_long inApiVersionMinor, A_long inReservedInfo,
                                  const A_u_char* inSupportURLPtr);

typedef A_Err (*PluginDataEntryFunction2Ptr)(PF_PluginDataPtr inPtr, PF_PluginDataCB2 inPluginDataCallBackPtr,
                                             SPBasicSuite* inSPBasicSuitePtr, const char* inHostName,
                                             const char* inHostVersion);

typedef A_Err (*PluginDataEntryFunctionPtr)(PF_PluginDataPtr inPtr, PF_PluginDataCB inPluginDataCallBackPtr,
                                            SPBasicSuite* inSPBasicSuitePtr, const char* inHostName,
                                            const char* inHostVersion);

#ifdef __cplusplus
}
#endif

#endif
