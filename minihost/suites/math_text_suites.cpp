// "AEGP Math Suite" 1 and "AEGP Text Layer Suite" 1: matrix decomposition
// and the text layer's outline sets.
#include "AE_GeneralPlug.h"
#include "minihost/call_context.h"
#include "minihost/host.h"
#include "minihost/matrix4.h"
#include "minihost/suites/suite_tables.h"

namespace minihost::detail {
namespace {

A_Err MatrixDecompose4(const A_Matrix4* matrixP, A_FloatPoint3* posP, A_FloatPoint3* scaleP, A_FloatPoint3* shearP,
                       A_FloatPoint3* rotP) {
    return guarded("AEGP_MatrixDecompose4", [&](CallContext& ctx) -> A_Err {
        if (matrixP == nullptr || posP == nullptr || scaleP == nullptr || shearP == nullptr || rotP == nullptr) {
            ctx.reject("AEGP_MatrixDecompose4", "null matrix or output pointer", A_Err_PARAMETER);
        }
        return decomposeMatrix4(*matrixP, posP, scaleP, shearP, rotP);
    });
}

OutlineSetObject& setOf(CallContext& ctx, AEGP_TextOutlinesH outlinesH, const char* fn) {
    OutlineSetObject* set = ctx.liveOutlineSet(outlinesH);
    if (set == nullptr) {
        ctx.reject(fn, "outline set not live (never obtained, or disposed of already)", A_Err_PARAMETER);
    }
    return *set;
}

A_Err GetNewTextOutlines(AEGP_LayerH layerH, const A_Time* layer_time, AEGP_TextOutlinesH* outlinesPH) {
    return guarded("AEGP_GetNewTextOutlines", [&](CallContext& ctx) -> A_Err {
        const char* fn = "AEGP_GetNewTextOutlines";
        ctx.checkLayer(layerH, fn);
        if (layer_time == nullptr || layer_time->scale == 0 || outlinesPH == nullptr) {
            ctx.reject(fn, "null time, time with scale 0, or null output pointer", A_Err_PARAMETER);
        }
        const Layer& layer = ctx.host().layer();
        if (layer.objectType() != AEGP_ObjectType_TEXT) {
            ctx.reject(fn, "the layer is not a text layer", A_Err_PARAMETER);
        }
        const double seconds = static_cast<double>(layer_time->value) / static_cast<double>(layer_time->scale);
        *outlinesPH = ctx.newOutlineSet(layer.worldGlyphsAt(seconds));
        return A_Err_NONE;
    });
}

A_Err DisposeTextOutlines(AEGP_TextOutlinesH outlinesH) {
    return guarded("AEGP_DisposeTextOutlines", [&](CallContext& ctx) -> A_Err {
        if (!ctx.disposeOutlineSet(outlinesH)) {
            ctx.reject("AEGP_DisposeTextOutlines", "outline set not live (never obtained, or disposed of already)",
                       A_Err_PARAMETER);
        }
        return A_Err_NONE;
    }, Kind::kGivesBack);
}

A_Err GetNumTextOutlines(AEGP_TextOutlinesH outlinesH, A_long* num_outlinesPL) {
    return guarded("AEGP_GetNumTextOutlines", [&](CallContext& ctx) -> A_Err {
        const OutlineSetObject& set = setOf(ctx, outlinesH, "AEGP_GetNumTextOutlines");
        if (num_outlinesPL == nullptr) {
            ctx.reject("AEGP_GetNumTextOutlines", "null output pointer", A_Err_PARAMETER);
        }
        *num_outlinesPL = static_cast<A_long>(set.outlines.size());
        return A_Err_NONE;
    });
}

A_Err GetIndexedTextOutline(AEGP_TextOutlinesH outlinesH, A_long path_index, PF_PathOutlinePtr* pathPP) {
    return guarded("AEGP_GetIndexedTextOutline", [&](CallContext& ctx) -> A_Err {
        const char* fn = "AEGP_GetIndexedTextOutline";
        OutlineSetObject& set = setOf(ctx, outlinesH, fn);
        if (path_index < 0 || static_cast<std::size_t>(path_index) >= set.outlines.size()) {
            ctx.reject(fn, "outline " + std::to_string(path_index) + " out of range", A_Err_PARAMETER);
        }
        if (pathPP == nullptr) {
            ctx.reject(fn, "null output pointer", A_Err_PARAMETER);
        }
        *pathPP = reinterpret_cast<PF_PathOutlinePtr>(&set.outlines[static_cast<std::size_t>(path_index)]);
        return A_Err_NONE;
    });
}

AEGP_MathSuite1 makeMathSuite() {
    AEGP_MathSuite1 s{};
    s.AEGP_MatrixDecompose4 = MatrixDecompose4;
    return s;
}

const AEGP_MathSuite1 kMath = makeMathSuite();
const AEGP_TextLayerSuite1 kText = {GetNewTextOutlines, DisposeTextOutlines, GetNumTextOutlines,
                                    GetIndexedTextOutline};

}  // namespace

const void* mathSuite1() { return &kMath; }
const void* textLayerSuite1() { return &kText; }

}  // namespace minihost::detail
