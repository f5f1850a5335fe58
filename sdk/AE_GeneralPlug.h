/* AEGP types and the current AEGP suites the effect reaches: effect
 * interface, math and text layers. The earlier versions of the layer,
 * stream, dynamic stream and effect suites follow in AE_GeneralPlugOld.h.
 *
 * References (AEGP_EffectRefH, AEGP_StreamRefH, AEGP_TextOutlinesH) handed
 * out by a Get-New call belong to the caller and must be disposed of with
 * the matching Dispose call. Layer handles are borrowed. */
#ifndef QA_SDK_AE_GENERALPLUG_H
#define QA_SDK_AE_GENERALPLUG_H

#include "A.h"
#include "AE_Effect.h"
#include "AE_EffectSuites.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct {
    A_FpLong alphaF;
    A_FpLong redF;
    A_FpLong greenF;
    A_FpLong blueF;
} AEGP_ColorVal;

typedef A_long AEGP_TrackMatte;

typedef A_long AEGP_TransferFlags;

typedef struct {
    PF_TransferMode mode;
    AEGP_TransferFlags flags;
    AEGP_TrackMatte track_matte;
} AEGP_LayerTransferMode;

typedef struct {
    A_FpLong x;
    A_FpLong y;
} AEGP_TwoDVal;

typedef struct {
    A_FpLong x;
    A_FpLong y;
    A_FpLong z;
} AEGP_ThreeDVal;

typedef void* AEGP_ArbBlockVal;

typedef A_FpLong AEGP_FourDVal[4];

typedef A_long AEGP_LayerIDVal;

typedef struct _AEGP_MarkerVal* AEGP_MarkerValP;

typedef A_long AEGP_MaskIDVal;

typedef struct _AEGP_MaskOutline** AEGP_MaskOutlineValH;

typedef A_FpLong AEGP_OneDVal;

typedef struct _AEGP_TextDocument** AEGP_TextDocumentH;

typedef union {
    AEGP_FourDVal four_d;
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    AEGP_OneDVal one_d;
    AEGP_ColorVal color;
    AEGP_ArbBlockVal arbH;
    AEGP_MarkerValP markerP;
    AEGP_LayerIDVal layer_id;
    AEGP_MaskIDVal mask_id;
    AEGP_MaskOutlineValH mask;
    AEGP_TextDocumentH text_documentH;
} AEGP_StreamVal2;

typedef struct _AEGPp_Stream** AEGP_StreamRefH;

typedef struct {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
} AEGP_StreamValue2;

typedef struct _AEGP_Effect** AEGP_EffectRefH;

typedef struct _AEGP_Layer** AEGP_LayerH;

typedef A_long AEGP_PluginID;

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1

typedef struct {
    /* The layer that carries the effect; borrowed. */
    /* [any command] The handle: the host's, for this command, never disposed of. Fails: A_Err_PARAMETER (null). */
    A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_pp_ref, AEGP_LayerH* layerPH);
    /* A new reference to this effect instance; dispose of it with
     * AEGP_DisposeEffect. */
    /* [any command] The reference: the caller's, for this command. Fails: A_Err_PARAMETER (null). */
    A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID aegp_plugin_id, PF_ProgPtr effect_pp_ref,
                                        AEGP_EffectRefH* effect_refPH);
    A_Err (*AEGP_ConvertEffectToCompTime)(PF_ProgPtr effect_pp_ref, A_long what_timeL, A_u_long time_scaleLu,
                                          A_Time* comp_timePT);
    A_Err (*AEGP_GetEffectCamera)(PF_ProgPtr effect_pp_ref, const A_Time* comp_timePT, AEGP_LayerH* camera_layerPH);
    A_Err (*AEGP_GetEffectCameraMatrix)(PF_ProgPtr effect_pp_ref, const A_Time* comp_timePT, A_Matrix4* camera_matrixP,
                                        A_FpLong* dist_to_image_planePF, A_short* image_plane_widthPL,
                                        A_short* image_plane_heightPL);
} AEGP_PFInterfaceSuite1;

#define kAEGPMathSuite "AEGP Math Suite"
#define kAEGPMathSuiteVersion1 1

typedef struct {
    A_Err (*AEGP_IdentityMatrix4)(A_Matrix4* matrixP);
    A_Err (*AEGP_MultiplyMatrix4)(const A_Matrix4* A, const A_Matrix4* B, A_Matrix4* resultP);
    A_Err (*AEGP_Matrix3ToMatrix4)(const A_Matrix3* A, A_Matrix4* B);
    A_Err (*AEGP_MultiplyMatrix4by3)(const A_Matrix4* A, const A_Matrix3* B, A_Matrix4* resultP);
    /* Splits a matrix into position, scale (1.0 is 100 %), shear and
     * rotation (radians). */
    /* [any command] Outputs: the caller's. Fails: A_Err_PARAMETER (null, a matrix that does not decompose). */
    A_Err (*AEGP_MatrixDecompose4)(const A_Matrix4* A, A_FloatPoint3* posVP, A_FloatPoint3* scaleVP,
                                   A_FloatPoint3* shearVP, A_FloatPoint3* rotVP);
} AEGP_MathSuite1;

