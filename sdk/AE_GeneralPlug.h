/* AEGP suites the effect reaches: effect interface, layers, streams,
 * dynamic streams, effects, math and text layers. Functions the effect never
 * calls keep their place in each table as untyped slots.
 *
 * References (AEGP_EffectRefH, AEGP_StreamRefH, AEGP_TextOutlinesH) handed
 * out by a Get-New call belong to the caller and must be disposed of with
 * the matching Dispose call. Layer handles are borrowed. */
#ifndef QA_SDK_AE_GENERALPLUG_H
#define QA_SDK_AE_GENERALPLUG_H

#include "AE_Effect.h"
#include "AE_EffectSuites.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long AEGP_PluginID;
typedef struct _AEGP_Layer* AEGP_LayerH;
typedef struct _AEGP_EffectRef* AEGP_EffectRefH;
typedef struct _AEGP_StreamRef* AEGP_StreamRefH;
typedef struct _AEGP_TextOutlines* AEGP_TextOutlinesH;

typedef A_long AEGP_ObjectType;
enum {
    AEGP_ObjectType_NONE = -1,
    AEGP_ObjectType_AV = 0, /* footage, solids, precomps */
    AEGP_ObjectType_LIGHT = 1,
    AEGP_ObjectType_CAMERA = 2,
    AEGP_ObjectType_TEXT = 3,
    AEGP_ObjectType_VECTOR_LAYER = 4, /* shape layers */
    AEGP_ObjectType_NUM_TYPES = 5
};

typedef A_long AEGP_LTimeMode;
enum { AEGP_LTimeMode_LayerTime = 0, AEGP_LTimeMode_CompTime = 1 };

typedef A_long AEGP_LayerStream;
enum {
    AEGP_LayerStream_NONE = -1,
    AEGP_LayerStream_ANCHORPOINT = 0,
    AEGP_LayerStream_POSITION = 1,
    AEGP_LayerStream_SCALE = 2,
    AEGP_LayerStream_ROTATION = 3,
    AEGP_LayerStream_OPACITY = 4
};

typedef A_long AEGP_StreamType;
enum {
    AEGP_StreamType_NO_DATA = 0,
    AEGP_StreamType_ThreeD_SPATIAL = 1,
    AEGP_StreamType_ThreeD = 2,
    AEGP_StreamType_TwoD_SPATIAL = 3,
    AEGP_StreamType_TwoD = 4,
    AEGP_StreamType_OneD = 5
};

typedef struct {
    A_FpLong x, y, z;
} AEGP_ThreeDVal;
typedef struct {
    A_FpLong x, y;
} AEGP_TwoDVal;
typedef A_FpLong AEGP_OneDVal;
typedef struct {
    A_FpLong alphaF, redF, greenF, blueF;
} AEGP_ColorVal;

typedef union {
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    AEGP_OneDVal one_d;
    AEGP_ColorVal color;
    void* arbH;
} AEGP_StreamVal2;

typedef A_long AEGP_DynStreamFlags;
enum {
    AEGP_DynStreamFlag_ACTIVE_EYEBALL = 1L << 0,
    AEGP_DynStreamFlag_HIDDEN = 1L << 1, /* not shown in the panel; value kept */
    AEGP_DynStreamFlag_DISABLED = 1L << 2,
    AEGP_DynStreamFlag_ELIDED = 1L << 3,
    AEGP_DynStreamFlag_SHOWN_WHEN_EMPTY = 1L << 10,
    AEGP_DynStreamFlag_SKIP_REVEAL_WHEN_UNHIDDEN = 1L << 16
};

/* ---- AEGP PF Interface Suite 1 ---- */
#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1

typedef struct AEGP_PFInterfaceSuite1 {
    /* The layer that carries the effect; borrowed. */
    A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ref, AEGP_LayerH* layerPH);
    /* A new reference to this effect instance; dispose of it with
     * AEGP_DisposeEffect. */
    A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID aegp_plugin_id, PF_ProgPtr effect_ref,
                                        AEGP_EffectRefH* effect_refPH);
    void* AEGP_ConvertEffectToCompTime;
    void* AEGP_GetEffectCamera;
    void* AEGP_GetEffectCameraMatrix;
} AEGP_PFInterfaceSuite1;

/* ---- AEGP Layer Suite 11, 13, 14 ---- */
#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion11 11
#define kAEGPLayerSuiteVersion13 13
#define kAEGPLayerSuiteVersion14 14

/* The three versions share this prefix; later versions add slots at the
 * end. */
