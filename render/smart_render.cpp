#include "AE_EffectCB.h"
#include "host/handlers.h"
#include "host/input_checkout.h"
#include "host/suite_handler.h"
#include "render/param_checkout.h"
#include "render/render_characters.h"

PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra) {
    // Ends the command with PF_Err_BAD_CALLBACK_PARAM before any checkout
    // when the host gave no suite access.
    const AEGP_SuiteHandler suites(in_data->pica_basicP);

    PF_EffectWorld* input = nullptr;
    PF_EffectWorld* output = nullptr;
    PF_Err status = extra->cb->checkout_layer_pixels(in_data->effect_ref, kInputCheckoutId, &input);
    if (status == PF_Err_NONE) {
        status = extra->cb->checkout_output(in_data->effect_ref, &output);
    }

    // Checks in whatever was checked out on every path, also when the
    // render throws.
    ParamCheckout params(*in_data);
    if (status == PF_Err_NONE) {
        status = params.checkoutAll();
    }

    if (input != nullptr) {
        if (output != nullptr && status == PF_Err_NONE) {
            status = RenderCharacters(in_data, out_data, params.defs(), input, output);
        }
    } else if (output != nullptr) {
        // No input to move: the frame is transparent.
        (void)in_data->utils->fill(in_data->effect_ref, nullptr, nullptr, output);
    }

    const PF_Err checkin = params.checkinAll();
    if (status == PF_Err_NONE) {
        status = checkin;
    }
    return status;
}
