// The parameters of one smart render, checked out at the frame's time and
// checked in again on every path.
#pragma once

#include "AE_Effect.h"
#include "params/param_index.h"

class ParamCheckout {
public:
    explicit ParamCheckout(const PF_InData& in_data);
    // Checks in whatever is still out; results are lost, so the normal path
    // calls checkinAll() itself.
    ~ParamCheckout();

    ParamCheckout(const ParamCheckout&) = delete;
    ParamCheckout& operator=(const ParamCheckout&) = delete;

    // Checks out every parameter after the input layer in ascending order at
    // current_time, time_step and time_scale; stops at the first failure and
    // answers it.
    PF_Err checkoutAll();
    // Checks in, in ascending order, every definition checked out; answers
    // the first failure, but checks them all in.
    PF_Err checkinAll();

    // Definitions indexed by ParamIndex; index 0 stays zeroed.
    PF_ParamDef** defs() { return pointers_; }

private:
    const PF_InData& in_data_;
    PF_ParamDef defs_[PARAM_NUM_PARAMS]{};
    PF_ParamDef* pointers_[PARAM_NUM_PARAMS];
    PF_ParamIndex checked_out_end_ = PARAM_INPUT + 1;  // one past the last checked out
};
