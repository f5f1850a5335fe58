#include "host/handlers.h"

// Placeholder until the pre-render lands.
PF_Err SmartPreRender(PF_InData* /*in_data*/, PF_PreRenderExtra* /*extra*/) { return PF_Err_NONE; }
