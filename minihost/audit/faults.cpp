#include "minihost/audit/faults.h"

#include <stdexcept>

namespace minihost {

void Faults::arm(const std::string& function, int n, A_Err err) {
    const std::optional<HostFunction> f = hostFunctionNamed(function);
    if (!f) {
        throw std::invalid_argument("no host function is named \"" + function + "\"");
    }
    std::lock_guard lock(mutex_);
    const int at_count = n == 0 ? 0 : counts_[indexOf(*f)].load() + n;
    armed_.push_back({*f, at_count, err});
    any_armed_ = true;
}

void Faults::failNth(const std::string& function, int n, A_Err err) {
    if (n < 1) {
        throw std::invalid_argument("failNth: n counts from 1");
    }
    arm(function, n, err);
}

void Faults::failAlways(const std::string& function, A_Err err) { arm(function, 0, err); }

void Faults::missingSuite(const std::string& name, A_long version, bool leave_pointer) {
    std::lock_guard lock(mutex_);
    missing_.push_back({name, version, leave_pointer});
    any_missing_ = true;
}

int Faults::callCount(const std::string& function) const {
    const std::optional<HostFunction> f = hostFunctionNamed(function);
    return f ? counts_[indexOf(*f)].load() : 0;
}

std::map<std::string, int> Faults::callCounts() const {
    std::map<std::string, int> counts;
    for (std::size_t i = 0; i < kHostFunctionCount; ++i) {
        const int n = counts_[i].load();
        if (n != 0) {
            counts[nameOf(static_cast<HostFunction>(i))] = n;
        }
    }
    return counts;
}

int Faults::fired() const {
    std::lock_guard lock(mutex_);
    return fired_;
}

void Faults::reset() {
    std::lock_guard lock(mutex_);
    for (std::atomic<int>& count : counts_) {
        count = 0;
    }
    armed_.clear();
    missing_.clear();
    any_armed_ = false;
    any_missing_ = false;
    fired_ = 0;
}

A_Err Faults::onCall(HostFunction function) {
    const int count = counts_[indexOf(function)].fetch_add(1) + 1;
    if (!any_armed_.load()) {
        return A_Err_NONE;
    }
    std::lock_guard lock(mutex_);
    for (auto it = armed_.begin(); it != armed_.end(); ++it) {
        if (it->function != function) {
            continue;
        }
        if (it->at_count == 0) {
            ++fired_;
            return it->err;
        }
        if (it->at_count == count) {
            const A_Err err = it->err;
            armed_.erase(it);
            ++fired_;
            return err;
        }
    }
    return A_Err_NONE;
}

bool Faults::suiteMissing(const char* name, A_long version, bool* leave_pointer) const {
    if (!any_missing_.load()) {
        return false;
    }
    std::lock_guard lock(mutex_);
    for (const Missing& m : missing_) {
        if (m.name == name && m.version == version) {
            *leave_pointer = m.leave_pointer;
            return true;
        }
    }
    return false;
}

}  // namespace minihost