#define AEGP_LAYER_SUITE_COMMON                                                                  \
    void* AEGP_GetCompNumLayers;                                                                 \
    void* AEGP_GetCompLayerByIndex;                                                              \
    void* AEGP_GetActiveLayer;                                                                   \
    void* AEGP_GetLayerIndex;                                                                    \
    void* AEGP_GetLayerSourceItem;                                                               \
    void* AEGP_GetLayerSourceItemID;                                                             \
    void* AEGP_GetLayerParentComp;                                                               \
    void* AEGP_GetLayerName;                                                                     \
    void* AEGP_GetLayerQuality;                                                                  \
    void* AEGP_SetLayerQuality;                                                                  \
    void* AEGP_GetLayerFlags;                                                                    \
    void* AEGP_SetLayerFlag;                                                                     \
    void* AEGP_IsLayerVideoReallyOn;                                                             \
    void* AEGP_IsLayerAudioReallyOn;                                                             \
    void* AEGP_GetLayerCurrentTime;                                                              \
    void* AEGP_GetLayerInPoint;                                                                  \
    void* AEGP_GetLayerDuration;                                                                 \
    void* AEGP_SetLayerInPointAndDuration;                                                       \
    void* AEGP_GetLayerOffset;                                                                   \
    void* AEGP_SetLayerOffset;                                                                   \
    void* AEGP_GetLayerStretch;                                                                  \
    void* AEGP_SetLayerStretch;                                                                  \
    void* AEGP_GetLayerTransferMode;                                                             \
    void* AEGP_SetLayerTransferMode;                                                             \
    void* AEGP_IsAddLayerValid;                                                                  \
    void* AEGP_AddLayer;                                                                         \
    void* AEGP_ReorderLayer;                                                                     \
    void* AEGP_GetLayerMaskedBounds;                                                             \
    A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layerH, AEGP_ObjectType * object_type);         \
    void* AEGP_IsLayer3D;                                                                        \
    void* AEGP_IsLayer2D;                                                                        \
    void* AEGP_IsVideoActive;                                                                    \
    void* AEGP_IsLayerUsedAsTrackMatte;                                                          \
    void* AEGP_DoesLayerHaveTrackMatte;                                                          \
    A_Err (*AEGP_ConvertCompToLayerTime)(AEGP_LayerH layerH, const A_Time* comp_time,            \
                                         A_Time* layer_time);                                    \
    A_Err (*AEGP_ConvertLayerToCompTime)(AEGP_LayerH layerH, const A_Time* layer_time,           \
                                         A_Time* comp_time);                                     \
    void* AEGP_GetLayerDancingRandValue;                                                         \
    void* AEGP_GetLayerID;                                                                       \
    A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH layerH, const A_Time* comp_time,              \
                                       A_Matrix4* transform);                                    \
    void* AEGP_GetLayerToWorldXformFromView;                                                     \
    void* AEGP_SetLayerName;                                                                     \
    void* AEGP_GetLayerParent;                                                                   \
    void* AEGP_SetLayerParent;                                                                   \
    void* AEGP_DeleteLayer;                                                                      \
    void* AEGP_DuplicateLayer;                                                                   \
    void* AEGP_GetLayerFromLayerID;                                                              \
    void* AEGP_GetLayerLabel;                                                                    \
    void* AEGP_SetLayerLabel;

typedef struct AEGP_LayerSuite11 {
    AEGP_LAYER_SUITE_COMMON
} AEGP_LayerSuite11;

typedef struct AEGP_LayerSuite13 {
    AEGP_LAYER_SUITE_COMMON
    void* AEGP_GetLayerSamplingQuality;
    void* AEGP_SetLayerSamplingQuality;
} AEGP_LayerSuite13;

typedef struct AEGP_LayerSuite14 {
    AEGP_LAYER_SUITE_COMMON
    void* AEGP_GetLayerSamplingQuality;
    void* AEGP_SetLayerSamplingQuality;
    void* AEGP_GetTrackMatteLayer;
    void* AEGP_SetTrackMatte;
    void* AEGP_RemoveTrackMatte;
} AEGP_LayerSuite14;

/* ---- AEGP Stream Suite 7 and 9 ---- */
#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion7 7
#define kAEGPStreamSuiteVersion9 9

#define AEGP_STREAM_SUITE_COMMON                                                                  \
    void* AEGP_IsStreamLegal;                                                                     \
    void* AEGP_CanVaryOverTime;                                                                   \
    void* AEGP_GetValidInterpolations;                                                            \
    void* AEGP_GetNewLayerStream;                                                                 \
    void* AEGP_GetEffectNumParamStreams;                                                          \
    /* A new stream reference for parameter param_index of the effect;                           \
     * dispose of it with AEGP_DisposeStream. */                                                  \
    A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_EffectRefH effect_refH, \
                                            PF_ParamIndex param_index, AEGP_StreamRefH * streamPH); \
    void* AEGP_GetNewMaskStream;                                                                  \
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);                                         \
    void* AEGP_GetStreamName;                                                                     \
    void* AEGP_GetStreamUnitsText;                                                                \
    void* AEGP_GetStreamProperties;                                                               \
    void* AEGP_IsStreamTimevarying;                                                               \
    void* AEGP_GetStreamType;                                                                     \
    void* AEGP_GetNewStreamValue;                                                                 \
    void* AEGP_DisposeStreamValue;                                                                \
    void* AEGP_SetStreamValue;                                                                    \
    /* The value of a layer's own property at time_mode/timeP; with                               \
     * pre_expressionB false, after expressions. strm_typeP may be null. */                       \
    A_Err (*AEGP_GetLayerStreamValue)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,           \
                                      AEGP_LTimeMode time_mode, const A_Time* timeP,              \
                                      A_Boolean pre_expressionB, AEGP_StreamVal2* stream_valP,    \
                                      AEGP_StreamType* strm_typeP);                               \
    void* AEGP_GetExpressionState;                                                                \
    void* AEGP_SetExpressionState;                                                                \
    void* AEGP_GetExpression;                                                                     \
    void* AEGP_SetExpression;                                                                     \
    void* AEGP_DuplicateStreamRef;

