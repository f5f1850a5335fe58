/* PF suites reached through SPBasicSuite: parameter UI and path data. Each
 * suite is named by its registration string and version; a table must be
 * released as often as it was acquired. */
#ifndef QA_SDK_AE_EFFECTSUITES_H
#define QA_SDK_AE_EFFECTSUITES_H

#include "A.h"
#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One vertex: the point, its incoming and its outgoing tangent point, all
 * in layer pixels at full resolution, y downward. */
typedef struct {
    PF_FpLong x;
    PF_FpLong y;
    PF_FpLong tan_in_x;
    PF_FpLong tan_in_y;
    PF_FpLong tan_out_x;
    PF_FpLong tan_out_y;
} PF_PathVertex, AEGP_MaskVertex;

typedef struct {
    A_long reservedAL[4];
} PF_State;

typedef A_long PF_KeyIndex;

typedef A_long PF_TimeDir;

#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion3 3

typedef struct {
    /* Shows defP's name, flags and (for popups) choice text for
     * param_index (1 to num_params - 1) in the panel. The host copies what
     * it needs; defP must be a whole PF_ParamDef of the declared type, with
     * the declared number of choices and a terminated name.
     * [PF_Cmd_UPDATE_PARAMS_UI, PF_Cmd_USER_CHANGED_PARAM, PF_Cmd_EVENT]
     * Fails: PF_Err_INVALID_INDEX (index), PF_Err_BAD_CALLBACK_PARAM. */
    PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, const PF_ParamDef* defP);
    PF_Err (*PF_GetCurrentState)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, const A_Time* startPT0,
                                 const A_Time* durationPT0, PF_State* stateP);
    PF_Err (*PF_AreStatesIdentical)(PF_ProgPtr effect_ref, const PF_State* state1P, const PF_State* state2P,
                                    A_Boolean* samePB);
    PF_Err (*PF_IsIdenticalCheckout)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, A_long what_time1,
                                     A_long time_step1, A_u_long time_scale1, A_long what_time2, A_long time_step2,
                                     A_u_long time_scale2, PF_Boolean* identicalPB);
    PF_Err (*PF_FindKeyframeTime)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, A_long what_time,
                                  A_u_long time_scale, PF_TimeDir time_dir, PF_Boolean* foundPB,
                                  PF_KeyIndex* key_indexP0, A_long* key_timeP0, A_u_long* key_timescaleP0);
    PF_Err (*PF_GetKeyframeCount)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, PF_KeyIndex* key_countP);
    PF_Err (*PF_CheckoutKeyframe)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, PF_KeyIndex key_index,
                                  A_long* key_timeP0, A_u_long* key_timescaleP0, PF_ParamDef* paramP0);
    PF_Err (*PF_CheckinKeyframe)(PF_ProgPtr effect_ref, PF_ParamDef* paramP);
    PF_Err (*PF_KeyIndexToTime)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, PF_KeyIndex key_indexP,
                                A_long* key_timeP, A_u_long* key_timescaleP);
} PF_ParamUtilsSuite3;

/* Opaque outline, borrowed from whatever set handed it out. */
typedef struct PF_PathOutline* PF_PathOutlinePtr;

typedef struct PF_PathSegPrep* PF_PathSegPrepPtr;

#define kPFPathDataSuite "PF Path Data Suite"
#define kPFPathDataSuiteVersion1 1

typedef struct {
    PF_Err (*PF_PathIsOpen)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP, PF_Boolean* openPB);
    /* Number of segments; a closed outline has as many vertices. */
    /* [any command] On an outline of a live text outline set. Fails: PF_Err_BAD_CALLBACK_PARAM (any other, null). */
    PF_Err (*PF_PathNumSegments)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP, A_long* num_segmentsPL);
    /* [any command] On an outline of a live set; *vertexP: the caller's. Fails: PF_Err_BAD_CALLBACK_PARAM. */
    PF_Err (*PF_PathVertexInfo)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP, A_long which_pointL,
                                PF_PathVertex* vertexP);
    PF_Err (*PF_PathPrepareSegLength)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP, A_long which_segL,
                                      A_long frequencyL, PF_PathSegPrepPtr* lengthPrepPP);
    PF_Err (*PF_PathGetSegLength)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP, A_long which_segL,
                                  PF_PathSegPrepPtr* lengthPrepP0, PF_FpLong* lengthPF);
    PF_Err (*PF_PathEvalSegLength)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP, PF_PathSegPrepPtr* lengthPrepPP0,
                                   A_long which_segL, PF_FpLong lengthF, PF_FpLong* x, PF_FpLong* y);
    PF_Err (*PF_PathEvalSegLengthDeriv1)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP,
                                         PF_PathSegPrepPtr* lengthPrepPP0, A_long which_segL, PF_FpLong lengthF,
                                         PF_FpLong* x, PF_FpLong* y, PF_FpLong* deriv1x, PF_FpLong* deriv1y);
    PF_Err (*PF_PathCleanupSegLength)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP, A_long which_segL,
                                      PF_PathSegPrepPtr* lengthPrepPP);
    PF_Err (*PF_PathIsInverted)(PF_ProgPtr effect_ref, PF_PathID unique_id, PF_Boolean* invertedB);
    PF_Err (*PF_PathGetMaskMode)(PF_ProgPtr effect_ref, PF_PathID unique_id, PF_MaskMode* modeP);
    PF_Err (*PF_PathGetName)(PF_ProgPtr effect_ref, PF_PathID unique_id, A_char* nameZ);
} PF_PathDataSuite1;

#define PF_MAX_PATH_NAME_LEN 31

#ifdef __cplusplus
}
#endif

#endif
