// SmartFX callbacks: the pre-render's input checkout and the render's input
// and output worlds.
#include <algorithm>

#include "minihost/core/detail/call_context.h"
#include "minihost/core/host.h"
#include "minihost/pixels/rect.h"

namespace minihost::detail {
namespace {

PF_Err checkoutLayer(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_idL, const PF_RenderRequest* req,
                     A_long /*what_time*/, A_long /*time_step*/, A_u_long time_scale,
                     PF_CheckoutResult* checkout_result) {
    return guarded(HostFunction::checkout_layer, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        ctx.checkCommand({PF_Cmd_SMART_PRE_RENDER});
        FrameState* frame = &ctx.requireFrame();
        if (index != 0) {
            ctx.reject("parameter " + std::to_string(index) + " is not a layer (only 0 is)", PF_Err_INVALID_INDEX);
        }
        if (req == nullptr || checkout_result == nullptr || time_scale == 0) {
            ctx.reject("null request or result, or time scale 0", PF_Err_BAD_CALLBACK_PARAM);
        }
        if (frame->checkouts.count(checkout_idL) != 0) {
            ctx.reject("checkout id " + std::to_string(checkout_idL) + " used twice", PF_Err_BAD_CALLBACK_PARAM);
        }
        const PF_Rect rect = intersect(req->rect, frame->layer_bounds);
        frame->checkouts[checkout_idL] = FrameState::Checkout{index, *req, rect};
        PF_CheckoutResult result{};
        result.result_rect = rect;
        result.max_result_rect = frame->layer_bounds;
        result.par = PF_RationalScale{1, 1};
        result.ref_width = frame->layer_bounds.right - frame->layer_bounds.left;
        result.ref_height = frame->layer_bounds.bottom - frame->layer_bounds.top;
        *checkout_result = result;
        if (checkout_idL == 0) {
            frame->first_checkout = result;
        }
        return PF_Err_NONE;
    });
}

PF_Err guidMixIn(PF_ProgPtr effect_ref, A_u_long /*buf_sizeLu*/, const void* /*buf*/) {
    return guarded(HostFunction::GuidMixInPtr, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        return PF_Err_NONE;
    });
}

PF_Err checkoutLayerPixels(PF_ProgPtr effect_ref, A_long checkout_idL, PF_EffectWorld** pixels) {
    return guarded(HostFunction::checkout_layer_pixels, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        ctx.checkCommand({PF_Cmd_SMART_RENDER});
        FrameState* frame = &ctx.requireFrame();
        if (pixels == nullptr) {
            ctx.reject("null output pointer", PF_Err_BAD_CALLBACK_PARAM);
        }
        if (frame->checkouts.count(checkout_idL) == 0) {
            ctx.reject("checkout id " + std::to_string(checkout_idL) + " was not checked out at pre-render",
                       PF_Err_BAD_CALLBACK_PARAM);
        }
        *pixels = frame->input ? frame->input->pf() : nullptr;
        return PF_Err_NONE;
    });
}

PF_Err checkinLayerPixels(PF_ProgPtr effect_ref, A_long checkout_idL) {
    return guarded(
        HostFunction::checkin_layer_pixels,
        [&](CallContext& ctx) -> A_Err {
            ctx.checkRef(effect_ref);
            ctx.checkCommand({PF_Cmd_SMART_RENDER});
            if (ctx.requireFrame().checkouts.count(checkout_idL) == 0) {
                ctx.reject("checkout id " + std::to_string(checkout_idL) + " unknown", PF_Err_BAD_CALLBACK_PARAM);
            }
            return PF_Err_NONE;
        },
        Kind::kGivesBack);
}

PF_Err checkoutOutput(PF_ProgPtr effect_ref, PF_EffectWorld** output) {
    return guarded(HostFunction::checkout_output, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        ctx.checkCommand({PF_Cmd_SMART_RENDER});
        if (output == nullptr) {
            ctx.reject("null output pointer", PF_Err_BAD_CALLBACK_PARAM);
        }
        FrameState& frame = ctx.requireFrame();
        *output = frame.output ? frame.output->pf() : nullptr;
        return PF_Err_NONE;
    });
}

}  // namespace

PF_PreRenderCallbacks preRenderCallbacks() { return PF_PreRenderCallbacks{checkoutLayer, guidMixIn}; }

PF_SmartRenderCallbacks smartRenderCallbacks() {
    return PF_SmartRenderCallbacks{checkoutLayerPixels, checkinLayerPixels, checkoutOutput};
}

}  // namespace minihost::detail
