/* Custom user interface registration. */
#ifndef QA_SDK_AE_EFFECTUI_H
#define QA_SDK_AE_EFFECTUI_H

#include "A.h"
#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long PF_CustomEventFlags;

typedef A_long PF_UIAlignment;

struct _PF_CustomUIInfo {
    A_long reserved;
    PF_CustomEventFlags events;
    A_long comp_ui_width;
    A_long comp_ui_height;
    PF_UIAlignment comp_ui_alignment;
    A_long layer_ui_width;
    A_long layer_ui_height;
    PF_UIAlignment layer_ui_alignment;
    A_long preview_ui_width;
    A_long preview_ui_height;
    PF_UIAlignment preview_ui_alignment;
};

#ifdef __cplusplus
}
#endif

#endif