typedef struct _AEGP_TextOutlines** AEGP_TextOutlinesH;

#define kAEGPTextLayerSuite "AEGP Text Layer Suite"
#define kAEGPTextLayerSuiteVersion1 1

typedef struct {
    /* The layer's glyph outlines at layer_timePT, in text order; dispose of
     * the set with AEGP_DisposeTextOutlines. */
    /* [any command] The set: caller's, for this command. Fails: A_Err_PARAMETER (not a text layer, time scale 0). */
    A_Err (*AEGP_GetNewTextOutlines)(AEGP_LayerH layerH, const A_Time* layer_timePT, AEGP_TextOutlinesH* outlinesPH);
    /* [any command] Once per set; the outlines borrowed from it end with it. Fails: A_Err_PARAMETER (any other). */
    A_Err (*AEGP_DisposeTextOutlines)(AEGP_TextOutlinesH outlinesH);
    /* [any command] Fails: A_Err_PARAMETER (not a live set, null). */
    A_Err (*AEGP_GetNumTextOutlines)(AEGP_TextOutlinesH outlinesH, A_long* num_outlinesPL);
    /* Outline path_indexL, borrowed from the set until it is disposed of. */
    /* [any command] Fails: A_Err_PARAMETER (not a live set, path_indexL out of range, null). */
    A_Err (*AEGP_GetIndexedTextOutline)(AEGP_TextOutlinesH outlinesH, A_long path_indexL, PF_PathOutlinePtr* pathPP);
} AEGP_TextLayerSuite1;

typedef struct _AEGP_Comp** AEGP_CompH;

typedef A_u_long AEGP_DynStreamFlags;

enum {
    AEGP_DynStreamFlag_ACTIVE_EYEBALL = 0x1,
    /* not shown in the panel; value kept */
    AEGP_DynStreamFlag_HIDDEN = 0x2,
    AEGP_DynStreamFlag_DISABLED = 0x10,
    AEGP_DynStreamFlag_ELIDED = 0x20,
    AEGP_DynStreamFlag_SHOWN_WHEN_EMPTY = 0x400,
    AEGP_DynStreamFlag_SKIP_REVEAL_WHEN_UNHIDDEN = 0x10000
};

typedef A_long AEGP_EffectFlags;

typedef A_long AEGP_EffectIndex;

typedef A_long AEGP_InstalledEffectKey;

typedef struct _AEGP_Item** AEGP_ItemH;

typedef A_long AEGP_KeyInterpolationMask;

typedef A_short AEGP_LTimeMode;

enum { AEGP_LTimeMode_LayerTime = 0, AEGP_LTimeMode_CompTime = 1 };

typedef A_char AEGP_LabelID;

typedef A_long AEGP_LayerFlags;

typedef A_short AEGP_LayerQuality;

typedef A_short AEGP_LayerSamplingQuality;

typedef A_long AEGP_LayerStream;

