#include "host/scoped_suite.h"

namespace {
constexpr const char kMissingSuiteMessage[] = "Not able to acquire AEFX Suite.";
}

ScopedSuite::ScopedSuite(const char* name, A_long version, const PF_InData* in_data, PF_OutData* out_data)
    : name_(name), version_(version), pica_basicP_(in_data->pica_basicP) {
    SPErr err = 1;
    if (pica_basicP_ != nullptr) {
        err = pica_basicP_->AcquireSuite(name_, version_, &suite_);
    }
    if (err != kSPNoError || suite_ == nullptr) {
        // Nothing was acquired, so the destructor must not release.
        suite_ = nullptr;
        pica_basicP_ = nullptr;
        if (out_data != nullptr) {
            out_data->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
            in_data->utils->ansi.sprintf(out_data->return_msg, kMissingSuiteMessage);
        }
        throw static_cast<int>(A_Err_MISSING_SUITE);
    }
}

ScopedSuite::~ScopedSuite() {
    if (pica_basicP_ != nullptr) {
        (void)pica_basicP_->ReleaseSuite(name_, version_);
    }
}
