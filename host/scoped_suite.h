// One suite acquired for one scope, with a failure the user is told about.
//
// On failure the host is asked to show "Not able to acquire AEFX Suite."
// (PF_OutFlag_DISPLAY_ERROR_MESSAGE is added to out_flags first, then the
// message is written with the utility sprintf) and the int A_Err_MISSING_SUITE
// is thrown. The suite is released when the scope ends, however it ends.
#pragma once

#include "AE_EffectCB.h"
#include "SP/SPBasic.h"
#include "SP/SPErrorCodes.h"

class ScopedSuite {
public:
    ScopedSuite(const char* name, A_long version, const PF_InData* in_data, PF_OutData* out_data);
    ~ScopedSuite();

    ScopedSuite(const ScopedSuite&) = delete;
    ScopedSuite& operator=(const ScopedSuite&) = delete;

    const void* get() const { return suite_; }
    template <typename Suite>
    const Suite* as() const {
        return static_cast<const Suite*>(suite_);
    }

private:
    const char* name_;
    A_long version_;
    const SPBasicSuite* pica_basicP_;
    const void* suite_ = nullptr;
};
