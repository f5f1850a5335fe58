// Fault injection: make a host function fail on purpose, make a suite
// missing, and count the calls of every host function.
//
// Functions are named as the SDK spells them (host_function.h): suite
// functions ("PF_NewWorld", "AEGP_GetLayerObjectType", ...), callbacks
// ("add_param", "checkout_param", "checkin_param", "checkout_layer",
// "checkout_layer_pixels", "checkin_layer_pixels", "checkout_output",
// "fill", "copy", "transform_world", "abort", "progress") and the basic suite
// ("AcquireSuite", "ReleaseSuite"). The ANSI "sprintf" and "strcpy" are
// counted but cannot fail: they have no error to answer.
//
// Thread-safe; shared by every frame of one Host. A call takes no lock
// while nothing is armed and no suite is missing.
#pragma once

#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "A.h"
#include "minihost/core/host_function.h"

namespace minihost {

class Faults {
public:
    /// The n-th call (n >= 1) of function counted from now answers err
    /// instead of doing its work. Several can be armed at once. Throws
    /// std::invalid_argument for a name the host does not offer.
    void failNth(const std::string& function, int n, A_Err err);
    /// Every call of function from now on answers err; throws as failNth.
    void failAlways(const std::string& function, A_Err err);
    /// AcquireSuite answers an error for this suite and version. With
    /// leave_pointer the real table is still written to the output pointer
    /// (a host that reports an error but hands back a pointer anyway).
    void missingSuite(const std::string& name, A_long version, bool leave_pointer = false);

    /// Calls of function since the host was made or reset() was called,
    /// including calls that failed on purpose (0 for an unknown name).
    int callCount(const std::string& function) const;
    /// Every function called at least once, with its count.
    std::map<std::string, int> callCounts() const;
    /// How many armed faults have fired.
    int fired() const;

    /// Disarms everything and sets every count to 0.
    void reset();

    // Host side: counts the call and answers the injected error, or 0.
    A_Err onCall(HostFunction function);
    /// True when the suite is to be missing; *leave_pointer tells how.
    bool suiteMissing(const char* name, A_long version, bool* leave_pointer) const;

private:
    struct Armed {
        HostFunction function;
        int at_count;  // fires when the count reaches this; 0 = every call
        A_Err err;
    };
    struct Missing {
        std::string name;
        A_long version;
        bool leave_pointer;
    };
    void arm(const std::string& function, int n, A_Err err);

    std::array<std::atomic<int>, kHostFunctionCount> counts_{};
    // Whether armed_ and missing_ hold anything, read without the lock.
    std::atomic<bool> any_armed_{false};
    std::atomic<bool> any_missing_{false};
    mutable std::mutex mutex_;  // guards armed_, missing_, fired_
    std::vector<Armed> armed_;
    std::vector<Missing> missing_;
    int fired_ = 0;
};

}  // namespace minihost
