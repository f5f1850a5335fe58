// "PF Path Data Suite" 1: reading the outlines of a text outline set.
#include "AE_EffectSuites.h"
#include "minihost/core/detail/call_context.h"
#include "minihost/suites/detail/suite_tables.h"

namespace minihost::detail {
namespace {

OutlineObject& outlineOf(CallContext& ctx, PF_PathOutlinePtr pathP) {
    OutlineObject* o = ctx.liveOutline(pathP);
    if (o == nullptr) {
        ctx.reject("outline not borrowed from a live text outline set", PF_Err_BAD_CALLBACK_PARAM);
    }
    return *o;
}

PF_Err pathIsOpen(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP, PF_Boolean* openPB) {
    return guarded(HostFunction::PF_PathIsOpen, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        (void)outlineOf(ctx, pathP);
        if (openPB == nullptr) {
            ctx.reject("null output pointer", PF_Err_BAD_CALLBACK_PARAM);
        }
        *openPB = 0;  // glyph outlines are closed
        return PF_Err_NONE;
    });
}

PF_Err pathNumSegments(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP, A_long* num_segmentsPL) {
    return guarded(HostFunction::PF_PathNumSegments, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        const OutlineObject& o = outlineOf(ctx, pathP);
        if (num_segmentsPL == nullptr) {
            ctx.reject("null output pointer", PF_Err_BAD_CALLBACK_PARAM);
        }
        *num_segmentsPL = static_cast<A_long>(o.vertices.size());
        return PF_Err_NONE;
    });
}

PF_Err pathVertexInfo(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP, A_long which_pointL, PF_PathVertex* vertexP) {
    return guarded(HostFunction::PF_PathVertexInfo, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        const OutlineObject& o = outlineOf(ctx, pathP);
        if (which_pointL < 0 || static_cast<std::size_t>(which_pointL) >= o.vertices.size()) {
            ctx.reject("vertex " + std::to_string(which_pointL) + " out of range", PF_Err_BAD_CALLBACK_PARAM);
        }
        if (vertexP == nullptr) {
            ctx.reject("null output pointer", PF_Err_BAD_CALLBACK_PARAM);
        }
        *vertexP = o.vertices[static_cast<std::size_t>(which_pointL)];
        return PF_Err_NONE;
    });
}

const PF_PathDataSuite1 kSuite = {pathIsOpen, pathNumSegments, pathVertexInfo, nullptr, nullptr, nullptr,
                                  nullptr,    nullptr,         nullptr,        nullptr, nullptr};

}  // namespace

const void* pathDataSuite1() { return &kSuite; }

}  // namespace minihost::detail
