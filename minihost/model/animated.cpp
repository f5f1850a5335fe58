#include "minihost/model/animated.h"

#include <algorithm>
#include <stdexcept>

namespace minihost {

void Animated::set(double constant) {
    constant_ = constant;
    keys_.clear();
}

void Animated::setKeyframes(std::vector<Keyframe> keys, Interpolation interpolation) {
    if (keys.empty()) {
        throw std::invalid_argument("keyframes: empty list");
    }
    std::sort(keys.begin(), keys.end(), [](const Keyframe& a, const Keyframe& b) { return a.seconds < b.seconds; });
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (keys[i].seconds == keys[i - 1].seconds) {
            throw std::invalid_argument("keyframes: two keyframes at the same time");
        }
    }
    keys_ = std::move(keys);
    interpolation_ = interpolation;
}

double Animated::at(double seconds) const {
    if (keys_.empty()) {
        return constant_;
    }
    if (seconds <= keys_.front().seconds) {
        return keys_.front().value;
    }
    if (seconds >= keys_.back().seconds) {
        return keys_.back().value;
    }
    // First keyframe strictly after the time; the one before it is at or before.
    const auto next = std::upper_bound(keys_.begin(), keys_.end(), seconds,
                                       [](double t, const Keyframe& k) { return t < k.seconds; });
    const Keyframe& b = *next;
    const Keyframe& a = *(next - 1);
    if (interpolation_ == Interpolation::kHold) {
        return a.value;
    }
    const double f = (seconds - a.seconds) / (b.seconds - a.seconds);
    return a.value + (b.value - a.value) * f;
}

}  // namespace minihost
