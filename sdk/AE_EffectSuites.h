/* PF suites reached through SPBasicSuite: worlds, parameter UI, ANSI
 * helpers and path data. Each suite is named by its registration string and
 * version; a table must be released as often as it was acquired. */
#ifndef QA_SDK_AE_EFFECTSUITES_H
#define QA_SDK_AE_EFFECTSUITES_H

#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- PF World Suite 2 ---- */
#define kPFWorldSuite "PF World Suite"
#define kPFWorldSuiteVersion2 2

typedef A_u_long PF_PixelFormat;
#define PF_PixelFormat_ARGB32 PF_FOUR_CHAR_CODE('a', 'r', 'g', 'b')  /* PF_Pixel8 */
#define PF_PixelFormat_ARGB64 PF_FOUR_CHAR_CODE('a', 'r', '6', '4')  /* PF_Pixel16 */
#define PF_PixelFormat_ARGB128 PF_FOUR_CHAR_CODE('a', 'r', 'f', 'l') /* PF_PixelFloat */
#define PF_PixelFormat_INVALID PF_FOUR_CHAR_CODE('b', 'a', 'd', 'f')

typedef struct PF_WorldSuite2 {
    /* Creates a world of widthL x heightL in pixel_format into *worldP; with
     * clear_pixB its pixels start transparent black. Free it with
     * PF_DisposeWorld. */
    PF_Err (*PF_NewWorld)(PF_ProgPtr effect_ref, A_long widthL, A_long heightL,
                          PF_Boolean clear_pixB, PF_PixelFormat pixel_format, PF_EffectWorld* worldP);
    PF_Err (*PF_DisposeWorld)(PF_ProgPtr effect_ref, PF_EffectWorld* worldP);
    PF_Err (*PF_GetPixelFormat)(const PF_EffectWorld* worldP, PF_PixelFormat* pixel_formatP);
} PF_WorldSuite2;

/* ---- PF Param Utils Suite 3 ---- */
#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion3 3

typedef struct {
    A_long reserved[4];
} PF_State;

typedef struct PF_ParamUtilsSuite3 {
    /* Shows defP's name, flags and (for popups) choice text for
     * param_index in the panel. The host copies what it needs. */
    PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                               const PF_ParamDef* defP);
    PF_Err (*PF_GetCurrentState)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                 const A_Time* startPT, const A_Time* durationPT, PF_State* stateP);
    void* PF_AreStatesIdentical;
    void* PF_IsIdenticalCheckout;
    void* PF_FindKeyframeTime;
    void* PF_GetKeyframeCount;
    void* PF_CheckoutKeyframe;
    void* PF_CheckinKeyframe;
    void* PF_KeyIndexToTime;
} PF_ParamUtilsSuite3;

/* ---- PF ANSI Suite 1 ---- */
#define kPFANSISuite "PF ANSI Suite"
#define kPFANSISuiteVersion1 1

typedef struct PF_ANSICallbacksSuite1 {
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
    int (*sprintf)(A_char* buffer, const A_char* format, ...);
    A_char* (*strcpy)(A_char* dst, const A_char* src);
    A_FpLong (*asin)(A_FpLong);
    A_FpLong (*acos)(A_FpLong);
} PF_ANSICallbacksSuite1;

/* ---- PF Path Data Suite 1 ---- */
#define kPFPathDataSuite "PF Path Data Suite"
#define kPFPathDataSuiteVersion1 1

/* Opaque outline, borrowed from whatever set handed it out. */
typedef struct PF_PathOutline* PF_PathOutlinePtr;
typedef A_long PF_PathVertexIndex;

/* One vertex: the point, its incoming and its outgoing tangent point, all
 * in layer pixels at full resolution, y downward. */
typedef struct {
    PF_FpLong x, y;
    PF_FpLong tan_in_x, tan_in_y;
    PF_FpLong tan_out_x, tan_out_y;
} PF_PathVertex;

typedef struct PF_PathDataSuite1 {
    PF_Err (*PF_PathIsOpen)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP, PF_Boolean* openPB);
    /* Number of segments; a closed outline has as many vertices. */
    PF_Err (*PF_PathNumSegments)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP,
                                 A_long* num_segmentsPL);
    PF_Err (*PF_PathVertexInfo)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP,
                                PF_PathVertexIndex which_pointL, PF_PathVertex* vertexP);
    void* PF_PathPrepareSegLength;
    void* PF_PathGetSegLength;
    void* PF_PathEvalSegLength;
    void* PF_PathEvalSegLengthDeriv1;
    void* PF_PathCleanupSegLength;
    void* PF_PathIsInverted;
    void* PF_PathGetMaskMode;
    void* PF_PathGetName;
} PF_PathDataSuite1;

#ifdef __cplusplus
}
#endif

#endif
