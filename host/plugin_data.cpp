#include "host/entry_points.h"
#include "host/export.h"
#include "host/identity.h"

namespace {
const A_u_char* text(const char* s) { return reinterpret_cast<const A_u_char*>(s); }
}  // namespace

extern "C" QA_EXPORT PF_Err PluginDataEntryFunction(PF_PluginDataPtr inPtr, PF_PluginDataCB inPluginDataCallBackPtr,
                                                    SPBasicSuite* /*inSPBasicSuitePtr*/, const char* /*inHostName*/,
                                                    const char* /*inHostVersion*/) {
    return inPluginDataCallBackPtr(inPtr, text(identity::kName), text(identity::kMatchName), text(identity::kCategory),
                                   text(identity::kEntryPoint), static_cast<A_long>(identity::kKind),
                                   identity::kApiMajor, identity::kApiMinor, identity::kPluginDataReservedInfo);
}
