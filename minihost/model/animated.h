// A value that may change over time: a constant, or keyframes interpolated
// linearly (sliders, positions, scales) or held (popups, checkboxes).
// Times are seconds of layer time.
#pragma once

#include <vector>

namespace minihost {

struct Keyframe {
    double seconds;
    double value;
};

enum class Interpolation { kLinear, kHold };

class Animated {
public:
    Animated() = default;
    explicit Animated(double constant) : constant_(constant) {}

    /// Drops any keyframes.
    void set(double constant);
    /// Keyframes in any order; sorted here. Throws std::invalid_argument for
    /// an empty list or two keyframes at the same time.
    void setKeyframes(std::vector<Keyframe> keys, Interpolation interpolation);

    /// Before the first keyframe the first value, after the last the last;
    /// between two keyframes linear or held (the earlier value) as set.
    double at(double seconds) const;
    bool animated() const { return !keys_.empty(); }

private:
    double constant_ = 0.0;
    std::vector<Keyframe> keys_;
    Interpolation interpolation_ = Interpolation::kLinear;
};

}  // namespace minihost
