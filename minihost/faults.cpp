#include "minihost/faults.h"

#include <stdexcept>

namespace minihost {

void Faults::failNth(const std::string& function, int n, A_Err err) {
    if (n < 1) {
        throw std::invalid_argument("failNth: n counts from 1");
    }
    std::lock_guard lock(mutex_);
    armed_.push_back({function, counts_[function] + n, err});
}

void Faults::failAlways(const std::string& function, A_Err err) {
    std::lock_guard lock(mutex_);
    armed_.push_back({function, 0, err});
}

void Faults::missingSuite(const std::string& name, A_long version, bool leave_pointer) {
    std::lock_guard lock(mutex_);
    missing_.push_back({name, version, leave_pointer});
}

int Faults::callCount(const std::string& function) const {
    std::lock_guard lock(mutex_);
    const auto it = counts_.find(function);
    return it == counts_.end() ? 0 : it->second;
}

std::map<std::string, int> Faults::callCounts() const {
    std::lock_guard lock(mutex_);
    return counts_;
}

int Faults::fired() const {
    std::lock_guard lock(mutex_);
    return fired_;
}

void Faults::reset() {
    std::lock_guard lock(mutex_);
    counts_.clear();
    armed_.clear();
    missing_.clear();
    fired_ = 0;
}

A_Err Faults::onCall(const char* function) {
    std::lock_guard lock(mutex_);
    const int count = ++counts_[function];
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
