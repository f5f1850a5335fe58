#include "render/param_checkout.h"

ParamCheckout::ParamCheckout(const PF_InData& in_data) : in_data_(in_data) {
    for (PF_ParamIndex i = 0; i < PARAM_NUM_PARAMS; ++i) {
        pointers_[i] = &defs_[i];
    }
}

ParamCheckout::~ParamCheckout() { (void)checkinAll(); }

PF_Err ParamCheckout::checkoutAll() {
    PF_Err err = PF_Err_NONE;
    for (PF_ParamIndex i = checked_out_end_; i < PARAM_NUM_PARAMS && err == PF_Err_NONE; ++i) {
        err = in_data_.inter.checkout_param(in_data_.effect_ref, i, in_data_.current_time, in_data_.time_step,
                                            in_data_.time_scale, &defs_[i]);
        if (err == PF_Err_NONE) {
            checked_out_end_ = i + 1;
        }
    }
    return err;
}

PF_Err ParamCheckout::checkinAll() {
    PF_Err first = PF_Err_NONE;
    for (PF_ParamIndex i = PARAM_INPUT + 1; i < checked_out_end_; ++i) {
        const PF_Err err = in_data_.inter.checkin_param(in_data_.effect_ref, &defs_[i]);
        if (first == PF_Err_NONE) {
            first = err;
        }
    }
    checked_out_end_ = PARAM_INPUT + 1;
    return first;
}
