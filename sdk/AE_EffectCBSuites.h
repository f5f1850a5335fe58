/* Suites reached through SPBasicSuite that mirror the utility callbacks:
 * worlds and ANSI helpers. */
#ifndef QA_SDK_AE_EFFECTCBSUITES_H
#define QA_SDK_AE_EFFECTCBSUITES_H

#include "A.h"
#include "AE_EffectPixelFormat.h"
#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kPFANSISuite "PF ANSI Suite"
#define kPFANSISuiteVersion1 1

typedef struct {
    A_FpLong (*atan)(A_FpLong);
    A_FpLong (*atan2)(A_FpLong y, A_FpLong x);
    A_FpLong (*ceil)(A_FpLong);
    A_FpLong (*cos)(A_FpLong);
    A_FpLong (*exp)(A_FpLong);
    A_FpLong (*fabs)(A_FpLong);
    A_FpLong (*floor)(A_FpLong);
    A_FpLong (*fmod)(A_FpLong x, A_FpLong y);
    A_FpLong (*hypot)(A_FpLong x, A_FpLong y);
    A_FpLong (*log)(A_FpLong);
    A_FpLong (*log10)(A_FpLong);
    A_FpLong (*pow)(A_FpLong x, A_FpLong y);
    A_FpLong (*sin)(A_FpLong);
    A_FpLong (*sqrt)(A_FpLong);
    A_FpLong (*tan)(A_FpLong);
    /* [any command] buffer: caller's (PF_OutData.return_msg: cut to 255). Answers the length; -1: null argument. */
    int32_t (*sprintf)(A_char*, const A_char*, ...);
    A_char* (*strcpy)(A_char*, const A_char*);
    A_FpLong (*asin)(A_FpLong);
    A_FpLong (*acos)(A_FpLong);
} PF_ANSICallbacksSuite1;

#define kPFWorldSuite "PF World Suite"
#define kPFWorldSuiteVersion2 2

typedef struct {
    /* Creates a world of widthL x heightL in pixel_format into *worldP; with
     * clear_pixB its pixels start transparent black. Free it with
     * PF_DisposeWorld. */
    /* [any command] Fails: PF_Err_BAD_CALLBACK_PARAM (format, size), PF_Err_OUT_OF_MEMORY (> PF_MAX_WORLD_WIDTH). */
    PF_Err (*PF_NewWorld)(PF_ProgPtr effect_ref, A_long widthL, A_long heightL, PF_Boolean clear_pixB,
                          PF_PixelFormat pixel_format, PF_EffectWorld* worldP);
    /* [any command] Once per world PF_NewWorld made in this command. Fails: PF_Err_BAD_CALLBACK_PARAM (any other). */
    PF_Err (*PF_DisposeWorld)(PF_ProgPtr effect_ref, PF_EffectWorld* worldP);
    /* [any command] Fails: PF_Err_BAD_CALLBACK_PARAM (a world not of this command, a null argument). */
    PF_Err (*PF_GetPixelFormat)(const PF_EffectWorld* worldP, PF_PixelFormat* pixel_formatP);
} PF_WorldSuite2;

#ifdef __cplusplus
}
#endif

#endif