typedef struct AEGP_StreamSuite7 {
    AEGP_STREAM_SUITE_COMMON
} AEGP_StreamSuite7;

typedef struct AEGP_StreamSuite9 {
    AEGP_STREAM_SUITE_COMMON
    void* AEGP_GetUniqueStreamID;
} AEGP_StreamSuite9;

/* ---- AEGP Dynamic Stream Suite 2 ---- */
#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion2 2

typedef struct AEGP_DynamicStreamSuite2 {
    void* AEGP_GetNewStreamRefForLayer;
    void* AEGP_GetNewStreamRefForMask;
    void* AEGP_GetStreamDepth;
    void* AEGP_GetStreamGroupingType;
    void* AEGP_GetNumStreamsInGroup;
    void* AEGP_GetDynamicStreamFlags;
    /* Sets (setB true) or clears one flag of the stream. */
    A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag,
                                       A_Boolean undoableB, A_Boolean setB);
    void* AEGP_GetNewStreamRefByIndex;
    void* AEGP_GetNewStreamRefByMatchname;
    void* AEGP_DeleteStream;
    void* AEGP_ReorderStream;
    void* AEGP_DuplicateStream;
    void* AEGP_SetStreamName;
    void* AEGP_CanAddStream;
    void* AEGP_AddStream;
    void* AEGP_GetMatchName;
    void* AEGP_GetNewParentStreamRef;
    void* AEGP_GetStreamIsModified;
} AEGP_DynamicStreamSuite2;

/* ---- AEGP Effect Suite 2 ---- */
#define kAEGPEffectSuite "AEGP Effect Suite"
#define kAEGPEffectSuiteVersion2 2

typedef struct AEGP_EffectSuite2 {
    void* AEGP_GetLayerNumEffects;
    void* AEGP_GetLayerEffectByIndex;
    void* AEGP_GetInstalledKeyFromLayerEffect;
    void* AEGP_GetEffectParamUnionByIndex;
    void* AEGP_GetEffectFlags;
    void* AEGP_SetEffectFlags;
    void* AEGP_ReorderEffect;
    void* AEGP_EffectCallGeneric;
    A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effectH);
    void* AEGP_ApplyEffect;
    void* AEGP_DeleteLayerEffect;
    void* AEGP_GetNumInstalledEffects;
    void* AEGP_GetNextInstalledEffect;
    void* AEGP_GetEffectName;
    void* AEGP_GetEffectMatchName;
    void* AEGP_GetEffectCategory;
    void* AEGP_DuplicateEffect;
} AEGP_EffectSuite2;

/* ---- AEGP Math Suite 1 ---- */
#define kAEGPMathSuite "AEGP Math Suite"
#define kAEGPMathSuiteVersion1 1

typedef struct AEGP_MathSuite1 {
    void* AEGP_IdentityMatrix4;
    void* AEGP_MultiplyMatrix4;
    /* Splits a matrix into position, scale (1.0 is 100 %), shear and
     * rotation (radians). */
    A_Err (*AEGP_MatrixDecompose4)(A_Matrix4* matrixP, A_FloatPoint3* posP, A_FloatPoint3* scaleP,
                                   A_FloatPoint3* shearP, A_FloatPoint3* rotP);
} AEGP_MathSuite1;

/* ---- AEGP Text Layer Suite 1 ---- */
#define kAEGPTextLayerSuite "AEGP Text Layer Suite"
#define kAEGPTextLayerSuiteVersion1 1

typedef struct AEGP_TextLayerSuite1 {
    /* The layer's glyph outlines at layer_time, in text order; dispose of
     * the set with AEGP_DisposeTextOutlines. */
    A_Err (*AEGP_GetNewTextOutlines)(AEGP_LayerH layerH, const A_Time* layer_time,
                                     AEGP_TextOutlinesH* outlinesPH);
    A_Err (*AEGP_DisposeTextOutlines)(AEGP_TextOutlinesH outlinesH);
    A_Err (*AEGP_GetNumTextOutlines)(AEGP_TextOutlinesH outlinesH, A_long* num_outlinesPL);
    /* Outline path_index, borrowed from the set until it is disposed of. */
    A_Err (*AEGP_GetIndexedTextOutline)(AEGP_TextOutlinesH outlinesH, A_long path_index,
                                        PF_PathOutlinePtr* pathPP);
} AEGP_TextLayerSuite1;

#ifdef __cplusplus
}
#endif

#endif
