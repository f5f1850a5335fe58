// The parameters an effect declared, and the value of each over time.
//
// Index 0 is the effect's input layer; the host adds it before
// PF_Cmd_PARAMS_SETUP. add_param appends the effect's declarations after it,
// in call order. The host keeps its own copy of every declaration: the name,
// popup choice text and checkbox label are copied into host storage and the
// copy's pointers point there.
//
// Values are stored as given (no clamping to the valid range), so tests can
// hand the effect values the panel would refuse. Sliders interpolate linearly
// between keyframes; popups and checkboxes hold. Reading is safe from several
// threads at once; changing values while frames render is not.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AE_Effect.h"
#include "minihost/animated.h"

namespace minihost {

class Params {
public:
    Params();

    /// Parameters known, the input layer included.
    int count() const { return static_cast<int>(entries_.size()); }
    /// The declaration as the host keeps it (value field: the declared one).
    /// Throws std::out_of_range for an unknown index.
    const PF_ParamDef& definition(int index) const;
    /// The declared popup choice text ("A|B|C"), checkbox label.
    std::string choices(int index) const;
    std::string checkboxLabel(int index) const;
    /// Index of the parameter with this disk ID, or -1.
    int indexOfDiskId(A_long disk_id) const;

    /// Sets a constant value (popups: the 1-based choice; checkboxes 0/1).
    /// Throws std::out_of_range for index 0 or an unknown index,
    /// std::invalid_argument for a parameter without a value (groups).
    void setValue(int index, double value);
    /// Animates the value; throws as setValue does, and
    /// std::invalid_argument for a parameter declared
    /// PF_ParamFlag_CANNOT_TIME_VARY or a bad keyframe list.
    void setKeyframes(int index, std::vector<Keyframe> keys);
    /// The value at a time in seconds of layer time.
    double valueAt(int index, double seconds) const;
    /// The definition with its value at that time, as checkout_param hands
    /// it out.
    PF_ParamDef definitionAt(int index, double seconds) const;

    // Host side.
    /// Forgets every declaration but the input layer.
    void reset();
    /// Appends a copy of def; answers what is wrong with it ("" if nothing).
    std::string append(const PF_ParamDef& def);

private:
    struct Entry {
        PF_ParamDef def{};
        std::string text;  // choice text or checkbox label
        Animated value;
    };
    Entry& valueEntry(int index);
    const Entry& entry(int index) const;

    // Entries keep their addresses, so the copies' text pointers stay valid.
    std::vector<std::unique_ptr<Entry>> entries_;
};

/// True for parameter types that carry a value.
bool hasValue(PF_ParamType type);

}  // namespace minihost
