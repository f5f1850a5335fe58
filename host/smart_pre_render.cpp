#include "host/handlers.h"
#include "host/input_checkout.h"
#include "host/union_lrect.h"
#include "params/param_index.h"

PF_Err SmartPreRender(PF_InData* in_data, PF_PreRenderExtra* extra) {
    // The effect needs its input exactly where the host asks for output, and
    // its result covers exactly that area: the extent follows the request,
    // never a parameter, so nothing else is computed here.
    PF_RenderRequest request = extra->input->output_request;
    PF_CheckoutResult checkout_result{};
    const PF_Err err =
        extra->cb->checkout_layer(in_data->effect_ref, PARAM_INPUT, kInputCheckoutId, &request, in_data->current_time,
                                  in_data->time_step, in_data->time_scale, &checkout_result);

    // Written whatever the checkout answered, so the host always gets a
    // well-formed answer alongside the error.
    PF_PreRenderOutput& output = *extra->output;
    UnionLRect(request.rect, output.result_rect);
    UnionLRect(request.rect, output.max_result_rect);
    output.flags = PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS;
    return err;
}
