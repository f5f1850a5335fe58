// PF_UtilCallbacks: the pixel operations, through the pixels library, on
// worlds the host handed out in this call.
#include "minihost/core/detail/call_context.h"
#include "minihost/pixels/world_ops.h"
#include "minihost/suites/detail/suite_tables.h"

namespace minihost::detail {
namespace {

void requireKnown(CallContext& ctx, const PF_EffectWorld* world, const char* role) {
    if (world == nullptr) {
        ctx.reject(std::string("null ") + role + " world", PF_Err_BAD_CALLBACK_PARAM);
    }
    if (!ctx.knownWorld(world)) {
        ctx.reject(std::string(role) + " world not handed out by the host in this call", PF_Err_BAD_CALLBACK_PARAM);
    }
}

PF_Err answer(CallContext& ctx, PF_Err err) {
    if (err == PF_Err_BAD_CALLBACK_PARAM) {
        ctx.violationInCall("arguments rejected (sizes, rectangles, formats or modes)");
    }
    return err;
}

PF_Err copyCallback(PF_ProgPtr effect_ref, PF_EffectWorld* src, PF_EffectWorld* dst, PF_Rect* src_r, PF_Rect* dst_r) {
    return guarded(HostFunction::copy, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        requireKnown(ctx, src, "source");
        requireKnown(ctx, dst, "destination");
        return answer(ctx, copyWorld(src, dst, src_r, dst_r));
    });
}

PF_Err fillCallback(PF_ProgPtr effect_ref, const PF_Pixel* color, const PF_Rect* dst_rect, PF_EffectWorld* world) {
    return guarded(HostFunction::fill, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        requireKnown(ctx, world, "destination");
        return answer(ctx, fillWorld(color, dst_rect, world));
    });
}

PF_Err transformCallback(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                         const PF_EffectWorld* src_world, const PF_CompositeMode* comp_mode,
                         const PF_MaskWorld* mask_world0, const PF_FloatMatrix* matrices, A_long num_matrices,
                         PF_Boolean src2dst_matrix, const PF_Rect* dest_rect, PF_EffectWorld* dst_world) {
    return guarded(HostFunction::transform_world, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        requireKnown(ctx, src_world, "source");
        requireKnown(ctx, dst_world, "destination");
        return answer(ctx, transformWorld(quality, m_flags, field, src_world, comp_mode, mask_world0, matrices,
                                          num_matrices, src2dst_matrix, dest_rect, dst_world));
    });
}

}  // namespace

void fillUtilCallbacks(PF_UtilCallbacks& utils) {
    utils = PF_UtilCallbacks{};
    utils.copy = copyCallback;
    utils.fill = fillCallback;
    utils.transform_world = transformCallback;
    utils.ansi = ansiCallbacks();
}

}  // namespace minihost::detail