enum {
    AEGP_LayerStream_NONE = -1,
    AEGP_LayerStream_ANCHORPOINT = 0,
    AEGP_LayerStream_POSITION = 1,
    AEGP_LayerStream_SCALE = 2,
    AEGP_LayerStream_ROTATION = 3,
    AEGP_LayerStream_ROTATE_Z = 3,
    AEGP_LayerStream_OPACITY = 4,
    AEGP_LayerStream_AUDIO = 5,
    AEGP_LayerStream_MARKER = 6,
    AEGP_LayerStream_TIME_REMAP = 7,
    AEGP_LayerStream_ROTATE_X = 8,
    AEGP_LayerStream_ROTATE_Y = 9,
    AEGP_LayerStream_ORIENTATION = 10,
    AEGP_LayerStream_ZOOM = 11,
    AEGP_LayerStream_DEPTH_OF_FIELD = 12,
    AEGP_LayerStream_FOCUS_DISTANCE = 13,
    AEGP_LayerStream_APERTURE = 14,
    AEGP_LayerStream_BLUR_LEVEL = 15,
    AEGP_LayerStream_INTENSITY = 16,
    AEGP_LayerStream_COLOR = 17,
    AEGP_LayerStream_CONE_ANGLE = 18,
    AEGP_LayerStream_CONE_FEATHER = 19,
    AEGP_LayerStream_SHADOW_DARKNESS = 20,
    AEGP_LayerStream_SHADOW_DIFFUSION = 21,
    AEGP_LayerStream_ACCEPTS_SHADOWS = 22,
    AEGP_LayerStream_ACCEPTS_LIGHTS = 23,
    AEGP_LayerStream_AMBIENT_COEFF = 24,
    AEGP_LayerStream_DIFFUSE_COEFF = 25,
    AEGP_LayerStream_SPECULAR_INTENSITY = 26,
    AEGP_LayerStream_SPECULAR_SHININESS = 27,
    AEGP_LayerStream_CASTS_SHADOWS = 28,
    AEGP_LayerStream_LIGHT_TRANSMISSION = 29,
    AEGP_LayerStream_METAL = 30,
    AEGP_LayerStream_SOURCE_TEXT = 31,
    AEGP_LayerStream_IRIS_SHAPE = 32,
    AEGP_LayerStream_IRIS_ROTATION = 33,
    AEGP_LayerStream_IRIS_ROUNDNESS = 34,
    AEGP_LayerStream_IRIS_ASPECT_RATIO = 35,
    AEGP_LayerStream_IRIS_DIFFRACTION_FRINGE = 36,
    AEGP_LayerStream_IRIS_HIGHLIGHT_GAIN = 37,
    AEGP_LayerStream_IRIS_HIGHLIGHT_THRESHOLD = 38,
    AEGP_LayerStream_IRIS_HIGHLIGHT_SATURATION = 39,
    AEGP_LayerStream_LIGHT_FALLOFF_TYPE = 40,
    AEGP_LayerStream_LIGHT_FALLOFF_START = 41,
    AEGP_LayerStream_LIGHT_FALLOFF_DISTANCE = 42,
    AEGP_LayerStream_REFLECTION_INTENSITY = 43,
    AEGP_LayerStream_REFLECTION_SHARPNESS = 44,
    AEGP_LayerStream_REFLECTION_ROLLOFF = 45,
    AEGP_LayerStream_TRANSPARENCY_COEFF = 46,
    AEGP_LayerStream_TRANSPARENCY_ROLLOFF = 47,
    AEGP_LayerStream_INDEX_OF_REFRACTION = 48,
    AEGP_LayerStream_EXTRUSION_BEVEL_STYLE = 49,
    AEGP_LayerStream_EXTRUSION_BEVEL_DIRECTION = 50,
    AEGP_LayerStream_EXTRUSION_BEVEL_DEPTH = 51,
    AEGP_LayerStream_EXTRUSION_HOLE_BEVEL_DEPTH = 52,
    AEGP_LayerStream_EXTRUSION_DEPTH = 53,
    AEGP_LayerStream_PLANE_CURVATURE = 54,
    AEGP_LayerStream_PLANE_SUBDIVISION = 55,
    AEGP_LayerStream_LIGHT_BACKGROUND_VISIBLE = 56,
    AEGP_LayerStream_LIGHT_BACKGROUND_OPACITY = 57,
    AEGP_LayerStream_LIGHT_BACKGROUND_BLUR = 58,
    AEGP_LayerStream_SHADOW_COLOR = 59,
    AEGP_LayerStream_NUMTYPES = 60,
    AEGP_LayerStream_BEGIN = 0,
    AEGP_LayerStream_END = 60
};

typedef struct _AEGP_Mask** AEGP_MaskRefH;

typedef A_long AEGP_MaskStream;

typedef A_long AEGP_ObjectType;

enum {
    AEGP_ObjectType_NONE = -1,
    AEGP_ObjectType_AV = 0,
    AEGP_ObjectType_LIGHT = 1,
    AEGP_ObjectType_CAMERA = 2,
    AEGP_ObjectType_TEXT = 3,
    /* shape layers */
    AEGP_ObjectType_VECTOR = 4,
    AEGP_ObjectType_3D_MODEL = 5,
    AEGP_ObjectType_RESERVED1 = 6,
    AEGP_ObjectType_RESERVED2 = 7,
    AEGP_ObjectType_RESERVED3 = 8,
    AEGP_ObjectType_NUM_TYPES = 9
};

typedef A_long AEGP_StreamFlags;

typedef A_long AEGP_StreamGroupingType;

typedef A_long AEGP_StreamType;

enum {
    AEGP_StreamType_NO_DATA = 0,
    AEGP_StreamType_ThreeD_SPATIAL = 1,
    AEGP_StreamType_ThreeD = 2,
    AEGP_StreamType_TwoD_SPATIAL = 3,
    AEGP_StreamType_TwoD = 4,
    AEGP_StreamType_OneD = 5,
    AEGP_StreamType_COLOR = 6,
    AEGP_StreamType_ARB = 7,
    AEGP_StreamType_MARKER = 8,
    AEGP_StreamType_LAYER_ID = 9,
    AEGP_StreamType_MASK_ID = 10,
    AEGP_StreamType_MASK = 11,
    AEGP_StreamType_TEXT_DOCUMENT = 12
};

#ifdef __cplusplus
}
#endif

#include "AE_GeneralPlugOld.h"

#endif
