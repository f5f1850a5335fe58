#include "host/handlers.h"

// Placeholder until the render lands.
PF_Err SmartRender(PF_InData*, PF_OutData*, PF_SmartRenderExtra*) { return PF_Err_NONE; }
