// "AEGP Math Suite" 1 and "AEGP Text Layer Suite" 1: matrix decomposition
// and the text layer's outline sets.
#include "AE_GeneralPlug.h"
#include "minihost/core/detail/call_context.h"
#include "minihost/core/host.h"
#include "minihost/model/matrix4.h"
#include "minihost/suites/detail/suite_tables.h"

namespace minihost::detail {
namespace {

A_Err matrixDecompose4(const A_Matrix4* matrixP, A_FloatPoint3* posP, A_FloatPoint3* scaleP, A_FloatPoint3* shearP,
                       A_FloatPoint3* rotP) {
    return guarded(HostFunction::AEGP_MatrixDecompose4, [&](CallContext& ctx) -> A_Err {
        if (matrixP == nullptr || posP == nullptr || scaleP == nullptr || shearP == nullptr || rotP == nullptr) {
            ctx.reject("null matrix or output pointer", A_Err_PARAMETER);
        }
        return decomposeMatrix4(*matrixP, posP, scaleP, shearP, rotP);
    });
}

OutlineSetObject& setOf(CallContext& ctx, AEGP_TextOutlinesH outlinesH) {
    OutlineSetObject* set = ctx.liveOutlineSet(outlinesH);
    if (set == nullptr) {
        ctx.reject("outline set not live (never obtained, or disposed of already)", A_Err_PARAMETER);
    }
    return *set;
}

A_Err getNewTextOutlines(AEGP_LayerH layerH, const A_Time* layer_time, AEGP_TextOutlinesH* outlinesPH) {
    return guarded(HostFunction::AEGP_GetNewTextOutlines, [&](CallContext& ctx) -> A_Err {
        ctx.checkLayer(layerH);
        if (layer_time == nullptr || layer_time->scale == 0 || outlinesPH == nullptr) {
            ctx.reject("null time, time with scale 0, or null output pointer", A_Err_PARAMETER);
        }
        const Layer& layer = ctx.host().layer();
        if (layer.objectType() != AEGP_ObjectType_TEXT) {
            ctx.reject("the layer is not a text layer", A_Err_PARAMETER);
        }
        const double seconds = static_cast<double>(layer_time->value) / static_cast<double>(layer_time->scale);
        *outlinesPH = ctx.newOutlineSet(layer.worldGlyphsAt(seconds));
        return A_Err_NONE;
    });
}

A_Err disposeTextOutlines(AEGP_TextOutlinesH outlinesH) {
    return guarded(
        HostFunction::AEGP_DisposeTextOutlines,
        [&](CallContext& ctx) -> A_Err {
            if (!ctx.disposeOutlineSet(outlinesH)) {
                ctx.reject("outline set not live (never obtained, or disposed of already)", A_Err_PARAMETER);
            }
            return A_Err_NONE;
        },
        Kind::kGivesBack);
}

A_Err getNumTextOutlines(AEGP_TextOutlinesH outlinesH, A_long* num_outlinesPL) {
    return guarded(HostFunction::AEGP_GetNumTextOutlines, [&](CallContext& ctx) -> A_Err {
        const OutlineSetObject& set = setOf(ctx, outlinesH);
        if (num_outlinesPL == nullptr) {
            ctx.reject("null output pointer", A_Err_PARAMETER);
        }
        *num_outlinesPL = static_cast<A_long>(set.outlines.size());
        return A_Err_NONE;
    });
}

A_Err getIndexedTextOutline(AEGP_TextOutlinesH outlinesH, A_long path_index, PF_PathOutlinePtr* pathPP) {
    return guarded(HostFunction::AEGP_GetIndexedTextOutline, [&](CallContext& ctx) -> A_Err {
        OutlineSetObject& set = setOf(ctx, outlinesH);
        if (path_index < 0 || static_cast<std::size_t>(path_index) >= set.outlines.size()) {
            ctx.reject("outline " + std::to_string(path_index) + " out of range", A_Err_PARAMETER);
        }
        if (pathPP == nullptr) {
            ctx.reject("null output pointer", A_Err_PARAMETER);
        }
        *pathPP = reinterpret_cast<PF_PathOutlinePtr>(&set.outlines[static_cast<std::size_t>(path_index)]);
        return A_Err_NONE;
    });
}

AEGP_MathSuite1 makeMathSuite() {
    AEGP_MathSuite1 s{};
    s.AEGP_MatrixDecompose4 = matrixDecompose4;
    return s;
}

const AEGP_MathSuite1 kMath = makeMathSuite();
const AEGP_TextLayerSuite1 kText = {getNewTextOutlines, disposeTextOutlines, getNumTextOutlines, getIndexedTextOutline};

}  // namespace

const void* mathSuite1() { return &kMath; }
const void* textLayerSuite1() { return &kText; }

}  // namespace minihost::detail
